#include <gtest/gtest.h>

#include "core/code_page.h"
#include "core/errors.h"
#include "flow/menu.h"
#include "flow/ui_button.h"
#include "support/flow_test_support.h"

using namespace gb;
using gb::test_support::TScreenBench;

namespace {

class MenuTest : public ::testing::Test {
protected:
    const TUIButton& Button(const TMenu& menu, int index) {
        return dynamic_cast<const TUIButton&>(menu.Windows().Item(index));
    }
    int HoverSounds() const { return Bench.Sound.PlayCount("sfx/09.wav"); }

    TScreenBench Bench;
};

// Points inside the three buttons.
constexpr int kButtonX = 600;
constexpr int kNewGameY = 230;
constexpr int kWebY = 300;
constexpr int kExitY = 360;

}  // namespace

TEST_F(MenuTest, StandsItsThreeButtonsOneBelowTheOther) {
    TMenu menu(Bench.Services);
    ASSERT_EQ(menu.Windows().Count(), 3);
    const char* captions[] = {"Nowa gra", "WWW", nullptr};
    const int tops[] = {203, 268, 333};
    for (int i = 0; i < 3; ++i) {
        const TUIButton& button = Button(menu, i);
        EXPECT_EQ(button.Bounds.Left, 525);
        EXPECT_EQ(button.Bounds.Top, tops[i]);
        EXPECT_EQ(button.Bounds.Right, 725);
        EXPECT_EQ(button.Bounds.Bottom, tops[i] + 65);
        EXPECT_EQ(button.Caption, captions[i] ? captions[i] : bbx::Pl<"Wyjście">());
    }
    EXPECT_EQ(bbx::Cp1250ToUtf8(Button(menu, 2).Caption), "Wyjście");
    EXPECT_EQ(menu.Choice(), TMenu::NoChoice);
    EXPECT_FLOAT_EQ(menu.Scroll(), -392);
}

TEST_F(MenuTest, AButtonClicksWhenReleasedWhileHovered) {
    TMenu menu(Bench.Services);
    menu.MouseMove(kButtonX, kExitY);
    menu.MouseDown(TMouseButton::Left, 0, kButtonX, kExitY);
    EXPECT_TRUE(Button(menu, 2).Pressed);
    EXPECT_EQ(menu.Choice(), TMenu::NoChoice);
    menu.MouseUp(TMouseButton::Left, 0, kButtonX, kExitY);
    EXPECT_FALSE(Button(menu, 2).Pressed);
    EXPECT_EQ(menu.Choice(), TMenu::ExitChoice);
}

TEST_F(MenuTest, EachButtonMakesItsChoice) {
    const int ys[] = {kNewGameY, kWebY, kExitY};
    const std::int32_t choices[] = {TMenu::NewGameChoice, TMenu::WebPageChoice, TMenu::ExitChoice};
    for (int i = 0; i < 3; ++i) {
        TMenu menu(Bench.Services);
        menu.MouseMove(kButtonX, ys[i]);
        menu.MouseDown(TMouseButton::Right, 0, kButtonX, ys[i]);
        menu.MouseUp(TMouseButton::Right, 0, kButtonX, ys[i]);
        EXPECT_EQ(menu.Choice(), choices[i]);
        menu.ClearChoice();
        EXPECT_EQ(menu.Choice(), TMenu::NoChoice);
    }
}

TEST_F(MenuTest, PressingThenLeavingTheButtonGivesNoClick) {
    TMenu menu(Bench.Services);
    menu.MouseMove(kButtonX, kNewGameY);
    menu.MouseDown(TMouseButton::Left, 0, kButtonX, kNewGameY);
    menu.MouseMove(100, 100);
    EXPECT_TRUE(Button(menu, 0).Pressed);
    EXPECT_FALSE(Button(menu, 0).Hovered);
    menu.MouseUp(TMouseButton::Left, 0, 100, 100);
    EXPECT_FALSE(Button(menu, 0).Pressed);
    EXPECT_EQ(menu.Choice(), TMenu::NoChoice);
}

TEST_F(MenuTest, AReleaseOverAHoveredButtonClicksEvenAfterAPressElsewhere) {
    TMenu menu(Bench.Services);
    menu.MouseDown(TMouseButton::Left, 0, 100, 100);
    menu.MouseMove(kButtonX, kWebY);
    menu.MouseUp(TMouseButton::Left, 0, kButtonX, kWebY);
    EXPECT_EQ(menu.Choice(), TMenu::WebPageChoice);
}

TEST_F(MenuTest, MovingAcrossTouchingButtonsPlaysTheHoverSoundOncePerButtonEntered) {
    TMenu menu(Bench.Services);
    menu.MouseMove(kButtonX, 266);
    EXPECT_TRUE(Button(menu, 0).Hovered);
    EXPECT_EQ(HoverSounds(), 1);
    menu.MouseMove(kButtonX, 267);
    EXPECT_EQ(HoverSounds(), 1);
    // The shared edge row belongs to the later button.
    menu.MouseMove(kButtonX, 268);
    EXPECT_FALSE(Button(menu, 0).Hovered);
    EXPECT_TRUE(Button(menu, 1).Hovered);
    EXPECT_EQ(HoverSounds(), 2);
    menu.MouseMove(kButtonX, 500);
    EXPECT_FALSE(Button(menu, 1).Hovered);
    menu.MouseMove(kButtonX, 510);
    EXPECT_EQ(HoverSounds(), 2);
}

