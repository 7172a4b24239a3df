#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/sfx.h"
#include "support/temp_folder.h"

using namespace gb;
namespace fs = std::filesystem;

namespace {

constexpr int Rate = 44100;

void WriteLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit WAV of the samples.
void WriteWav(const fs::path& path, const std::vector<std::int16_t>& samples) {
    fs::create_directories(path.parent_path());
    const auto bytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    WriteLe(out, 36 + bytes, 4);
    out << "WAVEfmt ";
    WriteLe(out, 16, 4);
    WriteLe(out, 1, 2);  // PCM
    WriteLe(out, 1, 2);  // mono
    WriteLe(out, Rate, 4);
    WriteLe(out, Rate * 2, 4);
    WriteLe(out, 2, 2);
    WriteLe(out, 16, 2);
    out << "data";
    WriteLe(out, bytes, 4);
    for (const std::int16_t s : samples) WriteLe(out, static_cast<std::uint16_t>(s), 2);
}

void WriteConstantWav(const fs::path& path, std::int16_t value, int milliseconds) {
    WriteWav(path, std::vector<std::int16_t>(static_cast<std::size_t>(Rate * milliseconds / 1000), value));
}

// Each test mixes into a file of its own through SDL's disk audio driver.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "disk", 0);
        setenv("SDL_DISKAUDIOFILE", (Dir / "mixed.raw").c_str(), 1);
    }

    // The left channel of everything mixed so far (read after the layer closed).
    std::vector<std::int16_t> Mixed() const {
        std::ifstream in(Dir / "mixed.raw", std::ios::binary);
        std::vector<std::int16_t> left;
        char frame[4];
        while (in.read(frame, 4))
            left.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(frame[0]) |
                                                     static_cast<unsigned char>(frame[1]) << 8));
        return left;
    }

    static void WaitUntilQuiet(const TMixerSoundLayer& layer) {
        for (int i = 0; i < 200 && layer.PlayingChannels() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(60));  // let the last buffers reach the file
    }

    const test_support::TTempFolder Temp;
    const fs::path Dir = Temp.Path();
};

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (const std::int16_t s : samples) peak = std::max(peak, std::abs(int{s}));
    return peak;
}

int CountNear(const std::vector<std::int16_t>& samples, int value) {
    int n = 0;
    for (const std::int16_t s : samples) n += std::abs(s - value) <= 2;
    return n;
}

}  // namespace

TEST_F(SoundTest, TwoPlaysOfOneEffectAreMixedOnTwoChannels) {
    WriteConstantWav(Dir / "sfx" / "00.wav", 4000, 200);
    TMixerSoundLayer layer;
    {
        TSfx sfx(layer, Dir.string() + "/");
        ASSERT_TRUE(layer.Started());
        sfx.LoadSounds();
        sfx.Play(0);
        sfx.Play(0);
        EXPECT_EQ(layer.PlayingChannels(), 2);
        WaitUntilQuiet(layer);
    }
    const std::vector<std::int16_t> mixed = Mixed();
    EXPECT_NEAR(Peak(mixed), 8000, 2) << "both plays sound at once";
    EXPECT_GT(CountNear(mixed, 8000), Rate / 10) << "for most of the effect";
}

TEST_F(SoundTest, OnePlaySoundsOnceAtItsOwnLevel) {
    WriteConstantWav(Dir / "sfx" / "05.wav", 4000, 100);
    TMixerSoundLayer layer;
    {
        TSfx sfx(layer, Dir.string() + "/");
        sfx.LoadSounds();
        sfx.Play(5);
        WaitUntilQuiet(layer);
    }
    const std::vector<std::int16_t> mixed = Mixed();
    EXPECT_NEAR(Peak(mixed), 4000, 2);
    EXPECT_NEAR(CountNear(mixed, 4000), Rate / 10, Rate / 100);
}

