#include "app/replay_run.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "app/frm_main.h"
#include "app/replay_file.h"
#include "app/replay_player.h"
#include "core/png_image.h"
#include "runtime/frame_timer.h"
#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/platform/null/null_presenter.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/platform/sdl_event_loop.h"
#include "runtime/platform/sdl_text_renderer.h"
#include "runtime/platform/sdl_window.h"

namespace gb {
namespace {

// The player's own input is not the replay's: a watched replay only hears
// the window being closed (through the loop).
class TIgnoredInput final : public TWindowEvents {
public:
    void KeyDown(TVirtualKey&, TShiftState) override {}
    void KeyUp(TVirtualKey&, TShiftState) override {}
    void MouseMove(TShiftState, int, int) override {}
    void MouseDown(TMouseButton, TShiftState, int, int) override {}
    void MouseUp(TMouseButton, TShiftState, int, int) override {}
    void FocusChanged(bool) override {}
};

class TFrameWriter {
public:
    TFrameWriter(const TReplayOptions& options, TfrmMain& form) : Options(options), Form(form) {
        if (Options.FramesTo.empty()) return;
        std::error_code error;
        std::filesystem::create_directories(Options.FramesTo, error);
        if (!std::filesystem::is_directory(Options.FramesTo))
            throw EReplayError(Options.FramesTo + ": the folder for the frames cannot be made" +
                               (error ? ": " + error.message() : ""));
    }

    void Frame(std::uint32_t frame) {
        if (!Options.FramesTo.empty() && frame % Options.FrameStep == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "frame-%06u.png", frame);
            Write(name);
        }
    }
    void Final() {
        if (!Options.FramesTo.empty() && Form.DXDraw().Initialized()) Write("final.png");
    }

private:
    void Write(const std::string& name) {
        const std::string path = (std::filesystem::path(Options.FramesTo) / name).string();
        const std::string png = bbx::EncodePng(Form.DXDraw().Surface().Buffer(), bbx::TPngAlpha::Opaque);
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(png.data(), static_cast<std::streamsize>(png.size()));
        file.close();
        if (!file) throw EReplayError(path + ": the frame could not be written");
    }

    const TReplayOptions& Options;
    TfrmMain& Form;
};

void WarnAboutOrigin(const TReplayHeader& header, const std::string& directory) {
    if (header.ProgramVersion != BBX_VERSION)
        std::fprintf(stderr, "GlimmerBay: the replay was recorded by version %s, this is %s; it may diverge\n",
                     header.ProgramVersion.c_str(), BBX_VERSION);
    if (header.DataHash != DataFilesHash(directory))
        std::fprintf(stderr, "GlimmerBay: the replay was recorded with other data files; it may diverge\n");
}

int Report(const TReplayOutcome& outcome) {
    using TKind = TReplayOutcome::TKind;
    switch (outcome.Kind) {
        case TKind::EndScreen:
            std::fprintf(stderr, "GlimmerBay: the story's end screen after frame %u\n", outcome.Frame);
            return kReplayEndScreen;
        case TKind::ErrorScreen:
            std::fprintf(stderr, "GlimmerBay: an error screen after frame %u: %s\n", outcome.Frame,
                         outcome.Message.c_str());
            return kReplayErrorScreen;
        case TKind::Stopped: std::fprintf(stderr, "GlimmerBay: replay stopped at frame %u\n", outcome.Frame); break;
        case TKind::Diverged:
        case TKind::Closed:
        case TKind::Ended: std::fprintf(stderr, "GlimmerBay: %s\n", outcome.Message.c_str()); break;
    }
    return kReplayFailed;
}

TReplayOutcome PlayHeadless(const TReplay& replay, const TReplayOptions& options, const std::string& directory,
                            const TGameFactory& gameFactory) {
    TNullPresenter presenter;
    presenter.Recording = false;
    TSdlTextRenderer text;
    TRecordingSoundLayer sound;
    TReplayServices services;
    TfrmMain form(presenter, text, sound, services, directory, gameFactory);
    form.OnClose = [] {};
    TFrameWriter frames(options, form);
    const TReplayOutcome outcome = PlayReplay(replay, form, services, [&frames](std::uint32_t frame) {
        frames.Frame(frame);
        return true;
    });
    frames.Final();
    return outcome;
}

// In the game's window at the recorded pace; closing the window stops it.
TReplayOutcome PlayWatched(const TReplay& replay, const TReplayOptions& options, const std::string& directory,
                           const TGameFactory& gameFactory) {
    TSdlTextRenderer text;
    TMixerSoundLayer sound;
    TSdlWindow window("Glimmer Bay");
    TReplayServices services;
    TfrmMain form(window, text, sound, services, directory, gameFactory);
    form.StartWindowed = options.Windowed;
    TIgnoredInput ignored;
    TFrameTimer idle;  // the loop's own; the window's timer runs on the replay's ticks
    TSdlEventLoop loop(window, form.DXDraw(), idle, ignored);
    form.OnClose = [&loop] { loop.Quit(); };
    TFrameWriter frames(options, form);
    const auto start = std::chrono::steady_clock::now();
    std::optional<std::uint32_t> firstTick;
    const TReplayOutcome outcome = PlayReplay(replay, form, services, [&](std::uint32_t frame) {
        frames.Frame(frame);
        if (!firstTick) firstTick = services.Now;
        std::this_thread::sleep_until(start + std::chrono::milliseconds(services.Now - *firstTick));
        return loop.HandleEvents();
    });
    frames.Final();
    return outcome;
}

}  // namespace

int RunReplay(const TReplayOptions& options, const std::string& directory, const TGameFactory& gameFactory) {
    try {
        const TReplay replay = LoadReplay(options.File);
        WarnAboutOrigin(replay.Header, directory);
        return Report(options.Headless ? PlayHeadless(replay, options, directory, gameFactory)
                                       : PlayWatched(replay, options, directory, gameFactory));
    } catch (const bbx::Exception& e) {
        std::fprintf(stderr, "GlimmerBay: %s\n", e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "GlimmerBay: %s\n", e.what());
    }
    return kReplayFailed;
}

}  // namespace gb