TEST_F(MenuTest, TakesTheCreditsFromTheFirstCreditsElement) {
    Bench.Data.Write("Credits.xml",
                     "<?xml version=\"1.0\"?>\n<!-- about -->\n<notes>pomijane</notes>\n"
                     "<CREDITS>\n  Zimowa\n  gra<br/>\n  Autorzy <b>x</b>razem<br/></CREDITS>\n"
                     "<credits>druga</credits>");
    TMenu menu(Bench.Services);
    EXPECT_EQ(menu.Credits(), "Zimowa gra\r\nAutorzyrazem\r\n");
}

TEST_F(MenuTest, CreditsWithoutACreditsElementLeaveThePanelEmpty) {
    Bench.Data.Write("Credits.xml", "<napisy>nic</napisy>");
    TMenu menu(Bench.Services);
    EXPECT_EQ(menu.Credits(), "");
}

TEST_F(MenuTest, UnreadableCreditsRaiseUnlessTheMenuComesWithoutThem) {
    Bench.Data.Remove("Credits.xml");
    EXPECT_THROW(TMenu{Bench.Services}, bbx::EInOutError);
    TMenu menu(Bench.Services, TMenu::TCredits::Empty);
    EXPECT_EQ(menu.Credits(), "");
    EXPECT_EQ(menu.Windows().Count(), 3);
}

TEST_F(MenuTest, CreditsScrollAtTwentyPixelsPerSecondAndComeBackFromTheBottom) {
    TMenu menu(Bench.Services);
    menu.Update(0, 1000);
    EXPECT_FLOAT_EQ(menu.Scroll(), -372);
    menu.Update(0, 0);
    EXPECT_FLOAT_EQ(menu.Scroll(), -372);
    // Two lines of 12 pixels: at 24 the text is just gone, beyond it starts over.
    menu.Update(0, 19800);
    EXPECT_FLOAT_EQ(menu.Scroll(), 24);
    menu.Update(0, 1);
    EXPECT_FLOAT_EQ(menu.Scroll(), -392);
}

TEST_F(MenuTest, EmptyCreditsStartOverAsSoonAsTheyRiseAboveZero) {
    TMenu menu(Bench.Services, TMenu::TCredits::Empty);
    menu.Update(0, 19600);
    EXPECT_FLOAT_EQ(menu.Scroll(), 0);
    menu.Update(0, 1);
    EXPECT_FLOAT_EQ(menu.Scroll(), -392);
}

TEST_F(MenuTest, DrawsTitleVersionPanelAndCredits) {
    TMenu menu(Bench.Services);
    TSurface& screen = Bench.Screen();
    menu.Draw(screen);
    // Stand-in glyphs are 6 x 12 boxes, full inside from their second row
    // and column. "Glimmer Bay" is 66 wide, centred on 400, top at 25.
    EXPECT_EQ(screen.Pixel(368, 27), Bench.Mapped(bbx::RGB(0, 255, 255)));
    EXPECT_EQ(screen.Pixel(367, 27), 0u);
    // "1.00" is 24 wide, right at 795, bottom at 595.
    EXPECT_EQ(screen.Pixel(772, 585), Bench.Mapped(bbx::RGB(255, 255, 255)));
    EXPECT_EQ(screen.Pixel(772, 595), 0u);
    // The panel is the grey tile repeated over (75, 100) - (425, 500).
    const TSurface& tile = Bench.Gfx.GreyImage;
    EXPECT_EQ(screen.Pixel(75, 100), tile.Pixel(0, 0));
    EXPECT_EQ(screen.Pixel(424, 499), tile.Pixel(349 % 16, 399 % 16));
    EXPECT_EQ(screen.Pixel(74, 100), 0u);
    EXPECT_EQ(screen.Pixel(425, 499), 0u);
    // The credits start below the panel, so it is empty at first...
    EXPECT_EQ(screen.Pixel(80, 106), tile.Pixel(5, 6));

    // ...and after 392 pixels the first line stands at the text's top.
    menu.Update(0, 19600);
    menu.Draw(Bench.Screen());
    EXPECT_EQ(screen.Pixel(80, 106), Bench.Mapped(bbx::RGB(255, 255, 255)));
    EXPECT_EQ(screen.Pixel(80, 118), Bench.Mapped(bbx::RGB(255, 255, 255)));
    EXPECT_EQ(screen.Pixel(80, 130), tile.Pixel(5, 14)) << "two lines only";
}

TEST_F(MenuTest, ButtonsShowTheirStateAndTheCaptionSinksWhenPressed) {
    TMenu menu(Bench.Services);
    const auto look = [&](int image) { return Bench.Gfx.ButtonImages[static_cast<std::size_t>(image)]->Pixel(5, 7); };
    const auto drawn = [&] {
        TSurface& screen = Bench.Screen();
        menu.Draw(screen);
        return screen.Pixel(530, 210);
    };
    ASSERT_NE(look(0), look(1));
    ASSERT_NE(look(1), look(2));
    EXPECT_EQ(drawn(), look(0));
    // "Nowa gra" is 48 x 12, centred on (625, 235): its first box starts at 601.
    const std::uint32_t white = Bench.Mapped(bbx::RGB(255, 255, 255));
    EXPECT_EQ(Bench.Display.Surface().Pixel(602, 231), white);

    menu.MouseMove(kButtonX, kNewGameY);
    EXPECT_EQ(drawn(), look(1));
    menu.MouseDown(TMouseButton::Left, 0, kButtonX, kNewGameY);
    EXPECT_EQ(drawn(), look(2));
    EXPECT_NE(Bench.Display.Surface().Pixel(602, 231), white);
    EXPECT_EQ(Bench.Display.Surface().Pixel(604, 233), white);
    menu.MouseMove(kButtonX, 100);
    EXPECT_EQ(drawn(), look(1)) << "pressed, not hovered";
    EXPECT_EQ(Bench.Display.Surface().Pixel(602, 231), white);
}
