#pragma once
// The little the game needs of a sound library. Handles are opaque; 0 is
// "none". Nothing here reports an error: a call that cannot be carried out
// (no device, a missing file, a handle that is none) does nothing.

#include <cstdint>
#include <string>

namespace gb {

using TSampleHandle = std::uint32_t;
using TChannelHandle = std::uint64_t;
using TStreamHandle = std::uint32_t;

class TSoundLayer {
public:
    virtual ~TSoundLayer() = default;
    // Mixing rate in Hz and the number of channels played at once; false
    // when no sound device could be opened (everything then stays silent).
    virtual bool Start(int rate, int channels) = 0;
    // A WAV file as a one-shot sample.
    virtual TSampleHandle LoadSample(const std::string& path) = 0;
    // On any free channel, without waiting; the handle stops this play only.
    virtual TChannelHandle PlaySample(TSampleHandle sample) = 0;
    virtual void StopChannel(TChannelHandle channel) = 0;
    virtual void FreeSample(TSampleHandle sample) = 0;
    // A music file (MP3) that repeats while it plays.
    virtual TStreamHandle OpenStream(const std::string& path) = 0;
    virtual void PlayStream(TStreamHandle stream) = 0;
    virtual void StopStream(TStreamHandle stream) = 0;
    // A sine tone, without waiting for its end.
    virtual void Beep(int frequency, int durationMs) = 0;
    // Holds the music and every sound playing where they are, or lets them
    // go on from there.
    virtual void SetPaused(bool paused) = 0;
    // Stops everything and releases every sample and stream.
    virtual void Close() = 0;
};

}  // namespace gb