TEST_F(SoundTest, AMissingSfxFolderIsSilentAndRaisesNothing) {
    TMixerSoundLayer layer;
    {
        TSfx sfx(layer, Dir.string() + "/");
        ASSERT_TRUE(layer.Started());
        sfx.LoadSounds();
        for (int n = 0; n < TSfx::EffectCount; ++n) sfx.Play(n);
        sfx.PlayMusic();
        EXPECT_EQ(layer.PlayingChannels(), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        sfx.StopMusic();
    }
    const std::vector<std::int16_t> mixed = Mixed();
    EXPECT_FALSE(mixed.empty()) << "the device ran";
    EXPECT_EQ(Peak(mixed), 0);
}

TEST_F(SoundTest, WithoutASoundDeviceEverythingIsSilent) {
    const std::string driver = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
    setenv("SDL_AUDIODRIVER", "no-such-device", 1);
    WriteConstantWav(Dir / "sfx" / "00.wav", 4000, 50);
    TMixerSoundLayer layer;
    {
        TSfx sfx(layer, Dir.string() + "/");
        EXPECT_FALSE(layer.Started());
        sfx.LoadSounds();
        sfx.Play(0);
        sfx.PlayMusic();
        sfx.StopMusic();
        EXPECT_EQ(layer.LoadSample((Dir / "sfx" / "00.wav").string()), 0u);
        layer.Beep(1000, 100);
        layer.StopChannel(12345);
        layer.FreeSample(1);
    }
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    EXPECT_FALSE(fs::exists(Dir / "mixed.raw"));
}

TEST_F(SoundTest, StoppingAChannelCutsOnlyThePlayItStarted) {
    WriteConstantWav(Dir / "short.wav", 1000, 30);
    WriteConstantWav(Dir / "long.wav", 2000, 2000);
    TMixerSoundLayer layer;
    ASSERT_TRUE(layer.Start(44100, 16));
    const TSampleHandle shortSample = layer.LoadSample((Dir / "short.wav").string());
    const TSampleHandle longSample = layer.LoadSample((Dir / "long.wav").string());
    ASSERT_NE(shortSample, 0u);
    ASSERT_NE(longSample, 0u);
    const TChannelHandle first = layer.PlaySample(shortSample);
    ASSERT_NE(first, 0u);
    WaitUntilQuiet(layer);
    // The long sound most likely takes the channel the short one left.
    const TChannelHandle second = layer.PlaySample(longSample);
    layer.StopChannel(first);
    EXPECT_EQ(layer.PlayingChannels(), 1) << "an old handle does not cut a newer sound";
    layer.StopChannel(second);
    EXPECT_EQ(layer.PlayingChannels(), 0);

    layer.PlaySample(longSample);
    layer.FreeSample(longSample);
    EXPECT_EQ(layer.PlayingChannels(), 0) << "freeing a sample stops it";
    EXPECT_EQ(layer.PlaySample(longSample), 0u);
    EXPECT_EQ(layer.PlaySample(0), 0u);
    EXPECT_EQ(layer.PlaySample(99), 0u);
    layer.FreeSample(99);
    layer.Close();
    EXPECT_LT(Peak(Mixed()), 2001);
}

TEST_F(SoundTest, MusicRepeatsUntilStopped) {
    WriteConstantWav(Dir / "loop.wav", 3000, 100);
    TMixerSoundLayer layer;
    ASSERT_TRUE(layer.Start(44100, 16));
    const TStreamHandle music = layer.OpenStream((Dir / "loop.wav").string());
    ASSERT_NE(music, 0u);
    EXPECT_EQ(layer.OpenStream((Dir / "none.mp3").string()), 0u);
    layer.PlayStream(music);
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    layer.StopStream(music);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    layer.Close();
    const std::vector<std::int16_t> mixed = Mixed();
    // Margins for a busy machine, where the disk driver may fall behind.
    EXPECT_GT(CountNear(mixed, 3000), Rate * 2 / 10) << "longer than the 0.1 s file: it repeated";
    ASSERT_GT(mixed.size(), 1000u);
    EXPECT_EQ(Peak(std::vector<std::int16_t>(mixed.end() - 1000, mixed.end())), 0) << "silent after the stop";
}

TEST_F(SoundTest, Mp3MusicPlays) {
    // A sine made by lame from a WAV of our own.
    std::vector<std::int16_t> sine(Rate / 2);
    for (std::size_t i = 0; i < sine.size(); ++i)
        sine[i] = static_cast<std::int16_t>(8000 * std::sin(static_cast<double>(i) * 0.0628));
    WriteWav(Dir / "tone.wav", sine);
    const std::string command = "lame --quiet " + (Dir / "tone.wav").string() + " " + (Dir / "muza.mp3").string();
    if (std::system("command -v lame >/dev/null 2>&1") != 0 || std::system(command.c_str()) != 0)
        GTEST_SKIP() << "lame is not installed";
    TMixerSoundLayer layer;
    ASSERT_TRUE(layer.Start(44100, 16));
    const TStreamHandle music = layer.OpenStream((Dir / "muza.mp3").string());
    ASSERT_NE(music, 0u);
    layer.PlayStream(music);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    layer.Close();
    EXPECT_GT(Peak(Mixed()), 6000);
}

TEST_F(SoundTest, BeepIsAToneOfTheAskedFrequencyAndLength) {
    TMixerSoundLayer layer;
    ASSERT_TRUE(layer.Start(44100, 16));
    layer.Beep(1000, 100);
    EXPECT_EQ(layer.PlayingChannels(), 1);
    WaitUntilQuiet(layer);
    layer.Close();
    const std::vector<std::int16_t> mixed = Mixed();
    std::size_t first = mixed.size(), last = 0;
    int crossings = 0;
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        if (mixed[i] == 0) continue;
        first = std::min(first, i);
        last = i;
    }
    ASSERT_LT(first, last);
    for (std::size_t i = first + 1; i <= last; ++i) crossings += (mixed[i - 1] < 0) != (mixed[i] < 0);
    EXPECT_NEAR(static_cast<double>(last - first) / Rate, 0.1, 0.002);
    EXPECT_NEAR(crossings, 200, 6) << "two zero crossings a period";
}

TEST_F(SoundTest, APauseHoldsMusicAndSoundsAndTheyGoOnAfterIt) {
    WriteConstantWav(Dir / "loop.wav", 3000, 100);
    WriteConstantWav(Dir / "long.wav", 1000, 3000);
    TMixerSoundLayer layer;
    ASSERT_TRUE(layer.Start(44100, 16));
    layer.PlayStream(layer.OpenStream((Dir / "loop.wav").string()));
    layer.PlaySample(layer.LoadSample((Dir / "long.wav").string()));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    layer.SetPaused(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<std::int16_t> paused = Mixed();
    ASSERT_GT(paused.size(), 1000u);
    EXPECT_EQ(Peak(std::vector<std::int16_t>(paused.end() - 1000, paused.end())), 0) << "silent while paused";
    EXPECT_EQ(layer.PlayingChannels(), 1) << "the sound is held, not stopped";
    layer.SetPaused(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    layer.Close();
    const std::vector<std::int16_t> mixed = Mixed();
    ASSERT_GT(mixed.size(), paused.size() + 1000);
    EXPECT_NEAR(Peak(std::vector<std::int16_t>(mixed.end() - 1000, mixed.end())), 4000, 2) << "both go on";
}
