#include "app/replay_player.h"

#include <optional>

#include "app/frm_main.h"
#include "app/game_state_hash.h"
#include "core/code_page.h"
#include "core/random.h"
#include "flow/game.h"

namespace gb {

bool TReplayServices::IsKeyHeld(TVirtualKey key) {
    switch (key) {
        case vk::Up: return (Held & held::Up) != 0;
        case vk::Down: return (Held & held::Down) != 0;
        case vk::Left: return (Held & held::Left) != 0;
        case vk::Right: return (Held & held::Right) != 0;
        default: return false;
    }
}

bool TReplayServices::OpenDocument(const std::string& path) {
    Opened.push_back(path);
    return true;
}

bool ShowsEndScreen(const TfrmMain& form) {
    const auto* game = dynamic_cast<const TGame*>(form.Game());
    return game && form.ErrorText().empty() && !game->IsLoading() && game->Mode() == TGame::TextScreenMode;
}

namespace {

using TKind = TReplayOutcome::TKind;

// What the window's state says once a record has been played; nothing when
// the replay goes on.
std::optional<TReplayOutcome> Verdict(const TfrmMain& form, std::uint32_t frame) {
    if (!form.ErrorText().empty() || form.EndedByError())
        return TReplayOutcome{TKind::ErrorScreen, frame, bbx::Cp1250ToUtf8(form.LastError())};
    if (form.Closing()) return TReplayOutcome{TKind::Closed, frame, "the game was closed"};
    if (ShowsEndScreen(form)) return TReplayOutcome{TKind::EndScreen, frame, ""};
    return std::nullopt;
}

void Dispatch(const TReplayRecord& record, TfrmMain& form) {
    TVirtualKey key = static_cast<TVirtualKey>(record.Code);
    const auto button = static_cast<TMouseButton>(record.Code);
    switch (record.Kind) {
        case TReplayKind::KeyDown: form.KeyDown(key, record.Shift); break;
        case TReplayKind::KeyUp: form.KeyUp(key, record.Shift); break;
        case TReplayKind::MouseMove: form.MouseMove(record.Shift, record.X, record.Y); break;
        case TReplayKind::MouseDown: form.MouseDown(button, record.Shift, record.X, record.Y); break;
        case TReplayKind::MouseUp: form.MouseUp(button, record.Shift, record.X, record.Y); break;
        case TReplayKind::Focus: form.FocusChanged(record.Code != 0); break;
        case TReplayKind::Activate:
            // The window was away (minimised) and is back: as the platform
            // reports it to the timer.
            form.DXTimer().SetActive(false);
            form.DXTimer().SetActive(true);
            break;
        case TReplayKind::Frame:
        case TReplayKind::Checkpoint: break;
    }
}

}  // namespace

TReplayOutcome PlayReplay(const TReplay& replay, TfrmMain& form, TReplayServices& services,
                          const std::function<bool(std::uint32_t frame)>& afterFrame) {
    bbx::RandSeed(replay.Header.Seed);
    services.Now = replay.Header.StartTick;
    services.Held = 0;
    form.FormCreate();
    std::uint32_t frame = 0;
    if (auto verdict = Verdict(form, frame)) return *verdict;
    for (const TReplayRecord& record : replay.Records) {
        if (record.Kind == TReplayKind::Checkpoint) {
            if (GameStateHash(form) != record.Hash)
                return {TKind::Diverged, frame, "replay diverged at frame " + std::to_string(frame)};
            continue;
        }
        services.Now = record.Tick;
        if (record.Kind == TReplayKind::Frame) {
            services.Held = record.Code;
            form.DXTimer().Idle(record.Tick);
            ++frame;
        } else {
            Dispatch(record, form);
        }
        if (record.Kind == TReplayKind::Frame && afterFrame && !afterFrame(frame))
            return {TKind::Stopped, frame, "stopped"};
        if (auto verdict = Verdict(form, frame)) return *verdict;
    }
    return {TKind::Ended, frame,
            "the replay ended after frame " + std::to_string(frame) + " before the story's end screen or an error"};
}

}  // namespace gb
