// GlimmerBay: the game's main window on the SDL platform layer, full screen.

#include <cfenv>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>

#include "app/frm_main.h"
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
    "usage: GlimmerBay [--windowed | --fullscreen]\n"
    "       GlimmerBay --help | --version\n"
    "\n"
    "  --windowed     start in an 800 x 600 window, whatever Config.xml says\n"
    "  --fullscreen   start full screen, whatever Config.xml says\n"
    "  --help         show this text\n"
    "  --version      show the version\n"
    "Alt+Enter switches between full screen and a window while playing.\n";

// What the command line asks for: a window mode, or to end at once with
// the exit status given.
struct TCommandLine {
    std::optional<bool> Windowed;
    std::optional<int> ExitNow;
};

TCommandLine ParseCommandLine(int argc, char** argv) {
    TCommandLine line;
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
        } else if (arg == "--version") {
            std::printf("GlimmerBay %s\n", BBX_VERSION);
            line.ExitNow = 0;
            return line;
        } else {
            std::fprintf(stderr, "GlimmerBay: unknown option %s\n%s", argv[i], kUsage);
            line.ExitNow = kExitUsage;
            return line;
        }
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
    bbx::Randomize();
    const std::string directory = bbx::DataDirectory(gb::kGameFolderName);
    try {
        gb::TSdlTextRenderer text;
        gb::TMixerSoundLayer sound;
        gb::TSdlWindow window("Glimmer Bay");
        gb::TSdlSystemServices system;
        gb::TfrmMain form(window, text, sound, system, directory, CreateGame);
        form.StartWindowed = commandLine.Windowed;
        gb::TSdlEventLoop loop(window, form.DXDraw(), form.DXTimer(), form);
        form.OnClose = [&loop] { loop.Quit(); };
        form.FormCreate();
        if (!form.Closing()) loop.Run();
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
