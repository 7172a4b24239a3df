#include "flow/menu.h"

#include <memory>

#include "core/code_page.h"
#include "core/rounding.h"
#include "flow/ui_button.h"
#include "runtime/data_file.h"
#include "runtime/gfx_matrix.h"
#include "world/gfx.h"

namespace gb {
namespace {

constexpr TRect kCreditsPanel{75, 100, 425, 500};
constexpr TRect kCreditsText{79, 104, 421, 496};
// The wrap-around test measures the text 4 pixels wider than it is drawn.
constexpr int kCreditsMeasureWidth = 346;
constexpr long double kScrollPerMillisecond = 0.02L;

}  // namespace

TMenu::TMenu(const TScreenServices& services, TCredits credits) : Services(services) {
    AddButton(525, 203, "Nowa gra", &TMenu::NewGameClick);
    AddButton(525, 268, "WWW", &TMenu::WebClick);
    AddButton(525, 333, bbx::Pl<"Wyjście">(), &TMenu::ExitClick);
    if (credits == TCredits::Load) LoadCredits();
}

void TMenu::AddButton(std::int32_t x, std::int32_t y, const std::string& caption, void (TMenu::*click)()) {
    auto button = std::make_unique<TUIButton>(Services.Gfx, Services.Sfx, x, y);
    button->Caption = caption;
    button->OnClick = [this, click] { (this->*click)(); };
    Buttons.Add(std::move(button));
}

void TMenu::LoadCredits() {
    const auto document = LoadDataFile(Services.Directory, "Credits.xml");
    for (std::int32_t i = 0; i < document->ChildCount(); ++i) {
        if (!document->IsTag(i, "credits")) continue;
        CreditsText = static_cast<const TXMLTag&>(document->Child(i)).NodeText();
        return;
    }
}

void TMenu::Update(std::uint32_t, std::uint32_t elapsed) {
    Scrolled = static_cast<float>(Scrolled + elapsed * kScrollPerMillisecond);
    const Tgfx_Font& font = Services.Gfx.Font;
    // Scrolled out at the top: in again from the bottom.
    if (static_cast<float>(font.LineCount(kCreditsMeasureWidth, CreditsText) * font.Height()) < Scrolled)
        Scrolled = StartScroll;
}

TScreenResult TMenu::Advance(std::uint32_t now, std::uint32_t elapsed) {
    Update(now, elapsed);
    const std::int32_t choice = Chosen;
    // Handed over once: a page that failed to open is not tried every frame.
    ClearChoice();
    switch (choice) {
        case NewGameChoice: return TScreenResult::NewGame;
        case WebPageChoice: return TScreenResult::OpenWebPage;
        case ExitChoice: return TScreenResult::Exit;
        default: return TScreenResult::Stay;
    }
}

void TMenu::Draw(TSurface& target) {
    TGfx& gfx = Services.Gfx;
    gfx.Font.DrawText(target, 400, 25, "Glimmer Bay", 0.5f, 0, 2);
    gfx.Font.DrawText(target, 795, 595, "1.00", 1, 1, 1);
    TileDraw(target, gfx.GreyImage, kCreditsPanel, false, gfx.GreyImage.ClientRect());
    gfx.Font.DrawTextRect(target, kCreditsText, static_cast<int>(bbx::RoundHalfEven(Scrolled)), CreditsText, 0, 1);
    Buttons.Draw(target);
}

void TMenu::MouseMove(std::int32_t x, std::int32_t y) { Buttons.MouseMove(x, y); }

void TMenu::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
    Buttons.MouseDown(button, shift, x, y);
}

void TMenu::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
    Buttons.MouseUp(button, shift, x, y);
}

}  // namespace gb
