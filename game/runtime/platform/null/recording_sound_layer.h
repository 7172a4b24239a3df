#pragma once
// A sound layer without a sound device: it plays nothing and records what
// it is asked, so that what the game would have played can be read back.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/sound_layer.h"

namespace gb {

// The n-th file loaded (Paths[n - 1]), sample or stream, gets the handle
// 100 + n, well apart from the effect numbers a caller might hand over by
// mistake; channels are numbered from 1 in the order of the plays.
class TRecordingSoundLayer final : public TSoundLayer {
public:
    bool Start(int rate, int channels) override;
    TSampleHandle LoadSample(const std::string& path) override;
    // Raises bbx::Exception when FailPlay is set, as a device that went away.
    TChannelHandle PlaySample(TSampleHandle sample) override;
    void StopChannel(TChannelHandle channel) override;
    void FreeSample(TSampleHandle sample) override;
    TStreamHandle OpenStream(const std::string& path) override;
    void PlayStream(TStreamHandle stream) override;
    void StopStream(TStreamHandle stream) override;
    void Beep(int frequency, int durationMs) override;
    void SetPaused(bool paused) override;
    void Close() override;

    // How many plays of a sample whose path ends so.
    int PlayCount(std::string_view ending) const;

    // How it answers.
    bool FailLoads = false;  // every load gives no handle, as with the files missing
    bool FailPlay = false;

    // Every call in order: "start 44100 16", "sample PATH", "play N",
    // "stop channel N", "free N", "stream PATH", "music N", "stop music N",
    // "beep F D", "pause", "resume", "close".
    std::vector<std::string> Log;
    std::vector<std::string> Paths;   // the files loaded, samples and streams
    std::vector<std::string> Played;  // the path of each sample played
    std::vector<TChannelHandle> Stopped;
    std::vector<std::string> Freed;
    TChannelHandle LastChannel = 0;
    int Starts = 0;
    int Closes = 0;
    int Beeps = 0;
    std::pair<int, int> LastBeep{};  // frequency, duration
    bool MusicPlaying = false;
    bool Paused = false;

private:
    static constexpr std::uint32_t HandleBase = 100;

    std::uint32_t Load(const std::string& path, bool stream);
    // The path of a handle of that kind, or null for none.
    const std::string* Find(std::uint32_t handle, bool stream) const;

    std::vector<bool> IsStream;  // beside Paths
};

}  // namespace gb
