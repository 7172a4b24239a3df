#include "app/replay_recorder.h"

#include <utility>

#include "app/frm_main.h"
#include "app/game_state_hash.h"

namespace gb {
namespace {

constexpr std::pair<TVirtualKey, std::uint32_t> kArrows[] = {
    {vk::Up, held::Up}, {vk::Down, held::Down}, {vk::Left, held::Left}, {vk::Right, held::Right}};

}  // namespace

TReplayRecorder::TReplayRecorder(TSystemServices& system, const std::filesystem::path& path, std::uint32_t seed,
                                 const std::string& directory)
    : System(system), Path(path), File(path, std::ios::binary | std::ios::trunc), Now(system.TickCount()) {
    if (!File) throw EReplayError(path.string() + ": cannot be written");
    Write(FormatHeader(TReplayHeader{BBX_VERSION, DataFilesHash(directory), seed, Now}));
}

TReplayRecorder::~TReplayRecorder() {
    try {
        Finish();
    } catch (...) {
        // Too late to tell anyone; Finish is there for the caller who asks.
    }
}

void TReplayRecorder::Attach(TfrmMain& form) {
    Form = &form;
    TFrameTimer& timer = form.DXTimer();
    FormTick = std::exchange(timer.OnTimer, [this] { Frame(); });
    FormActivate = std::exchange(timer.OnActivate, [this] { Activated(); });
}

void TReplayRecorder::Finish() {
    if (Finished) return;
    Finished = true;
    Write(FormatEnd(FrameCount));
    File.close();
    if (!File) throw EReplayError(Path.string() + ": the replay could not be written completely");
}

void TReplayRecorder::Write(const std::string& line) {
    if (!Finished || line.starts_with("end ")) File << line;
}

void TReplayRecorder::Record(TReplayRecord record) {
    Now = System.TickCount();
    record.Tick = Now;
    Write(FormatRecord(record));
}

void TReplayRecorder::Frame() {
    Held = 0;
    for (const auto& [key, bit] : kArrows)
        if (System.IsKeyHeld(key)) Held |= bit;
    ++FrameCount;
    Record({.Kind = TReplayKind::Frame, .Code = Held});
    if (FormTick) FormTick();
    if (FrameCount % CheckpointFrames == 0 && Form)
        Write(FormatRecord({.Kind = TReplayKind::Checkpoint, .Tick = FrameCount, .Hash = GameStateHash(*Form)}));
}

void TReplayRecorder::Activated() {
    Record({.Kind = TReplayKind::Activate});
    if (FormActivate) FormActivate();
}

bool TReplayRecorder::IsKeyHeld(TVirtualKey key) {
    for (const auto& [arrow, bit] : kArrows)
        if (key == arrow) return (Held & bit) != 0;
    return System.IsKeyHeld(key);
}

void TReplayRecorder::KeyDown(TVirtualKey& key, TShiftState shift) {
    Record({.Kind = TReplayKind::KeyDown, .Code = key, .Shift = shift});
    if (Form) Form->KeyDown(key, shift);
}

void TReplayRecorder::KeyUp(TVirtualKey& key, TShiftState shift) {
    Record({.Kind = TReplayKind::KeyUp, .Code = key, .Shift = shift});
    if (Form) Form->KeyUp(key, shift);
}

void TReplayRecorder::MouseMove(TShiftState shift, int x, int y) {
    Record({.Kind = TReplayKind::MouseMove, .Shift = shift, .X = x, .Y = y});
    if (Form) Form->MouseMove(shift, x, y);
}

void TReplayRecorder::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Record({.Kind = TReplayKind::MouseDown, .Code = static_cast<std::uint32_t>(button), .Shift = shift, .X = x, .Y = y});
    if (Form) Form->MouseDown(button, shift, x, y);
}

void TReplayRecorder::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Record({.Kind = TReplayKind::MouseUp, .Code = static_cast<std::uint32_t>(button), .Shift = shift, .X = x, .Y = y});
    if (Form) Form->MouseUp(button, shift, x, y);
}

void TReplayRecorder::FocusChanged(bool focused) {
    Record({.Kind = TReplayKind::Focus, .Code = focused ? 1u : 0u});
    if (Form) Form->FocusChanged(focused);
}

}  // namespace gb
