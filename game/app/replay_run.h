#pragma once
// GlimmerBay --replay: a replay file played in the game's window, or
// headless (no window, no sound, as fast as it goes), with the frames
// written as PNG pictures on request.

#include <cstdint>
#include <optional>
#include <string>

#include "flow/screen.h"

namespace gb {

struct TReplayOptions {
    std::string File;
    bool Headless = false;
    // Where the frames go as PNG: every FrameStep-th frame as
    // frame-NNNNNN.png, and the last one played as final.png.
    std::string FramesTo;
    std::uint32_t FrameStep = 1;
    std::optional<bool> Windowed;
};

// Exit statuses of a replay.
inline constexpr int kReplayEndScreen = 0;
inline constexpr int kReplayErrorScreen = 1;
inline constexpr int kReplayFailed = 3;  // unreadable, diverged, closed or ended before either

// Plays the replay with the data in `directory`; tells on standard error
// how it ended unless it reached the end screen, and returns the exit status.
int RunReplay(const TReplayOptions& options, const std::string& directory, const TGameFactory& gameFactory);

}  // namespace gb
