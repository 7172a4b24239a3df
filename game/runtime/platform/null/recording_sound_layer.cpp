#include "runtime/platform/null/recording_sound_layer.h"

#include <cstddef>

#include "core/errors.h"

namespace gb {

bool TRecordingSoundLayer::Start(int rate, int channels) {
    Log.push_back("start " + std::to_string(rate) + " " + std::to_string(channels));
    ++Starts;
    return true;
}

TSampleHandle TRecordingSoundLayer::LoadSample(const std::string& path) {
    Log.push_back("sample " + path);
    return Load(path, false);
}

TChannelHandle TRecordingSoundLayer::PlaySample(TSampleHandle sample) {
    Log.push_back("play " + std::to_string(sample));
    if (FailPlay) throw bbx::Exception("the sound device went away");
    const std::string* path = Find(sample, false);
    if (!path) return 0;
    Played.push_back(*path);
    return ++LastChannel;
}

void TRecordingSoundLayer::StopChannel(TChannelHandle channel) {
    Log.push_back("stop channel " + std::to_string(channel));
    Stopped.push_back(channel);
}

void TRecordingSoundLayer::FreeSample(TSampleHandle sample) {
    Log.push_back("free " + std::to_string(sample));
    if (const std::string* path = Find(sample, false)) Freed.push_back(*path);
}

TStreamHandle TRecordingSoundLayer::OpenStream(const std::string& path) {
    Log.push_back("stream " + path);
    return Load(path, true);
}

void TRecordingSoundLayer::PlayStream(TStreamHandle stream) {
    Log.push_back("music " + std::to_string(stream));
    if (Find(stream, true)) MusicPlaying = true;
}

void TRecordingSoundLayer::StopStream(TStreamHandle stream) {
    Log.push_back("stop music " + std::to_string(stream));
    if (Find(stream, true)) MusicPlaying = false;
}

void TRecordingSoundLayer::Beep(int frequency, int durationMs) {
    Log.push_back("beep " + std::to_string(frequency) + " " + std::to_string(durationMs));
    ++Beeps;
    LastBeep = {frequency, durationMs};
}

void TRecordingSoundLayer::SetPaused(bool paused) {
    Log.push_back(paused ? "pause" : "resume");
    Paused = paused;
}

void TRecordingSoundLayer::Close() {
    Log.push_back("close");
    ++Closes;
    MusicPlaying = false;
}

int TRecordingSoundLayer::PlayCount(std::string_view ending) const {
    int count = 0;
    for (const std::string& path : Played) count += path.ends_with(ending);
    return count;
}

std::uint32_t TRecordingSoundLayer::Load(const std::string& path, bool stream) {
    if (FailLoads) return 0;
    Paths.push_back(path);
    IsStream.push_back(stream);
    return HandleBase + static_cast<std::uint32_t>(Paths.size());
}

const std::string* TRecordingSoundLayer::Find(std::uint32_t handle, bool stream) const {
    if (handle <= HandleBase || handle - HandleBase > Paths.size()) return nullptr;
    const std::size_t index = handle - HandleBase - 1;
    return IsStream[index] == stream ? &Paths[index] : nullptr;
}

}  // namespace gb
