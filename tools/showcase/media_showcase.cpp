// A program to look at the display services as a player would: the font
// strip and text in all its alignments, the generated textures (snow, wall,
// bars, the three button states), sphere models rendered into sprites, and
// the window with its Alt+Enter toggle.
//
//   media_showcase [--32] [--windowed] [--models FILE]
//
// Esc ends it, B beeps, the mouse hovers and presses the buttons.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "core/bbx_collection.h"
#include "core/code_page.h"
#include "core/program_directory.h"
#include "core/random.h"
#include "core/render_model.h"
#include "runtime/display.h"
#include "runtime/frame_timer.h"
#include "runtime/game_canvas.h"
#include "runtime/gfx_font.h"
#include "runtime/gfx_matrix.h"
#include "runtime/platform/mixer_sound_layer.h"
#include "runtime/platform/sdl_event_loop.h"
#include "runtime/platform/sdl_services.h"
#include "runtime/platform/sdl_text_renderer.h"
#include "runtime/platform/sdl_window.h"

using namespace gb;
using bbx::RGB;

namespace {

struct TOptions {
    bool ThirtyTwoBits = false;
    bool Windowed = false;
    std::string Models = bbx::ProgramDirectory() + "../bin/models.bbx";
};

// A snowman of our own, in case no model file is at hand.
bbx::Tbbx_model Snowman() {
    bbx::Tbbx_model m;
    m.Name = "Snowman";
    m.I1 = 70;
    m.I2 = 110;
    m.AddElement(bbx::MakeSphere(RGB(240, 240, 250), 0, 170, 0, 90));
    m.AddElement(bbx::MakeSphere(RGB(245, 245, 255), 0, 20, 0, 70));
    m.AddElement(bbx::MakeSphere(RGB(250, 250, 255), 0, -95, 0, 50));
    m.AddElement(bbx::MakeSphere(RGB(20, 20, 20), -18, -110, -42, 8));
    m.AddElement(bbx::MakeSphere(RGB(20, 20, 20), 18, -110, -42, 8));
    m.AddElement(bbx::MakeSeries(RGB(255, 120, 0), 3, 0, -95, -45, 9, 0, -92, -85, 3));
    m.AddElement(bbx::MakeSeries(RGB(200, 30, 30), 6, -45, -55, -20, 14, 45, -55, -20, 14));
    m.AddElement(bbx::MakeSeries(RGB(60, 40, 20), 4, 0, -150, 0, 40, 0, -185, 0, 30));
    return m;
}

class TShowcase : public TWindowEvents {
public:
    explicit TShowcase(const TOptions& options) : Options(options) {
        Display.SetBitsPerPixel(options.ThirtyTwoBits ? 32 : 16);
        Display.SetWindowed(options.Windowed);
        Display.OnInitialize = [this] { CreateImages(); };
        Timer.OnTimer = [this] { Frame(); };
        Timer.OnActivate = [this] { LastTick = TickCount(); };
        Sound.Start(44100, 16);
    }

    int Run() {
        Display.Initialize();
        ShowSystemCursor(false);
        LastTick = TickCount();
        Timer.SetEnabled(true, LastTick);
        Loop.Run();
        Timer.SetEnabled(false, TickCount());
        ShowSystemCursor(true);
        Display.Finalize();
        return 0;
    }

    void KeyDown(TVirtualKey& key, TShiftState shift) override {
        char line[64];
        std::snprintf(line, sizeof line, "klawisz %u, shift %u", unsigned{key}, unsigned{shift});
        LastKey = line;
        if (key == vk::Escape) Loop.Quit();
        if (key == 'B') Sound.Beep(1000, 100);
    }
    void KeyUp(TVirtualKey&, TShiftState) override {}
    void MouseMove(TShiftState, int x, int y) override {
        MouseX = x;
        MouseY = y;
    }
    void MouseDown(TMouseButton button, TShiftState, int x, int y) override {
        if (button == TMouseButton::Left) Pressed = ButtonAt(x, y);
    }
    void MouseUp(TMouseButton, TShiftState, int x, int y) override {
        if (Pressed >= 0 && Pressed == ButtonAt(x, y)) Clicked = Pressed;
        Pressed = -1;
    }
    void FocusChanged(bool) override {}

private:
    static constexpr int ButtonX = 585;
    static constexpr std::array<int, 3> ButtonY{338, 406, 474};

    int ButtonAt(int x, int y) const {
        for (int i = 0; i < 3; ++i)
            if (x >= ButtonX && x < ButtonX + 200 && y >= ButtonY[i] && y < ButtonY[i] + 65) return i;
        return -1;
    }

    void Grain(TSurface& surface, int w, int h, bbx::TColor colour) {
        Tgfx_Matrix m;
        m.SetSize(w, h);
        m.AddNoise(colour);
        surface.SetSize(w, h);
        m.DrawTo(surface, 0, 0);
    }

