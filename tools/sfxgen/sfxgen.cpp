// sfxgen: synthesises the game's sound effects, intro jingle and music loop
// from code, so that every sound we ship is our own. Writes 16-bit signed mono
// WAV files at 44 100 Hz into the folder given:
//   sfxgen OUTDIR      -> OUTDIR/00.wav … 10.wav, intro.wav, muza.wav
// (muza.wav is encoded to muza.mp3 by tools/scripts/make-sounds.sh.)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kTau = 2 * std::numbers::pi;

using Track = std::vector<double>;

Track Silence(double seconds) { return Track(static_cast<std::size_t>(seconds * kRate), 0.0); }

double TimeOf(std::size_t i) { return static_cast<double>(i) / kRate; }

// Adds `sound` into `track` at `at` seconds, growing the track as needed.
void Mix(Track& track, const Track& sound, double at, double gain = 1.0) {
    const auto start = static_cast<std::size_t>(at * kRate);
    if (track.size() < start + sound.size()) track.resize(start + sound.size(), 0.0);
    for (std::size_t i = 0; i < sound.size(); ++i) track[start + i] += gain * sound[i];
}

// Exponential decay envelope with a short attack, which avoids clicks.
double Envelope(double t, double attack, double decay) {
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-t / decay);
}

double Frequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

// A struck bell: inharmonic partials that fade at different rates.
Track Bell(double frequency, double seconds, double brightness = 1.0) {
    Track out = Silence(seconds);
    const double partials[][3] = {{1.0, 1.0, 1.0}, {2.76, 0.5, 0.45}, {5.40, 0.25, 0.25}, {8.93, 0.12, 0.15}};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        double v = 0;
        for (const auto& p : partials)
            v += p[1] * std::pow(brightness, p[0] - 1) * std::sin(kTau * frequency * p[0] * t) *
                 Envelope(t, 0.002, seconds * p[2] * 0.5);
        out[i] = v;
    }
    return out;
}

// A soft plucked/marimba-like note for melodies.
Track Pluck(double frequency, double seconds) {
    Track out = Silence(seconds);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        out[i] = (std::sin(kTau * frequency * t) + 0.3 * std::sin(kTau * 2 * frequency * t) +
                  0.1 * std::sin(kTau * 3 * frequency * t)) *
                 Envelope(t, 0.004, seconds * 0.35);
    }
    return out;
}

// Noise through a one-pole low-pass whose cutoff follows `cutoff(t)` (Hz).
Track FilteredNoise(double seconds, const std::function<double(double)>& cutoff,
                    const std::function<double(double)>& amplitude, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> white(-1, 1);
    Track out = Silence(seconds);
    double state = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        const double a = 1 - std::exp(-kTau * cutoff(t) / kRate);
        state += a * (white(random) - state);
        out[i] = state * amplitude(t);
    }
    return out;
}

// A sine whose pitch glides from `from` to `to` Hz.
Track Glide(double from, double to, double seconds, double decay) {
    Track out = Silence(seconds);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        const double f = from * std::pow(to / from, t / seconds);
        phase += kTau * f / kRate;
        out[i] = std::sin(phase) * Envelope(t, 0.003, decay);
    }
    return out;
}

// Sleigh bells: a cluster of tiny high bells shaken a few times.
Track Jingle(double seconds, int shakes, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> jitter(0, 0.03), pitch(2400, 4200);
    Track out = Silence(seconds);
    for (int s = 0; s < shakes; ++s) {
        const double at = seconds * 0.8 * s / std::max(1, shakes);
        for (int b = 0; b < 5; ++b) Mix(out, Bell(pitch(random), 0.18, 0.6), at + jitter(random), 0.25);
    }
    return out;
}

enum class Ending { FadeOut, Loop };

void Normalise(Track& track, double peak, Ending ending) {
    double top = 1e-9;
    for (double v : track) top = std::max(top, std::fabs(v));
    for (double& v : track) v *= peak / top;
    // Fade the last 5 ms so that no sound ends on a click; a loop runs on
    // into its own start instead.
    if (ending == Ending::Loop) return;
    const std::size_t fade = std::min<std::size_t>(track.size(), kRate / 200);
    for (std::size_t i = 0; i < fade; ++i) track[track.size() - 1 - i] *= static_cast<double>(i) / static_cast<double>(fade);
}

