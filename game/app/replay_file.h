#pragma once
// Recorded replays: the text file that holds every input the main window
// received, with the tick count it came at, the random seed and the frame
// ticks, so that a run can be played again to the same frames.
//
// The first line is the header:
//   GlimmerBay replay 1 version VERSION data HASH seed SEED start TICK
// (VERSION the program's, HASH the data files' hash in 16 hex digits, SEED
// and TICK decimal: the random seed and the tick count at start). Then one
// line per record, the tick count second:
//   f TICK HELD            a frame; HELD the arrows held, bits 1 up, 2 down,
//                          4 left, 8 right
//   kd TICK KEY SHIFT      a key went down (virtual key code, shift state)
//   ku TICK KEY SHIFT      and up
//   mm TICK SHIFT X Y      the pointer moved
//   md TICK BUTTON SHIFT X Y, mu ...   a button went down, up (0 left,
//                          1 right, 2 middle)
//   fo TICK 0|1            the window lost (0) or got (1) the focus
//   ac TICK                the application became active again
//   c FRAME HASH           checkpoint: the game state's hash after that frame
//   end FRAMES             the last line: how many frames were recorded
// Numbers are plain decimal, fields are separated by one blank, lines end
// with LF. Anything else is refused with the line's number.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "runtime/input_events.h"

namespace gb {

class EReplayError : public bbx::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EReplayError"; }
};

struct TReplayHeader {
    static constexpr int FormatVersion = 1;
    std::string ProgramVersion;
    std::uint64_t DataHash = 0;
    std::uint32_t Seed = 0;
    std::uint32_t StartTick = 0;
};

enum class TReplayKind { Frame, KeyDown, KeyUp, MouseMove, MouseDown, MouseUp, Focus, Activate, Checkpoint };

struct TReplayRecord {
    TReplayKind Kind = TReplayKind::Frame;
    std::uint32_t Tick = 0;  // the frame's number for a checkpoint
    // Frame: the held arrows; keys: the key code; mouse: the button; focus: 0 or 1.
    std::uint32_t Code = 0;
    TShiftState Shift = 0;
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::uint64_t Hash = 0;  // checkpoints only
    bool operator==(const TReplayRecord&) const = default;
};

struct TReplay {
    TReplayHeader Header;
    std::vector<TReplayRecord> Records;
    std::uint32_t Frames = 0;
};

// Bits of the held arrows in a frame record.
namespace held {
inline constexpr std::uint32_t Up = 1, Down = 2, Left = 4, Right = 8, All = 15;
}

// The header line and one record line, each with its LF.
std::string FormatHeader(const TReplayHeader& header);
std::string FormatRecord(const TReplayRecord& record);
std::string FormatEnd(std::uint32_t frames);

// The whole file; raises EReplayError naming the line of the first fault.
// Frame ticks and checkpoint numbers must not go back, the end line must
// count the frames, and nothing may follow it.
TReplay ParseReplay(std::string_view text);
// Reads and parses the file (at most MostReplayBytes); raises EReplayError.
TReplay LoadReplay(const std::filesystem::path& path);
inline constexpr std::uintmax_t MostReplayBytes = 256 * 1024 * 1024;

// The hash of the data files that shape a run (the game data, the models,
// the credits, the settings) in `directory`; a missing file counts as empty.
std::uint64_t DataFilesHash(const std::string& directory);

// FNV-1a, 64 bits, continuing from `hash`.
std::uint64_t HashBytes(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ULL);

}  // namespace gb
