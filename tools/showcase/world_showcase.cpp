// A program to look at the game world as a player would: a winter scene with
// every kind of object (a house of wall blocks, trees, Christmas trees, posts,
// the hero, parents, children, snowmen, the angel, grandfather frost, fallen
// figures), sleigh teams at several headings, a speech bubble, an explosion
// and crash smoke, all drawn by the object list in depth order over the
// ground tiles.
//
//   world_showcase [--png FILE] [--frames N] [--footprints] [--32] [--windowed] [--models DIR]
//
// --footprints outlines every object's square footprint in red, to check
// that each figure stands on its own.
// With --png it runs N frames of 40 ms (default 25) without a window and
// writes the picture; otherwise it shows the scene live until Esc.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/code_page.h"
#include "core/png_image.h"
#include "core/program_directory.h"
#include "core/random.h"
#include "runtime/display.h"
#include "runtime/frame_timer.h"
#include "runtime/game_canvas.h"
#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/platform/sdl_event_loop.h"
#include "runtime/platform/sdl_services.h"
#include "runtime/platform/sdl_text_renderer.h"
#include "runtime/platform/sdl_window.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/cos_na_ziemi.h"
#include "world/efekt.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/still_game.h"
#include "world/zaprzeg.h"

using namespace gb;

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

struct TOptions {
    std::string Png;
    int Frames = 25;
    bool Footprints = false;
    bool ThirtyTwoBits = false;
    bool Windowed = false;
    std::string Models = bbx::ProgramDirectory() + "../bin/";
};

void WritePng(const TSurface& surface, const std::string& path) {
    const std::string bytes = bbx::EncodePng(surface.Buffer(), bbx::TPngAlpha::Opaque);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
    if (!written) throw std::runtime_error("cannot write " + path);
}

class TScene {
public:
    TScene(bbx::TPixelFormat format, TTextRenderer& text, TSoundLayer& sound, const std::string& models)
        : Gfx(format, text), Sfx(sound, bbx::ProgramDirectory()) {
        Gfx.Initialize(models);
        Sfx.LoadSounds();
        Game.List = &List;
        Build();
    }

    void Update(std::uint32_t elapsed) {
        Now += elapsed;
        List.Update(Now, elapsed, 0, 0);
        KeepGoing();
    }

    void Draw(TSurface& back, bool footprints) {
        for (int row = 0; row < 13; ++row)
            for (int column = 0; column < 17; ++column) Gfx.DrawGround(back, column * 48, row * 48);
        List.Draw(back, 0, 0);
        List.DrawSpeechBubbles(back, 0, 0, back.ClientRect());
        if (footprints) DrawFootprints(back);
    }

private:
    template <class T, class... Arguments>
    T& Add(std::int32_t layer, float x, float y, Arguments... arguments) {
        auto object = std::make_unique<T>(Context, arguments...);
        object->X = x;
        object->Y = y;
        T& added = *object;
        List.Add(std::move(object), layer);
        return added;
    }

    void Build() {
        bbx::RandSeed(12);
        const std::int32_t objects = TLista::ObjectLayer;
        // A house of 6 x 4 cells with its door in the bottom wall.
        for (int i = 0; i < 6; ++i)
            for (int j = 0; j < 4; ++j)
                if ((i == 0 || i == 5 || j == 0 || j == 3) && !(i == 2 && j == 3))
                    Add<TMurek>(objects, static_cast<float>(1 + i) * 48, static_cast<float>(1 + j) * 48);

        // Scenery along the top right, the big tree behind a post and a child.
        Add<TStaticCos>(objects, 380, 110, TStaticCos::Tree);
        Add<TStaticCos>(objects, 450, 120, TStaticCos::ChristmasTree).Id = "choinka";
        Add<TStaticCos>(objects, 515, 110, TStaticCos::BurntChristmasTree);
        Add<TStaticCos>(objects, 640, 170, TStaticCos::BigChristmasTree);
        Add<TStaticCos>(objects, 600, 200, TStaticCos::Post);
        Add<TStaticCos>(objects, 735, 90, TStaticCos::Post);
        Lit = &Add<TStaticCos>(objects, 740, 260, TStaticCos::ChristmasTree);
        Lit->Fuse = 800;

        auto& hero = Add<TBohater>(objects, 150, 300);
        hero.Angle = -kPi / 2;
        Game.HeroObject = &hero;
        hero.SetCommand(TBohater::Walk, 150, 560, nullptr);

        auto& parent = Add<TPostac>(objects, 300, 300, TPostac::Parent);
        parent.Facing = 0.4f;
        parent.Say(bbx::Pl<"Wesołych Świąt! Czy widziałeś mojego syna?">());
        Add<TPostac>(objects, 640, 215, TPostac::Child).Speed = 0;  // in front of the big tree
        Add<TPostac>(objects, 360, 330, TPostac::Child);
        Add<TPostac>(objects, 420, 300, TPostac::Snowman).Speed = 0;
        Add<TPostac>(objects, 230, 420, TPostac::Angel);
        Add<TPostac>(objects, 300, 430, TPostac::GrandfatherFrost);

        const std::int32_t ground = TLista::GroundLayer;
        Add<TCosNaZiemi>(ground, 80, 330, TPostac::Parent).Timer = TCosNaZiemi::Never;
        Add<TCosNaZiemi>(ground, 80, 380, TPostac::Child).Timer = TCosNaZiemi::Never;
        Add<TCosNaZiemi>(ground, 80, 430, TPostac::Snowman);
        Add<TCosNaZiemi>(ground, 80, 480, TPostac::Angel);

        // Sleigh teams heading right, up, left-down and down.
        const float headings[] = {0, kPi / 2, 5 * kPi / 4, 3 * kPi / 2};
        const float places[][2] = {{520, 380}, {720, 470}, {480, 520}, {620, 330}};
        for (int i = 0; i < 4; ++i) {
            auto& sleigh = Add<TZaprzeg>(objects, places[i][0], places[i][1]);
            sleigh.Angle = headings[i];
            sleigh.Ridden = i % 2 == 0;
            sleigh.Speed = i == 3 ? 0 : 0.0001f;  // running legs, barely moving
        }
        Add<TEfekt>(TLista::EffectLayer, 330, 520, TEfekt::CrashSmoke);
    }

