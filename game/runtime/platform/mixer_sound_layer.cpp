#include "runtime/platform/mixer_sound_layer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gb {
namespace {

constexpr int OutputChannels = 2;
constexpr int BufferFrames = 1024;
constexpr int LongestBeepMs = 10000;

TChannelHandle MakeChannelHandle(int channel, std::uint32_t play) {
    return TChannelHandle{play} << 16 | static_cast<TChannelHandle>(channel);
}

}  // namespace

void TMixerSoundLayer::TChunkDeleter::operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
void TMixerSoundLayer::TMusicDeleter::operator()(Mix_Music* music) const { Mix_FreeMusic(music); }

TMixerSoundLayer::~TMixerSoundLayer() { Close(); }

bool TMixerSoundLayer::Start(int rate, int channels) {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(rate, AUDIO_S16SYS, OutputChannels, BufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_Init(MIX_INIT_MP3);
    const int allocated = Mix_AllocateChannels(std::max(channels, 1));
    ChannelPlays.assign(static_cast<std::size_t>(allocated), 0);
    IsStarted = true;
    return true;
}

void TMixerSoundLayer::Close() {
    if (!IsStarted) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Tones.clear();
    Samples.clear();
    Streams.clear();
    ChannelPlays.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    IsStarted = false;
}

TSampleHandle TMixerSoundLayer::LoadSample(const std::string& path) {
    if (!IsStarted) return 0;
    std::unique_ptr<Mix_Chunk, TChunkDeleter> chunk(Mix_LoadWAV(path.c_str()));
    if (!chunk) return 0;
    Samples.push_back(std::move(chunk));
    return static_cast<TSampleHandle>(Samples.size());
}

TChannelHandle TMixerSoundLayer::Play(Mix_Chunk* chunk) {
    const int channel = Mix_PlayChannel(-1, chunk, 0);
    if (channel < 0 || static_cast<std::size_t>(channel) >= ChannelPlays.size()) return 0;
    ChannelPlays[static_cast<std::size_t>(channel)] = ++PlayCounter;
    return MakeChannelHandle(channel, PlayCounter);
}

TChannelHandle TMixerSoundLayer::PlaySample(TSampleHandle sample) {
    if (!IsStarted || sample == 0 || sample > Samples.size() || !Samples[sample - 1]) return 0;
    return Play(Samples[sample - 1].get());
}

bool TMixerSoundLayer::IsPlaying(TChannelHandle handle) const {
    const auto channel = static_cast<std::size_t>(handle & 0xFFFF);
    const auto play = static_cast<std::uint32_t>(handle >> 16);
    return IsStarted && play != 0 && channel < ChannelPlays.size() && ChannelPlays[channel] == play &&
           Mix_Playing(static_cast<int>(channel));
}

void TMixerSoundLayer::StopChannel(TChannelHandle channel) {
    if (IsPlaying(channel)) Mix_HaltChannel(static_cast<int>(channel & 0xFFFF));
}

void TMixerSoundLayer::FreeSample(TSampleHandle sample) {
    // Freeing a chunk halts the channels that play it.
    if (IsStarted && sample != 0 && sample <= Samples.size()) Samples[sample - 1].reset();
}

TStreamHandle TMixerSoundLayer::OpenStream(const std::string& path) {
    if (!IsStarted) return 0;
    std::unique_ptr<Mix_Music, TMusicDeleter> music(Mix_LoadMUS(path.c_str()));
    if (!music) return 0;
    Streams.push_back(std::move(music));
    return static_cast<TStreamHandle>(Streams.size());
}

void TMixerSoundLayer::PlayStream(TStreamHandle stream) {
    if (!IsStarted || stream == 0 || stream > Streams.size()) return;
    Mix_PlayMusic(Streams[stream - 1].get(), -1);
}

void TMixerSoundLayer::StopStream(TStreamHandle stream) {
    // The mixer plays one stream at a time: the one this layer opened last
    // started, so halting the music stops it.
    if (IsStarted && stream != 0 && stream <= Streams.size()) Mix_HaltMusic();
}

void TMixerSoundLayer::DropFinishedTones() {
    std::erase_if(Tones, [&](const TTone& tone) { return !IsPlaying(tone.Channel); });
}

void TMixerSoundLayer::Beep(int frequency, int durationMs) {
    if (!IsStarted || frequency <= 0 || durationMs <= 0) return;
    DropFinishedTones();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&rate, &format, &channels) || format != AUDIO_S16SYS || rate <= 0 || channels <= 0) return;
    const double hz = std::clamp(frequency, 37, rate / 2);
    const auto frames = static_cast<std::size_t>(std::int64_t{rate} * std::min(durationMs, LongestBeepMs) / 1000);
    // A few milliseconds of fade at each end keep the tone free of clicks.
    const double fadeFrames = rate * 0.005;
    TTone tone;
    tone.Samples.resize(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const double fade = std::min({1.0, static_cast<double>(i) / fadeFrames, static_cast<double>(frames - i) / fadeFrames});
        const double value = 8000 * fade * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate);
        std::fill_n(tone.Samples.begin() + static_cast<std::ptrdiff_t>(i * static_cast<std::size_t>(channels)), channels,
                    static_cast<std::int16_t>(std::lround(value)));
    }
    tone.Chunk.reset(Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(tone.Samples.data()),
                                       static_cast<Uint32>(tone.Samples.size() * sizeof(std::int16_t))));
    if (!tone.Chunk) return;
    tone.Channel = Play(tone.Chunk.get());
    if (tone.Channel != 0) Tones.push_back(std::move(tone));
}

void TMixerSoundLayer::SetPaused(bool paused) {
    if (!IsStarted) return;
    if (paused) {
        Mix_Pause(-1);
        Mix_PauseMusic();
    } else {
        Mix_Resume(-1);
        Mix_ResumeMusic();
    }
}

int TMixerSoundLayer::PlayingChannels() const { return IsStarted ? Mix_Playing(-1) : 0; }

}  // namespace gb
