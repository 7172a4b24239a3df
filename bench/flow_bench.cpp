#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "app/frm_main.h"
#include "flow/menu.h"
#include "runtime/display.h"
#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/platform/null/manual_system_services.h"
#include "runtime/platform/null/null_presenter.h"
#include "runtime/platform/sdl_text_renderer.h"

namespace {

std::unique_ptr<gb::TGameScreen> NoGame(const gb::TScreenServices&) { return nullptr; }

// The program as it starts: the real font and sound layer (on SDL's silent
// audio driver), the shipped data files.
struct TProgram {
    TProgram() : Form(Screen, Text, Sound, Clock, GB_DATA_DIR, NoGame) {
        Screen.Recording = false;  // frames go nowhere: what is measured is the game's own work
        Form.FormCreate();
    }

    void Frame(std::uint32_t elapsed = 16) {
        Clock.Now += elapsed;
        Form.DXTimer().Idle(Clock.Now);
    }

    gb::TNullPresenter Screen;
    gb::TSdlTextRenderer Text;
    gb::TMixerSoundLayer Sound;
    gb::TManualSystemServices Clock;
    gb::TfrmMain Form;
};

void QuietAudio() { setenv("SDL_AUDIODRIVER", "dummy", 1); }

void BM_IntroFrame(benchmark::State& state) {
    QuietAudio();
    TProgram program;
    if (!program.Form.Intro()) state.SkipWithError("the intro did not start");
    for (auto _ : state) program.Frame();
}
BENCHMARK(BM_IntroFrame)->Unit(benchmark::kMicrosecond);

void BM_MenuFrame(benchmark::State& state) {
    QuietAudio();
    TProgram program;
    program.Frame();
    gb::TVirtualKey key = ' ';
    program.Form.KeyDown(key, 0);
    // The pointer over a button, the credits well inside the panel.
    program.Form.MouseMove(0, 600, 230);
    program.Frame(15000);
    if (!program.Form.Menu() || !program.Form.ErrorText().empty()) state.SkipWithError("the menu did not come up");
    for (auto _ : state) program.Frame();
}
BENCHMARK(BM_MenuFrame)->Unit(benchmark::kMicrosecond);

void BM_ColdStartToFirstIntroFrame(benchmark::State& state) {
    QuietAudio();
    for (auto _ : state) {
        std::optional<TProgram> program;
        program.emplace();
        program->Frame();
        benchmark::DoNotOptimize(program->Form.DXDraw().Surface().Pixel(400, 300));
        state.PauseTiming();
        program.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColdStartToFirstIntroFrame)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
