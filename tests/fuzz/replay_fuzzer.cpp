// Feeds arbitrary bytes to the replay file reader. It must refuse them with
// its own error or accept them; what it accepts, written out again, reads
// back to the same replay, and its frame count is the number of frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/replay_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    gb::TReplay replay;
    try {
        replay = gb::ParseReplay(text);
    } catch (const gb::EReplayError&) {
        return 0;
    }
    std::string written = gb::FormatHeader(replay.Header);
    std::uint32_t frames = 0;
    for (const gb::TReplayRecord& record : replay.Records) {
        written += gb::FormatRecord(record);
        if (record.Kind == gb::TReplayKind::Frame) ++frames;
    }
    written += gb::FormatEnd(replay.Frames);
    if (frames != replay.Frames) std::abort();
    const gb::TReplay again = gb::ParseReplay(written);
    if (!(again.Records == replay.Records) || again.Frames != replay.Frames ||
        again.Header.ProgramVersion != replay.Header.ProgramVersion || again.Header.Seed != replay.Header.Seed ||
        again.Header.DataHash != replay.Header.DataHash || again.Header.StartTick != replay.Header.StartTick)
        std::abort();
    return 0;
}