    void DrawFootprints(TSurface& back) const {
        TGameCanvas& canvas = back.Canvas();
        canvas.SetBrushStyle(bbx::TBrushStyle::Clear);
        canvas.SetPenColor(bbx::RGB(255, 0, 0));
        for (std::int32_t layer = 0; layer < TLista::LayerCount; ++layer)
            for (std::int32_t i = 0; i < List.Count(layer); ++i) {
                const TCos& o = List.Item(layer, i);
                const std::int32_t x = RoundToPixel(o.X);
                const std::int32_t y = RoundToPixel(o.Y);
                canvas.Rectangle(x - o.Radius, y - o.Radius, x + o.Radius, y + o.Radius);
            }
        back.ReleaseCanvas();
    }

    // In the live scene the tree explodes again and again, and the smoke comes back.
    void KeepGoing() {
        if (Lit->Kind == TStaticCos::BurntChristmasTree && List.Count(TLista::EffectLayer) == 0) {
            Lit->Kind = TStaticCos::ChristmasTree;
            Lit->Fuse = 1500;
            Add<TEfekt>(TLista::EffectLayer, 330, 520, TEfekt::CrashSmoke);
        }
        TBohater& hero = *Game.HeroObject;
        if (hero.Command == TBohater::NoCommand)
            hero.SetCommand(TBohater::Walk, 150, hero.Y > 400 ? 300 : 560, nullptr);
    }

    TGfx Gfx;
    TSfx Sfx;
    TStillGame Game;
    TWorldContext Context{Gfx, Sfx, Game};
    TLista List{Context};
    TStaticCos* Lit = nullptr;
    std::uint32_t Now = 100000;
};

int WritePicture(const TOptions& options) {
    const auto format = options.ThirtyTwoBits ? bbx::TPixelFormat::Xrgb8888 : bbx::TPixelFormat::Rgb565;
    TSdlTextRenderer text;
    TRecordingSoundLayer silence;  // a picture makes no sound
    TScene scene(format, text, silence, options.Models);
    for (int frame = 0; frame < options.Frames; ++frame) scene.Update(40);
    TSurface back(format, &text);
    back.SetSize(800, 600);
    scene.Draw(back, options.Footprints);
    WritePng(back, options.Png);
    return 0;
}

class TLiveShow : public TWindowEvents {
public:
    explicit TLiveShow(const TOptions& options) : Options(options) {
        Display.SetBitsPerPixel(options.ThirtyTwoBits ? 32 : 16);
        Display.SetWindowed(options.Windowed);
        Display.OnInitialize = [this] {
            Scene = std::make_unique<TScene>(Display.Format(), Text, Sound, Options.Models);
        };
        Timer.OnTimer = [this] { Frame(); };
        Timer.OnActivate = [this] { LastTick = TickCount(); };
    }

    int Run() {
        Display.Initialize();
        LastTick = TickCount();
        Timer.SetEnabled(true, LastTick);
        Loop.Run();
        Timer.SetEnabled(false, TickCount());
        Display.Finalize();
        return 0;
    }

    void KeyDown(TVirtualKey& key, TShiftState) override {
        if (key == vk::Escape) Loop.Quit();
    }
    void KeyUp(TVirtualKey&, TShiftState) override {}
    void MouseMove(TShiftState, int, int) override {}
    void MouseDown(TMouseButton, TShiftState, int, int) override {}
    void MouseUp(TMouseButton, TShiftState, int, int) override {}
    void FocusChanged(bool) override {}

private:
    void Frame() {
        const std::uint32_t now = TickCount();
        const std::uint32_t elapsed = now - LastTick;
        LastTick = now;
        Scene->Update(elapsed);
        if (!Display.CanDraw()) return;
        Display.Surface().Fill(0);
        Scene->Draw(Display.Surface(), Options.Footprints);
        Display.Flip();
    }

    TOptions Options;
    TSdlTextRenderer Text;
    TSdlWindow Window{bbx::Pl<"Glimmer Bay – pokaz świata">()};
    TDisplay Display{Window, &Text};
    TFrameTimer Timer;
    TMixerSoundLayer Sound;
    TSdlEventLoop Loop{Window, Display, Timer, *this};
    std::unique_ptr<TScene> Scene;
    std::uint32_t LastTick = 0;
};

}  // namespace

int main(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--png") && i + 1 < argc)
            options.Png = argv[++i];
        else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc)
            options.Frames = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--footprints"))
            options.Footprints = true;
        else if (!std::strcmp(argv[i], "--32"))
            options.ThirtyTwoBits = true;
        else if (!std::strcmp(argv[i], "--windowed"))
            options.Windowed = true;
        else if (!std::strcmp(argv[i], "--models") && i + 1 < argc)
            options.Models = std::string(argv[++i]) + "/";
        else {
            std::fprintf(stderr, "usage: world_showcase [--png FILE] [--frames N] [--footprints] [--32] [--windowed] "
                                 "[--models DIR]\n");
            return 2;
        }
    }
    try {
        if (!options.Png.empty()) return WritePicture(options);
        TLiveShow show(options);
        return show.Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "world_showcase: %s\n", bbx::Cp1250ToUtf8(e.what()).c_str());
        return 1;
    }
}
