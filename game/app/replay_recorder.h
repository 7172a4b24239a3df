#pragma once
// Records a run as a replay file (see replay_file.h). The recorder stands
// between the platform and the main window twice over: as the window's
// events it writes each input and hands it on; as the window's system
// services it answers the tick count and the held arrows, which it takes
// from the system once per frame and per event, so that the window sees
// exactly the times and keys the file holds. Every CheckpointFrames frames
// it writes the game state's hash.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "app/replay_file.h"
#include "runtime/input_events.h"
#include "runtime/system_services.h"

namespace gb {

class TfrmMain;

class TReplayRecorder final : public TWindowEvents, public TSystemServices {
public:
    static constexpr std::uint32_t CheckpointFrames = 30;

    // Creates (or empties) the file and writes the header with the program's
    // version, the hash of the data files in `directory` and the random seed
    // the caller has seeded with. Raises EReplayError when it cannot.
    TReplayRecorder(TSystemServices& system, const std::filesystem::path& path, std::uint32_t seed,
                    const std::string& directory);
    // Finishes the file when Finish was not called; a failure then is lost.
    ~TReplayRecorder() override;
    TReplayRecorder(const TReplayRecorder&) = delete;
    TReplayRecorder& operator=(const TReplayRecorder&) = delete;

    // Goes between the window and its frame timer; once, before FormCreate.
    // The window must have been made with this recorder as its services.
    void Attach(TfrmMain& form);
    // Writes the end line and closes the file; raises EReplayError when
    // anything could not be written.
    void Finish();
    std::uint32_t Frames() const { return FrameCount; }

    void KeyDown(TVirtualKey& key, TShiftState shift) override;
    void KeyUp(TVirtualKey& key, TShiftState shift) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void FocusChanged(bool focused) override;

    // The time of the frame or event being handled.
    std::uint32_t TickCount() override { return Now; }
    // The arrows as they were at the start of the frame; other keys as now.
    bool IsKeyHeld(TVirtualKey key) override;
    bool OpenDocument(const std::string& path) override { return System.OpenDocument(path); }
    void ShowCursor(bool show) override { System.ShowCursor(show); }

private:
    void Frame();
    void Activated();
    // Takes the time from the system and writes the record with it.
    void Record(TReplayRecord record);
    void Write(const std::string& line);

    TSystemServices& System;
    const std::filesystem::path Path;
    std::ofstream File;
    TfrmMain* Form = nullptr;
    std::function<void()> FormTick;
    std::function<void()> FormActivate;
    std::uint32_t Now = 0;
    std::uint32_t Held = 0;
    std::uint32_t FrameCount = 0;
    bool Finished = false;
};

}  // namespace gb
