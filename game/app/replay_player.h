#pragma once
// Plays a replay file (see replay_file.h) into the main window: the window
// is made on TReplayServices, whose clock and held arrows the player sets
// from the file, and gets the recorded input and frame ticks in their
// order, with the game state compared at every checkpoint. The run stops at
// the story's end screen (the game's text screen), at an error screen, when
// the window closes, when a checkpoint differs, or at the end of the file.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/replay_file.h"
#include "runtime/system_services.h"

namespace gb {

class TfrmMain;

// The system as the replay has it: time and arrows from the file, no
// desktop (a document is taken as opened) and no cursor.
class TReplayServices final : public TSystemServices {
public:
    std::uint32_t TickCount() override { return Now; }
    bool IsKeyHeld(TVirtualKey key) override;
    bool OpenDocument(const std::string& path) override;
    void ShowCursor(bool) override {}

    std::uint32_t Now = 0;
    std::uint32_t Held = 0;  // bits of held::
    std::vector<std::string> Opened;
};

struct TReplayOutcome {
    enum class TKind {
        EndScreen,    // the story's end screen shows
        ErrorScreen,  // an error screen shows (Message holds it), or the window closed on an error
        Diverged,     // the game state differs from the recording at a checkpoint
        Closed,       // the window closed (the menu's Wyjście, say) before the end screen
        Ended,        // the file ended before any of these
        Stopped,      // the caller stopped it
    };
    TKind Kind = TKind::Ended;
    std::uint32_t Frame = 0;  // the last frame played
    std::string Message;      // UTF-8
};

// Seeds the random generator with the file's seed, calls FormCreate and
// plays every record. `afterFrame` runs after each frame with its number
// (from 1) and returns false to stop.
TReplayOutcome PlayReplay(const TReplay& replay, TfrmMain& form, TReplayServices& services,
                          const std::function<bool(std::uint32_t frame)>& afterFrame = {});

// Whether the window shows the story's end screen.
bool ShowsEndScreen(const TfrmMain& form);

}  // namespace gb
