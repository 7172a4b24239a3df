// GlimmerBay: the game's main window on the SDL platform layer, full screen.

#include <cfenv>
#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/frm_main.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/program_directory.h"
#include "core/random.h"
#include "flow/game.h"
#include "flow/screen.h"
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

void ReportEnd(const std::string& cp1250Text) {
    std::fprintf(stderr, "GlimmerBay: %s\n(Errors.log beside the program has the details.)\n",
                 bbx::Cp1250ToUtf8(cp1250Text).c_str());
}

}  // namespace

int main() {
    // A file-size limit then fails the write (Errors.log) instead of killing the game.
    std::signal(SIGXFSZ, SIG_IGN);
    const TFloatingPointControl floatingPoint;
    bbx::Randomize();
    try {
        gb::TSdlTextRenderer text;
        gb::TMixerSoundLayer sound;
        gb::TSdlWindow window("Glimmer Bay");
        gb::TSdlSystemServices system;
        gb::TfrmMain form(window, text, sound, system, bbx::ProgramDirectory(), CreateGame);
        gb::TSdlEventLoop loop(window, form.DXDraw(), form.DXTimer(), form);
        form.OnClose = [&loop] { loop.Quit(); };
        form.FormCreate();
        if (!form.Closing()) loop.Run();
        if (form.EndedByError()) {
            ReportEnd(form.LastError());
            return 1;
        }
        return 0;
    } catch (...) {
        const gb::TErrorInfo error = gb::DescribeError(std::current_exception());
        ReportEnd(error.ShownName() + ": " + error.Message);
        return 1;
    }
}