    void CreateImages() {
        Font = std::make_unique<Tgfx_Font>(Display, "Verdana", 9, fsBold,
                                           std::vector<bbx::TColor>{RGB(128, 128, 128), RGB(255, 255, 255),
                                                                    RGB(0, 255, 255)});
        Grain(Ground, 48, 48, RGB(220, 220, 220));
        Wall.SetSize(48, 72);
        Tgfx_Matrix top, front;
        top.SetSize(48, 48);
        top.AddNoise(RGB(192, 192, 192));
        top.DrawTo(Wall, 0, 0);
        front.SetSize(48, 24);
        front.AddNoise(RGB(128, 128, 128));
        front.DrawTo(Wall, 0, 48);
        Grain(Grey, 16, 16, RGB(96, 96, 96));
        Grain(Red, 16, 16, RGB(255, 0, 0));
        Grain(Blue, 16, 16, RGB(0, 0, 255));
        std::array<Tgfx_Matrix, 3> button;
        button[0].SetSize(200, 65);
        button[0].AddNoise(RGB(64, 128, 64));
        button[2].CopyFrom(button[0]);
        button[2].Bevel(0, -96, 10);
        button[0].Bevel(0, 96, 10);
        button[1].CopyFrom(button[0]);
        button[0].BrightenAll(-16);
        for (int i = 0; i < 3; ++i) {
            Buttons[static_cast<std::size_t>(i)] = std::make_unique<TSurface>(Display);
            Buttons[static_cast<std::size_t>(i)]->SetSize(200, 65);
            button[static_cast<std::size_t>(i)].DrawTo(*Buttons[static_cast<std::size_t>(i)], 0, 0);
        }
        *Models.Add() = Snowman();
        try {
            Models.LoadFromFile(Options.Models);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "media_showcase: %s\n", bbx::Cp1250ToUtf8(e.what()).c_str());
        }
    }

    void DrawModel(TSurface& target, const bbx::Tbbx_model& model, int x, int bottom, float yaw, float zoom) {
        if (model.I1 < 1 || model.I2 < 1 || model.I1 > 400 || model.I2 > 400) return;
        TSurface sprite(Display);
        const int w = static_cast<int>(model.I1), h = static_cast<int>(model.I2);
        sprite.SetSize(w, h);
        sprite.Fill(0);
        bbx::RenderModel(model, sprite.Canvas(), w, h, yaw, 0.3f, zoom);
        sprite.ReleaseCanvas();
        target.Draw(x - w / 2, bottom - h, sprite, sprite.ClientRect(), true);
    }

    void Shadowed(TSurface& target, int x, int y, const std::string& text, float h, float v) {
        Font->DrawText(target, x + 1, y + 1, text, h, v, 0);
        Font->DrawText(target, x, y, text, h, v, 1);
    }

    void Frame() {
        const std::uint32_t now = TickCount();
        const std::uint32_t elapsed = now - LastTick;
        LastTick = now;
        Scroll += static_cast<float>(elapsed) * 0.03f;
        Yaw += static_cast<float>(elapsed) * 0.001f;
        if (Display.CanDraw()) {
            Draw(Display.Surface());
            Display.Flip();
        }
    }