void Put16(std::ofstream& out, std::uint16_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
    out.write(b, 2);
}

void Put32(std::ofstream& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}

bool WriteWav(const std::string& path, Track track, double peak = 0.8, Ending ending = Ending::FadeOut) {
    Normalise(track, peak, ending);
    std::ofstream out(path, std::ios::binary);
    const auto bytes = static_cast<std::uint32_t>(track.size() * 2);
    out.write("RIFF", 4);
    Put32(out, 36 + bytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, bytes);
    for (double v : track) Put16(out, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767))));
    return static_cast<bool>(out);
}

// 0: a blow — a dull thump with a little slap on top.
Track Blow() {
    Track t = Glide(170, 55, 0.22, 0.07);
    Mix(t, FilteredNoise(0.08, [](double) { return 2500.0; }, [](double x) { return Envelope(x, 0.001, 0.015); }, 1), 0, 0.6);
    return t;
}

// 1: a present or a rod handed over — two bright rising notes.
Track HandOver() {
    Track t;
    Mix(t, Bell(Frequency(79), 0.45, 0.7), 0.0);
    Mix(t, Bell(Frequency(84), 0.6, 0.7), 0.09);
    return t;
}

// 2: into or out of the sleigh — a shake of sleigh bells.
Track Sleigh() { return Jingle(0.7, 3, 2); }

// 3: the driver's call while riding fast — a crack of the whip and a bell.
Track Whip() {
    Track t = FilteredNoise(0.12, [](double x) { return 9000.0 - 60000.0 * x; },
                            [](double x) { return Envelope(x, 0.0005, 0.02); }, 3);
    Mix(t, Jingle(0.5, 2, 4), 0.05, 0.7);
    return t;
}

// 4: the team crashes — a crunch of snow and wood.
Track Crash() {
    Track t = FilteredNoise(0.7, [](double x) { return 3000.0 * std::exp(-x * 4) + 200; },
                            [](double x) { return Envelope(x, 0.002, 0.16); }, 5);
    Mix(t, Glide(120, 40, 0.4, 0.12), 0, 0.8);
    Mix(t, FilteredNoise(0.2, [](double) { return 6000.0; }, [](double x) { return Envelope(x, 0.001, 0.03); }, 6), 0.04, 0.4);
    return t;
}

// 5: a puff of crash smoke — a soft whoosh.
Track Puff() {
    return FilteredNoise(0.55, [](double x) { return 400 + 1800 * std::sin(std::numbers::pi * x / 0.55); },
                         [](double x) { return std::sin(std::numbers::pi * x / 0.55); }, 7);
}

// 6: a bauble hung on a tree — a small glass ting.
Track Bauble() {
    Track t = Bell(Frequency(93), 0.7, 0.8);
    Mix(t, Bell(Frequency(100), 0.5, 0.5), 0.03, 0.4);
    return t;
}

// 7: a Christmas tree explodes — a deep boom with crackles.
Track Explosion() {
    Track t = FilteredNoise(1.6, [](double x) { return 1200.0 * std::exp(-x * 2.5) + 80; },
                            [](double x) { return Envelope(x, 0.004, 0.45); }, 8);
    Mix(t, Glide(90, 30, 1.0, 0.35), 0, 1.2);
    std::mt19937 random(9);
    std::uniform_real_distribution<double> when(0.1, 1.2);
    for (int i = 0; i < 14; ++i)
        Mix(t, FilteredNoise(0.03, [](double) { return 7000.0; }, [](double x) { return Envelope(x, 0.0005, 0.006); }, 10 + i),
            when(random), 0.5);
    return t;
}

// 8: another item selected — a short wooden click.
Track Select() {
    Track t = Pluck(Frequency(76), 0.09);
    Mix(t, Pluck(Frequency(83), 0.09), 0.04, 0.7);
    return t;
}

// 9: the pointer enters a menu button — a soft tick.
Track Hover() { return Bell(Frequency(96), 0.12, 0.3); }

// 10: the team runs somebody over — a comic tumbling "oof".
Track Oof() {
    Track out = Silence(0.45);
    double phase = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = TimeOf(i);
        const double f = 260 * std::pow(0.45, t / 0.45) + 12 * std::sin(kTau * 9 * t);
        phase += kTau * f / kRate;
        // A buzzy source shaped like a vowel by two formant-ish harmonics.
        const double v = std::sin(phase) + 0.6 * std::sin(2 * phase) + 0.35 * std::sin(3 * phase) + 0.2 * std::sin(5 * phase);
        out[i] = v * Envelope(t, 0.01, 0.16);
    }
    Mix(out, Blow(), 0.0, 0.5);
    return out;
}

