// GlimmerBay: the game's main window on the SDL platform layer, full screen.

#include <cfenv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>

#include "app/frm_main.h"
#include "app/replay_recorder.h"
#include "app/replay_run.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/program_directory.h"
#include "core/random.h"
#include "core/real_format.h"
#include "flow/game.h"
#include "flow/screen.h"
#include "runtime/error_log.h"
#include "runtime/game_errors.h"
#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/platform/sdl_event_loop.h"
#include "runtime/platform/sdl_input.h"
#include "runtime/platform/sdl_services.h"
#include "runtime/platform/sdl_text_renderer.h"
#include "runtime/platform/sdl_window.h"

namespace {

// Every floating-point exception masked (a division by zero gives an
// infinity, an invalid operation a NaN), rounding to nearest with halves to
// even, for the whole run; the previous setting comes back at the end.
class TFloatingPointControl {
public:
    TFloatingPointControl() {
        std::feholdexcept(&Saved);
        std::fesetround(FE_TONEAREST);
    }
    ~TFloatingPointControl() { std::fesetenv(&Saved); }
    TFloatingPointControl(const TFloatingPointControl&) = delete;
    TFloatingPointControl& operator=(const TFloatingPointControl&) = delete;

private:
    std::fenv_t Saved;
};

// The map is built a part per frame, so that the window answers while a
// large one loads.
std::unique_ptr<gb::TGameScreen> CreateGame(const gb::TScreenServices& services) {
    return std::make_unique<gb::TGame>(services, gb::TGame::TLoading::InSteps);
}

void ReportEnd(const std::string& cp1250Text, const std::string& directory) {
    std::fprintf(stderr, "GlimmerBay: %s\n(%s has the details.)\n", bbx::Cp1250ToUtf8(cp1250Text).c_str(),
                 gb::ErrorLogPath(directory).c_str());
}

constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: GlimmerBay [--windowed | --fullscreen] [--record FILE]\n"
    "       GlimmerBay --replay FILE [--headless] [--frames-to DIR [--frame-step N]]\n"
    "       GlimmerBay --help | --version\n"
    "\n"
    "  --windowed       start in an 800 x 600 window, whatever Config.xml says\n"
    "  --fullscreen     start full screen, whatever Config.xml says\n"
    "  --record FILE    record the run (every input, its time, the random seed)\n"
    "                   as a replay file\n"
    "  --replay FILE    play a recorded run again, frame for frame; the player's\n"
    "                   own input is ignored, closing the window stops it\n"
    "  --headless       with --replay: no window and no sound, as fast as it goes\n"
    "  --frames-to DIR  with --replay: write the frames as PNG pictures into DIR\n"
    "                   (frame-000001.png ..., and the last one as final.png)\n"
    "  --frame-step N   with --frames-to: only every N-th frame (the last one\n"
    "                   is always written)\n"
    "  --help           show this text\n"
    "  --version        show the version\n"
    "Alt+Enter switches between full screen and a window while playing.\n"
    "A replay exits with 0 at the story's end screen, 1 at an error screen and\n"
    "3 when it cannot be played to either (a bad file, a replay that diverged\n"
    "from its recording, or one that ended before).\n";

// What the command line asks for: a window mode, a recording or a replay,
// or to end at once with the exit status given.
struct TCommandLine {
    std::optional<bool> Windowed;
    std::optional<int> ExitNow;
    std::string Record;
    std::optional<gb::TReplayOptions> Replay;
};

TCommandLine UsageError(const std::string& message) {
    std::fprintf(stderr, "GlimmerBay: %s\n%s", message.c_str(), kUsage);
    TCommandLine line;
    line.ExitNow = kExitUsage;
    return line;
}

TCommandLine ParseCommandLine(int argc, char** argv) {
    TCommandLine line;
    gb::TReplayOptions replay;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--windowed") {
            line.Windowed = true;
        } else if (arg == "--fullscreen") {
            line.Windowed = false;
        } else if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            line.ExitNow = 0;
            return line;
        } else if (arg == "--record" || arg == "--replay" || arg == "--frames-to" || arg == "--frame-step") {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return UsageError(std::string(arg) + " needs a value");
            const std::string value = argv[++i];
            if (arg == "--record") {
                line.Record = value;
            } else if (arg == "--replay") {
                replay.File = value;
            } else if (arg == "--frames-to") {
                replay.FramesTo = value;
            } else {
                char* end = nullptr;
                const unsigned long step = std::strtoul(value.c_str(), &end, 10);
                if (*end != '\0' || step == 0 || step > 1000000000 || value[0] == '-')
                    return UsageError("--frame-step needs a whole number from 1 to 1000000000");
                replay.FrameStep = static_cast<std::uint32_t>(step);
            }
        } else if (arg == "--headless") {
            replay.Headless = true;
        } else if (arg == "--version") {
            std::printf("GlimmerBay %s\n", BBX_VERSION);
            line.ExitNow = 0;
            return line;
        } else {
            return UsageError("unknown option " + std::string(arg));
        }
    }
    const bool replayOption = replay.Headless || !replay.FramesTo.empty() || replay.FrameStep != 1;
    if (replay.File.empty() && replayOption) return UsageError("--headless, --frames-to and --frame-step go with --replay");
    if (replay.FrameStep != 1 && replay.FramesTo.empty()) return UsageError("--frame-step goes with --frames-to");
    if (!replay.File.empty() && !line.Record.empty()) return UsageError("--record and --replay cannot go together");
    if (!replay.File.empty()) {
        replay.Windowed = line.Windowed;
        line.Replay = replay;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    const TCommandLine commandLine = ParseCommandLine(argc, argv);
    if (commandLine.ExitNow) return *commandLine.ExitNow;
    // A file-size limit then fails the write (Errors.log) instead of killing the game.
    std::signal(SIGXFSZ, SIG_IGN);
    const TFloatingPointControl floatingPoint;
    // Numbers in the data files are read with the user's decimal separator
    // (and a point); the process itself stays in the "C" locale.
    bbx::UseDecimalSeparator(bbx::UserDecimalSeparator());
    const std::string directory = bbx::DataDirectory(gb::kGameFolderName);
    if (commandLine.Replay) return gb::RunReplay(*commandLine.Replay, directory, CreateGame);
    // Seeded from the clock, the seed kept for a recording.
    const auto seed = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    bbx::RandSeed(seed);
    try {
        gb::TSdlTextRenderer text;
        gb::TMixerSoundLayer sound;
        gb::TSdlWindow window("Glimmer Bay");
        gb::TSdlSystemServices system;
        std::optional<gb::TReplayRecorder> recorder;
        try {
            if (!commandLine.Record.empty()) recorder.emplace(system, commandLine.Record, seed, directory);
        } catch (const gb::EReplayError& e) {
            std::fprintf(stderr, "GlimmerBay: %s\n", e.what());
            return 1;
        }
        gb::TSystemServices& services = recorder ? static_cast<gb::TSystemServices&>(*recorder) : system;
        gb::TfrmMain form(window, text, sound, services, directory, CreateGame);
        form.StartWindowed = commandLine.Windowed;
        if (recorder) recorder->Attach(form);
        gb::TWindowEvents& events = recorder ? static_cast<gb::TWindowEvents&>(*recorder) : form;
        gb::TSdlEventLoop loop(window, form.DXDraw(), form.DXTimer(), events);
        form.OnClose = [&loop] { loop.Quit(); };
        form.FormCreate();
        if (!form.Closing()) loop.Run();
        if (recorder) recorder->Finish();
        if (form.EndedByError()) {
            ReportEnd(form.LastError(), directory);
            return 1;
        }
        return 0;
    } catch (...) {
        const gb::TErrorInfo error = gb::DescribeError(std::current_exception());
        ReportEnd(error.ShownName() + ": " + error.Message, directory);
        return 1;
    }
}