    void Draw(TSurface& back) {
        back.Fill(0);
        // Snow with a row of wall blocks standing on it.
        TileDraw(back, Ground, Bounds(0, 0, 800, 120), false, Ground.ClientRect());
        for (int x = 24; x < 800; x += 144) back.Draw(x, 40, Wall, Wall.ClientRect(), false);

        // The glyph strip, in three pieces, over a dark panel.
        const TSurface& strip = Font->Strip();
        back.Canvas().SetBrushColor(RGB(0, 0, 96));
        back.Canvas().FillRect(0, 128, 800, 136 + 3 * strip.Height());
        back.ReleaseCanvas();
        for (int piece = 0; piece < 3; ++piece) {
            const int from = piece * 780;
            back.Draw(10, 132 + piece * strip.Height(), strip, TRect{from, 0, from + 780, strip.Height()}, true);
        }

        const std::string sentence = bbx::Pl<"Zażółć gęślą jaźń — ĄĆĘŁŃÓŚŹŻ ąćęłńóśźż">();
        const int lineY = 146 + 3 * strip.Height();
        Shadowed(back, 10, lineY, sentence, 0, 0);
        Shadowed(back, 790, lineY + 18, bbx::Pl<"Do prawej: Wesołych Świąt!">(), 1, 0);
        Shadowed(back, 400, lineY + 36, bbx::Pl<"Na środku, w kolorze cienia i bieli">(), 0.5f, 0);
        Font->DrawText(back, 400, lineY + 54, bbx::Pl<"Akwamaryna: wyróżnienie">(), 0.5f, 0, 2);

        // A scrolling, word-wrapped panel like the credits.
        const TRect panel{10, 340, 270, 590};
        TileDraw(back, Grey, panel, false, Grey.ClientRect());
        const std::string credits =
            bbx::Pl<"Glimmer Bay\r\n\r\nGra o zimowej zatoce, w której każdy obrazek jest zbudowany z kul. "
                    "Bohater rozdaje prezenty i rózgi, wiesza bombki na choinkach i powozi zaprzęgiem "
                    "reniferów.\r\n\r\nTekst zawija się na odstępach, a bardzo długie słowo "
                    "Konstantynopolitańczykowianeczka jest cięte tam, gdzie kończy się szerokość.">();
        const int textHeight = Font->LineCount(panel.Width() - 8, credits) * Font->Height();
        const int scroll = static_cast<int>(Scroll) % (textHeight + panel.Height()) - panel.Height() + 8;
        Font->DrawTextRect(back, TRect{panel.Left + 4, panel.Top + 4, panel.Right - 4, panel.Bottom - 4}, scroll,
                           credits, 0, 1);

        // Bars tiled from the 16 x 16 textures, cut at their ends.
        TileDraw(back, Grey, Bounds(290, 350, 270, 16), false, Grey.ClientRect());
        TileDraw(back, Red, Bounds(290, 374, 203, 16), false, Red.ClientRect());
        TileDraw(back, Blue, Bounds(290, 398, 117, 16), false, Blue.ClientRect());

        // The three button states; the pointer picks hover and press.
        const std::array<std::string, 3> captions{bbx::Pl<"Nowa gra">(), bbx::Pl<"WWW">(), bbx::Pl<"Wyjście">()};
        const int hovered = ButtonAt(MouseX, MouseY);
        for (int i = 0; i < 3; ++i) {
            const std::size_t state = Pressed == i && hovered == i ? 2 : hovered == i ? 1 : 0;
            back.Draw(ButtonX, ButtonY[static_cast<std::size_t>(i)], *Buttons[state], Buttons[state]->ClientRect(), false);
            Shadowed(back, ButtonX + 100, ButtonY[static_cast<std::size_t>(i)] + 32, captions[static_cast<std::size_t>(i)],
                     0.5f, 0.5f);
        }

        // Models turning slowly.
        int x = 330;
        for (int i = 0; i < Models.Count() && x < 560; ++i, x += 70)
            DrawModel(back, *Models.Items(i), x, 585, Yaw + static_cast<float>(i), 180);

        // The display's own text drawing, as the narration uses it.
        TGameCanvas& canvas = back.Canvas();
        canvas.SetBrushStyle(bbx::TBrushStyle::Clear);
        canvas.SetFontName("Verdana");
        canvas.SetFontSize(12);
        canvas.SetFontStyle(fsBold);
        canvas.SetFontColor(RGB(255, 255, 128));
        canvas.TextOut(290, 425, bbx::Pl<"Narracja: płótno ekranu">());
        canvas.SetPenColor(RGB(255, 0, 0));
        canvas.Line(MouseX - 6, MouseY, MouseX + 7, MouseY);
        canvas.Line(MouseX, MouseY - 6, MouseX, MouseY + 7);
        back.ReleaseCanvas();

        char status[160];
        std::snprintf(status, sizeof status, "%d bpp, %s, %d fps, mysz %d,%d, %s%s", Display.BitsPerPixel(),
                      Display.Windowed() ? "okno" : "pełny ekran", Timer.FrameRate(), MouseX, MouseY, LastKey.c_str(),
                      Clicked >= 0 ? ", kliknięto" : "");
        Shadowed(back, 795, 582, bbx::Utf8ToCp1250(status), 1, 0);
    }

    TOptions Options;
    TSdlTextRenderer Text;
    TSdlWindow Window{bbx::Pl<"Glimmer Bay – pokaz ekranu">()};
    TDisplay Display{Window, &Text};
    TFrameTimer Timer;
    TMixerSoundLayer Sound;
    TSdlEventLoop Loop{Window, Display, Timer, *this};
    std::unique_ptr<Tgfx_Font> Font;
    TSurface Ground{Display}, Wall{Display}, Grey{Display}, Red{Display}, Blue{Display};
    std::array<std::unique_ptr<TSurface>, 3> Buttons;
    bbx::Tbbx_collection Models;
    std::uint32_t LastTick = 0;
    float Scroll = 0;
    float Yaw = 0;
    int MouseX = 400, MouseY = 300;
    int Pressed = -1, Clicked = -1;
    std::string LastKey = "brak klawisza";
};

}  // namespace

int main(int argc, char** argv) {
    TOptions options;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--32"))
            options.ThirtyTwoBits = true;
        else if (!std::strcmp(argv[i], "--windowed"))
            options.Windowed = true;
        else if (!std::strcmp(argv[i], "--models") && i + 1 < argc)
            options.Models = argv[++i];
        else {
            std::fprintf(stderr, "usage: media_showcase [--32] [--windowed] [--models FILE]\n");
            return 2;
        }
    }
    try {
        bbx::Randomize();
        TShowcase showcase(options);
        return showcase.Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "media_showcase: %s\n", bbx::Cp1250ToUtf8(e.what()).c_str());
        return 1;
    }
}