// The intro: a rising arpeggio of bells over a shimmer, about two seconds.
Track Intro() {
    Track t;
    const int notes[] = {72, 76, 79, 84, 88, 91, 96};
    for (int i = 0; i < 7; ++i) Mix(t, Bell(Frequency(notes[i]), 1.4, 0.75), 0.13 * i, 0.6);
    Mix(t, Jingle(2.2, 6, 11), 0.0, 0.5);
    for (int n : {60, 64, 67}) Mix(t, Pluck(Frequency(n), 2.4), 0.9, 0.35);
    return t;
}

// The music: an original, gentle winter waltz in C major, 8 bars of 3/4 at
// 132 bpm repeated with variation; it loops seamlessly.
Track Music() {
    constexpr double beat = 60.0 / 132.0;
    // Melody: (bar, beat, midi note, beats)
    const struct {
        int Bar;
        double Beat;
        int Note;
        double Length;
    } melody[] = {
        {0, 0, 76, 1}, {0, 1, 79, 1}, {0, 2, 81, 1}, {1, 0, 79, 2}, {1, 2, 76, 1},
        {2, 0, 74, 1}, {2, 1, 76, 1}, {2, 2, 77, 1}, {3, 0, 76, 3},
        {4, 0, 72, 1}, {4, 1, 76, 1}, {4, 2, 79, 1}, {5, 0, 84, 2}, {5, 2, 83, 1},
        {6, 0, 81, 1}, {6, 1, 79, 1}, {6, 2, 77, 1}, {7, 0, 74, 1}, {7, 1, 76, 1}, {7, 2, 72, 1},
    };
    // Bass roots per bar: C, G, F, C, A minor, F, D minor / G, C.
    const int roots[] = {48, 43, 41, 48, 45, 41, 50, 43};
    const double bars = 8;
    const double length = 2 * bars * 3 * beat;  // two passes
    Track t = Silence(length);
    for (int pass = 0; pass < 2; ++pass) {
        const double offset = pass * bars * 3 * beat;
        for (const auto& n : melody) {
            const double at = offset + (n.Bar * 3 + n.Beat) * beat;
            Mix(t, Bell(Frequency(n.Note + (pass == 1 && n.Bar >= 4 ? 12 : 0)), n.Length * beat * 2.2, 0.6), at, 0.45);
        }
        for (int bar = 0; bar < 8; ++bar) {
            const double at = offset + bar * 3 * beat;
            Mix(t, Pluck(Frequency(roots[bar]), beat * 2.5), at, 0.55);
            // Waltz chords on beats two and three: the triad above the root.
            const bool minor = roots[bar] == 45 || roots[bar] == 50;
            for (int b = 1; b < 3; ++b)
                for (int interval : {12, minor ? 15 : 16, 19})
                    Mix(t, Pluck(Frequency(roots[bar] + interval), beat * 0.8), at + b * beat, 0.16);
        }
        Mix(t, Jingle(1.2, 4, 20 + static_cast<unsigned>(pass)), offset + 7 * 3 * beat, 0.25);
    }
    // Wrap the tails that ring past the end onto the start, so the loop is seamless.
    const auto loop = static_cast<std::size_t>(length * kRate);
    for (std::size_t i = loop; i < t.size(); ++i) t[i - loop] += t[i];
    t.resize(loop);
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: sfxgen OUTDIR\n";
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::function<Track()> effects[] = {Blow, HandOver, Sleigh, Whip,   Crash, Puff,
                                              Bauble, Explosion, Select, Hover, Oof};
    bool ok = true;
    for (int n = 0; n < 11; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%.2d.wav", n);
        ok = WriteWav(dir + name, effects[n]()) && ok;
    }
    ok = WriteWav(dir + "intro.wav", Intro()) && ok;
    ok = WriteWav(dir + "muza.wav", Music(), 0.7, Ending::Loop) && ok;
    if (!ok) {
        std::cerr << "sfxgen: cannot write into " << dir << '\n';
        return 1;
    }
    return 0;
}
