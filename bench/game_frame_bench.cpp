#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "flow/game.h"
#include "runtime/display.h"
#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/platform/null/null_presenter.h"
#include "runtime/platform/sdl_text_renderer.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"

namespace {

struct TQuietAudio {
    TQuietAudio() { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

// The shipped game with the real font, on SDL's silent audio driver.
struct TShippedGame {
    explicit TShippedGame(int bits) : Display(Screen, &Text), Gfx(Format(bits), Text), Sfx(Sound, Directory) {
        Screen.Recording = false;  // frames go nowhere: what is measured is the game's own work
        Display.SetBitsPerPixel(bits);
        Display.Initialize();
        Sfx.LoadSounds();
        Gfx.Initialize(Directory);
        Game = std::make_unique<gb::TGame>(Services);
    }
    static bbx::TPixelFormat Format(int bits) {
        return bits == 32 ? bbx::TPixelFormat::Xrgb8888 : bbx::TPixelFormat::Rgb565;
    }

    void Frame(std::uint32_t elapsed = 16) {
        Now += elapsed;
        Game->Update(Now, elapsed);
        gb::TSurface& back = Display.Surface();
        back.Fill(0);
        Game->Draw(back);
    }

    // Where the view holds the most objects of the map.
    void StandAtTheBusiestSpot() {
        gb::TLista& list = Game->Objects();
        float bestX = 0;
        float bestY = 0;
        int most = -1;
        for (int i = 0; i < list.Count(gb::TLista::ObjectLayer); ++i) {
            const gb::TCos& centre = list.Item(gb::TLista::ObjectLayer, i);
            if (std::abs(centre.X) > 100000) continue;
            int seen = 0;
            for (int j = 0; j < list.Count(gb::TLista::ObjectLayer); ++j) {
                const gb::TCos& other = list.Item(gb::TLista::ObjectLayer, j);
                seen += std::abs(other.X - centre.X) < 400 && std::abs(other.Y - centre.Y) < 300;
            }
            if (seen > most) {
                most = seen;
                bestX = centre.X;
                bestY = centre.Y + 30;  // beside it rather than inside it
            }
        }
        Game->Hero().X = bestX;
        Game->Hero().Y = bestY;
    }

    TQuietAudio Quiet;
    gb::TNullPresenter Screen;
    gb::TSdlTextRenderer Text;
    gb::TMixerSoundLayer Sound;
    const std::string Directory = GB_DATA_DIR;
    gb::TDisplay Display;
    gb::TGfx Gfx;
    gb::TSfx Sfx;
    std::int32_t MouseX = 400;
    std::int32_t MouseY = 300;
    const gb::TScreenServices Services{Display, Gfx, Sfx, Directory, MouseX, MouseY};
    std::unique_ptr<gb::TGame> Game;
    std::uint32_t Now = 10000;
};

void BM_GameFrameAtTheBusiestSpot(benchmark::State& state) {
    TShippedGame shipped(static_cast<int>(state.range(0)));
    // Past the opening film, on foot.
    for (int frame = 0; frame < 4000 && shipped.Game->Mode() != gb::TGame::PlayMode; ++frame)
        shipped.Game->Update(shipped.Now += 16, 16);
    if (shipped.Game->Mode() != gb::TGame::PlayMode) state.SkipWithError("the opening film did not end");
    shipped.StandAtTheBusiestSpot();
    for (int frame = 0; frame < 100; ++frame) shipped.Frame();  // sprites cached
    for (auto _ : state) shipped.Frame();
}
BENCHMARK(BM_GameFrameAtTheBusiestSpot)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
