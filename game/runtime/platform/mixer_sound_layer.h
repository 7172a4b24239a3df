#pragma once
// The sound layer on SDL2_mixer: WAV samples on any free mixing channel,
// one looping music stream, and a generated sine tone for the beep. With no
// sound device every call does nothing.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/sound_layer.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

namespace gb {

class TMixerSoundLayer : public TSoundLayer {
public:
    TMixerSoundLayer() = default;
    ~TMixerSoundLayer() override;
    TMixerSoundLayer(const TMixerSoundLayer&) = delete;
    TMixerSoundLayer& operator=(const TMixerSoundLayer&) = delete;

    bool Start(int rate, int channels) override;
    TSampleHandle LoadSample(const std::string& path) override;
    TChannelHandle PlaySample(TSampleHandle sample) override;
    void StopChannel(TChannelHandle channel) override;
    void FreeSample(TSampleHandle sample) override;
    TStreamHandle OpenStream(const std::string& path) override;
    void PlayStream(TStreamHandle stream) override;
    void StopStream(TStreamHandle stream) override;
    void Beep(int frequency, int durationMs) override;
    void SetPaused(bool paused) override;
    void Close() override;

    bool Started() const { return IsStarted; }
    // Channels playing at this moment.
    int PlayingChannels() const;

private:
    struct TChunkDeleter {
        void operator()(Mix_Chunk* chunk) const;
    };
    struct TMusicDeleter {
        void operator()(Mix_Music* music) const;
    };
    struct TTone {
        std::vector<std::int16_t> Samples;  // in the device's format
        std::unique_ptr<Mix_Chunk, TChunkDeleter> Chunk;
        TChannelHandle Channel = 0;
    };

    TChannelHandle Play(Mix_Chunk* chunk);
    bool IsPlaying(TChannelHandle channel) const;
    void DropFinishedTones();

    bool IsStarted = false;
    // Indexed by handle - 1; a freed sample leaves an empty entry.
    std::vector<std::unique_ptr<Mix_Chunk, TChunkDeleter>> Samples;
    std::vector<std::unique_ptr<Mix_Music, TMusicDeleter>> Streams;
    // The play last started on each channel, so that stopping an old play
    // never cuts a newer sound on the same channel.
    std::vector<std::uint32_t> ChannelPlays;
    std::uint32_t PlayCounter = 0;
    std::vector<TTone> Tones;
};

}  // namespace gb
