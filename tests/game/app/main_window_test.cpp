#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/png_image.h"
#include "flow/intro.h"
#include "flow/menu.h"
#include "flow/ui_button.h"
#include "runtime/platform/null/manual_system_services.h"
#include "support/flow_test_support.h"
#include "support/scoped_environment.h"
#include "world/gfx.h"

using namespace gb;
using namespace gb::test_support;

namespace {

// A game that records what the main window asks of it.
class TFakeGame : public TGameScreen {
public:
    explicit TFakeGame(std::vector<std::string>& log) : Log(log) {}

    bool Update(std::uint32_t now, std::uint32_t elapsed) override {
        Log.push_back("update " + std::to_string(now) + " " + std::to_string(elapsed));
        if (FailUpdate) throw bbx::Exception(bbx::Pl<"Zły stan gry">());
        return Over;
    }
    void Accelerate(std::uint32_t, std::uint32_t elapsed) override { Log.push_back("up " + std::to_string(elapsed)); }
    void Brake(std::uint32_t, std::uint32_t) override { Log.push_back("down"); }
    void TurnLeft(std::uint32_t, std::uint32_t) override { Log.push_back("left"); }
    void TurnRight(std::uint32_t, std::uint32_t) override { Log.push_back("right"); }
    void KeyDown(TVirtualKey& key, TShiftState) override { Log.push_back("key down " + std::to_string(key)); }
    void KeyUp(TVirtualKey& key, TShiftState) override { Log.push_back("key up " + std::to_string(key)); }
    void MouseDown(TMouseButton button, TShiftState, std::int32_t x, std::int32_t y) override {
        Log.push_back("mouse down " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) + " " +
                      std::to_string(y));
    }
    void MouseUp(TMouseButton, TShiftState, std::int32_t x, std::int32_t y) override {
        Log.push_back("mouse up " + std::to_string(x) + " " + std::to_string(y));
    }
    void Draw(TSurface& target) override {
        Log.push_back("draw");
        if (FailDraw) throw bbx::Exception("broken pointer model");
        target.Fill(kGameColor);
    }

    static constexpr bbx::TColor kGameColor = bbx::RGB(0, 0, 255);
    std::vector<std::string>& Log;
    bool Over = false;
    bool FailUpdate = false;
    bool FailDraw = false;
};

class MainWindowTest : public ::testing::Test {
protected:
    ~MainWindowTest() override { Form.reset(); }

    TfrmMain& Start() {
        Form = std::make_unique<TfrmMain>(Presenter, Text, Sound, System, Data.Directory(), [this](const TScreenServices&) {
            ++GamesMade;
            if (GameFails) throw bbx::EInOutError(2, "GameData.xml: nie ma takiego pliku");
            auto game = std::make_unique<TFakeGame>(GameLog);
            Game = game.get();
            return game;
        });
        Form->OnClose = [this] { ++CloseRequests; };
        Form->FormCreate();
        return *Form;
    }

    // One timer tick, `ms` after the previous one.
    void Tick(std::uint32_t ms = 16) {
        System.Now += ms;
        Form->DXTimer().Idle(System.Now);
    }
    void Key(TVirtualKey key) {
        Form->KeyDown(key, 0);
        Form->KeyUp(key, 0);
    }
    void Click(int x, int y) {
        Form->MouseMove(0, x, y);
        Form->MouseDown(TMouseButton::Left, ssLeft, x, y);
        Form->MouseUp(TMouseButton::Left, 0, x, y);
    }
    void ToMenu() {
        Tick();
        Key(vk::Space);
        ASSERT_NE(Form->Menu(), nullptr);
    }
    // "Nowa gra", read in the next frame.
    void ChooseNewGame() {
        Click(600, 230);
        Tick();
    }
    void ToGame() {
        ToMenu();
        ChooseNewGame();
        ASSERT_NE(Form->Game(), nullptr);
        GameLog.clear();
    }
    // The menu's "WWW" with a desktop that cannot open the page: the error
    // screen over the menu.
    void FailToOpenTheWebPage() {
        ToMenu();
        System.OpenSucceeds = false;
        Click(600, 300);
        Tick();
        ASSERT_FALSE(Form->ErrorText().empty());
    }
    std::uint32_t BackPixel(int x, int y) { return Form->DXDraw().Surface().Pixel(x, y); }
    std::uint32_t Mapped(bbx::TColor color) { return Form->DXDraw().Surface().Buffer().MapColor(color); }
    // The pointer is drawn with its top-left corner at the mouse position.
    bool PointerAt(int x, int y) { return BackPixel(x + kPointerSize / 2, y + kPointerSize / 2) == Mapped(kPointerColor); }

    TDataFolder Data;
    TBoxTextRenderer Text{6, 12};
    TNullPresenter Presenter;
    TRecordingSoundLayer Sound;
    TManualSystemServices System{1000};
    std::vector<std::string> GameLog;
    TFakeGame* Game = nullptr;
    int GamesMade = 0;
    bool GameFails = false;
    int CloseRequests = 0;
    std::unique_ptr<TfrmMain> Form;
};

std::string Pl(const char* utf8) { return bbx::Utf8ToCp1250(utf8); }

int LogEntries(const std::string& log) {
    int entries = 0;
    for (std::size_t at = log.find("Błąd:"); at != std::string::npos; at = log.find("Błąd:", at + 1)) ++entries;
    return entries;
}

}  // namespace

// --- Start, configuration and shutdown ---

TEST_F(MainWindowTest, StartsTheServicesAndTheIntroFullScreenAt16Bits) {
    TfrmMain& form = Start();
    EXPECT_EQ(Presenter.Opened, 1);
    EXPECT_EQ(Presenter.OpenFormat, bbx::TPixelFormat::Rgb565);
    EXPECT_FALSE(Presenter.OpenWindowed);
    ASSERT_NE(form.Sfx(), nullptr);
    ASSERT_NE(form.Gfx(), nullptr);
    EXPECT_EQ(form.Gfx()->SpriteCacheSize, 200);
    EXPECT_FLOAT_EQ(form.Gfx()->AngleTolerance, 0.1f);
    EXPECT_EQ(form.Gfx()->Models.Count(), 1);
    EXPECT_EQ(Sound.Paths.front(), Data.Directory() + "sfx/00.wav");
    EXPECT_EQ(Sound.PlayCount("sfx/intro.wav"), 1);
    EXPECT_NE(form.Intro(), nullptr);
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(form.Game(), nullptr);
    EXPECT_EQ(form.MouseX(), 400);
    EXPECT_EQ(form.MouseY(), 300);
    EXPECT_FALSE(System.CursorShown);
    EXPECT_TRUE(form.DXTimer().Enabled());
    EXPECT_TRUE(form.ErrorText().empty());
}

TEST_F(MainWindowTest, ClosingFinalisesTheDisplayAndRestoresTheDesktop) {
    Start();
    ToMenu();
    Form.reset();
    EXPECT_EQ(Presenter.Closed, 1);
    EXPECT_FALSE(Presenter.IsOpen);
    EXPECT_TRUE(System.CursorShown);
    EXPECT_EQ(Sound.Closes, 1);
}

TEST_F(MainWindowTest, ConfigurationRules) {
    struct TCase {
        const char* Config;
        int Bits;
        int Sprites;
        float Tolerance;
        bool Windowed;
    };
    const TCase cases[] = {
        {nullptr, 16, 200, 0.1f, false},
        {"<config><gfx><bpp> 32 </bpp><sprites>50</sprites><angletolerance>25</angletolerance></gfx></config>", 32,
         50, 0.25f, false},
        {"<config><gfx><bpp>24</bpp><sprites>50</sprites></gfx></config>", 16, 50, 0.1f, false},
        // Not an integer: reading stops there, the cache size read before stays.
        {"<config><gfx><bpp>16</bpp><sprites>70</sprites><angletolerance>0.25</angletolerance>"
         "<windowed>1</windowed></gfx></config>",
         16, 70, 0.1f, false},
        // Without bpp nothing after it is read.
        {"<config><gfx><sprites>70</sprites><angletolerance>25</angletolerance></gfx></config>", 16, 200, 0.1f,
         false},
        {"<?xml version=\"1.0\"?><CONFIG><GFX><BPP>32</BPP><Sprites>9</Sprites><AngleTolerance>5</AngleTolerance>"
         "<Windowed> 1 </Windowed></GFX></CONFIG>",
         32, 9, 0.05f, true},
        {"<config><gfx><bpp>32</bpp>", 32, 200, 0.1f, false},
        {"not xml at all", 16, 200, 0.1f, false},
    };
    for (const TCase& test : cases) {
        SCOPED_TRACE(test.Config ? test.Config : "no Config.xml");
        if (test.Config)
            Data.Write("Config.xml", test.Config);
        else
            Data.Remove("Config.xml");
        TfrmMain& form = Start();
        EXPECT_EQ(form.DXDraw().BitsPerPixel(), test.Bits);
        EXPECT_EQ(form.SpriteCacheSize(), test.Sprites);
        EXPECT_EQ(form.Gfx()->SpriteCacheSize, test.Sprites);
        EXPECT_FLOAT_EQ(form.AngleTolerance(), test.Tolerance);
        EXPECT_EQ(Presenter.OpenWindowed, test.Windowed);
        Form.reset();
    }
}

TEST_F(MainWindowTest, OutlandishCacheSizesStillGiveAWorkingSpriteBank) {
    Data.Write("Config.xml", "<config><gfx><bpp>16</bpp><sprites>-5</sprites><angletolerance>-3</angletolerance></gfx></config>");
    EXPECT_EQ(Start().Gfx()->SpriteCacheSize, 1);
    EXPECT_EQ(Form->Gfx()->AngleTolerance, 0.0f);
    Form.reset();
    Data.Write("Config.xml", "<config><gfx><bpp>16</bpp><sprites>2000000000</sprites></gfx></config>");
    EXPECT_EQ(Start().SpriteCacheSize(), 2000000000);
    EXPECT_EQ(Form->Gfx()->SpriteCacheSize, TfrmMain::MostSpriteCacheSize);
}

// --- Screens and input routing ---

TEST_F(MainWindowTest, TheIntroRunsUntilAnyKeyThenTheMenuIgnoresKeys) {
    TfrmMain& form = Start();
    Form->MouseDown(TMouseButton::Left, ssLeft, 10, 10);
    Tick();
    EXPECT_NE(form.Intro(), nullptr);
    const TChannelHandle introChannel = Sound.LastChannel;
    TVirtualKey key = 'A';
    form.KeyDown(key, 0);
    EXPECT_EQ(form.Intro(), nullptr);
    ASSERT_NE(form.Menu(), nullptr);
    EXPECT_EQ(Sound.Stopped, std::vector<TChannelHandle>{introChannel}) << "the intro sound is cut off";
    const TMenu* menu = form.Menu();
    Key(vk::Escape);
    Key(vk::Return);
    Tick();
    EXPECT_EQ(form.Menu(), menu);
    EXPECT_EQ(menu->Choice(), TMenu::NoChoice);
    EXPECT_FALSE(form.Closing());
}

TEST_F(MainWindowTest, FrameRateAndPointerAreDrawnOutsideTheIntroOnly) {
    TfrmMain& form = Start();
    form.MouseMove(0, 30, 550);
    Tick();
    EXPECT_EQ(form.MouseX(), 30);
    EXPECT_FALSE(PointerAt(30, 550));
    EXPECT_EQ(Presenter.Presented, 1);

    Key(vk::Space);
    for (int i = 0; i < 70; ++i) Tick(16);
    EXPECT_TRUE(PointerAt(30, 550));
    // About 62 frames per second by now: "62" right-aligned at 795, its top at 5.
    EXPECT_EQ(form.DXTimer().FrameRate(), 62);
    const std::uint32_t white = Mapped(bbx::RGB(255, 255, 255));
    EXPECT_EQ(BackPixel(795 - 12 + 1, 7), white);
    EXPECT_EQ(BackPixel(795 - 6 + 1, 7), white);
    EXPECT_NE(BackPixel(795 - 18 + 1, 7), white);
    EXPECT_EQ(Presenter.Presented, 71);
}

TEST_F(MainWindowTest, NewGameIsMadeByTheFactoryAndEndsInANewMenu) {
    TfrmMain& form = Start();
    ToMenu();
    Click(600, 230);
    EXPECT_EQ(GamesMade, 0) << "the choice is read after the next update";
    Tick();
    EXPECT_EQ(GamesMade, 1);
    EXPECT_EQ(form.Menu(), nullptr);
    ASSERT_EQ(form.Game(), Game);
    EXPECT_EQ(GameLog, std::vector<std::string>{"draw"}) << "drawn in the frame that made it";

    GameLog.clear();
    Tick(20);
    EXPECT_EQ(GameLog, (std::vector<std::string>{"update " + std::to_string(System.Now) + " 20", "draw"}));
    EXPECT_EQ(BackPixel(400, 300), Mapped(TFakeGame::kGameColor));
    EXPECT_TRUE(PointerAt(600, 230));

    Game->Over = true;
    Tick();
    EXPECT_EQ(form.Game(), nullptr);
    ASSERT_NE(form.Menu(), nullptr);
    EXPECT_EQ(form.Menu()->Choice(), TMenu::NoChoice);
    EXPECT_FLOAT_EQ(form.Menu()->Scroll(), -392) << "the credits start again";
}

TEST_F(MainWindowTest, TheGameGetsKeysMouseAndHeldArrows) {
    TfrmMain& form = Start();
    ToGame();
    TVirtualKey key = vk::Space;
    form.KeyDown(key, 0);
    form.KeyUp(key, 0);
    form.MouseDown(TMouseButton::Right, ssRight, 10, 20);
    form.MouseUp(TMouseButton::Right, 0, 11, 21);
    form.MouseMove(0, 12, 22);
    EXPECT_EQ(GameLog, (std::vector<std::string>{"key down 32", "key up 32", "mouse down 1 10 20", "mouse up 11 21"}));
    EXPECT_EQ(form.MouseX(), 12);

    GameLog.clear();
    System.Held = {vk::Right, vk::Left, vk::Down, vk::Up};
    Tick(7);
    EXPECT_EQ(GameLog, (std::vector<std::string>{"up 7", "down", "left", "right",
                                                 "update " + std::to_string(System.Now) + " 7", "draw"}));
    GameLog.clear();
    System.Held = {vk::Left};
    Tick(7);
    EXPECT_EQ(GameLog[0], "left");
    EXPECT_EQ(GameLog.size(), 3u);
}

TEST_F(MainWindowTest, TimeSpentInactiveIsNotCountedAsElapsed) {
    TfrmMain& form = Start();
    ToGame();
    form.DXTimer().SetActive(false);
    Tick(5000);
    EXPECT_TRUE(GameLog.empty()) << "no ticks while inactive";
    System.Now += 3000;
    form.DXTimer().SetActive(true);
    Tick(16);
    EXPECT_EQ(GameLog.front(), "update " + std::to_string(System.Now) + " 16");
}

TEST_F(MainWindowTest, WebPageOpensBesideTheProgramAndEndsIt) {
    TfrmMain& form = Start();
    ToMenu();
    Click(600, 300);
    Tick();
    EXPECT_EQ(System.Opened, std::vector<std::string>{Data.Directory() + "WWW.html"});
    EXPECT_TRUE(form.Closing());
    EXPECT_EQ(CloseRequests, 1);
    EXPECT_FALSE(form.EndedByError());
    Tick();
    EXPECT_EQ(System.Opened.size(), 1u) << "nothing runs after closing";
}

TEST_F(MainWindowTest, AWebPageThatCannotBeOpenedIsAnErrorAndTheMenuStays) {
    TfrmMain& form = Start();
    FailToOpenTheWebPage();
    EXPECT_FALSE(form.Closing());
    EXPECT_NE(form.ErrorText().find(Pl("Typ: OpenDocumentError\r\nTreść: Nie można otworzyć strony ")),
              std::string::npos);
    Key(vk::Space);
    Tick();
    ASSERT_NE(form.Menu(), nullptr);
    EXPECT_EQ(form.Menu()->Choice(), TMenu::NoChoice);
    EXPECT_EQ(System.Opened.size(), 1u);
}

TEST_F(MainWindowTest, ExitEndsTheProgram) {
    TfrmMain& form = Start();
    ToMenu();
    Click(600, 360);
    EXPECT_FALSE(form.Closing());
    Tick();
    EXPECT_TRUE(form.Closing());
    EXPECT_EQ(CloseRequests, 1);
    EXPECT_TRUE(System.Opened.empty());
}

TEST_F(MainWindowTest, MouseMovesReachTheMenuEvenBehindTheErrorScreen) {
    TfrmMain& form = Start();
    FailToOpenTheWebPage();
    form.MouseMove(0, 600, 230);
    EXPECT_EQ(form.MouseX(), 600);
    EXPECT_TRUE(dynamic_cast<const TUIButton&>(form.Menu()->Windows().Item(0)).Hovered);
    // Presses and releases do not: no click happens behind the error.
    form.MouseDown(TMouseButton::Left, ssLeft, 600, 230);
    form.MouseUp(TMouseButton::Left, 0, 600, 230);
    EXPECT_EQ(form.Menu()->Choice(), TMenu::NoChoice);
}

TEST_F(MainWindowTest, OnlyAKeyPressEndsTheIntro) {
    TfrmMain& form = Start();
    TVirtualKey key = 'A';
    form.KeyUp(key, 0);
    form.MouseDown(TMouseButton::Left, ssLeft, 600, 230);
    form.MouseUp(TMouseButton::Left, 0, 600, 230);
    System.Held = {vk::Up, vk::Left};
    Tick();
    EXPECT_NE(form.Intro(), nullptr);
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(GamesMade, 0);
}

TEST_F(MainWindowTest, TheMenuAfterAGameIgnoresKeysAndStartsTheNextGame) {
    TfrmMain& form = Start();
    ToGame();
    Game->Over = true;
    Tick();
    ASSERT_NE(form.Menu(), nullptr);
    Game = nullptr;  // freed with its screen
    Key(vk::Escape);
    Key(vk::Space);
    Tick();
    ASSERT_NE(form.Menu(), nullptr);
    form.MouseMove(0, 600, 230);
    EXPECT_TRUE(dynamic_cast<const TUIButton&>(form.Menu()->Windows().Item(0)).Hovered);
    ChooseNewGame();
    EXPECT_EQ(GamesMade, 2);
    ASSERT_NE(form.Game(), nullptr);
    EXPECT_EQ(form.Game(), Game);
}

TEST_F(MainWindowTest, AfterTheGameTheMenuAnswersAClickBeforeTheMouseMoves) {
    TfrmMain& form = Start();
    ToGame();  // the pointer stays on "Nowa gra"
    Game->Over = true;
    Tick();
    ASSERT_NE(form.Menu(), nullptr);
    Game = nullptr;
    EXPECT_TRUE(dynamic_cast<const TUIButton&>(form.Menu()->Windows().Item(0)).Hovered);
    Form->MouseDown(TMouseButton::Left, ssLeft, 600, 230);
    Form->MouseUp(TMouseButton::Left, 0, 600, 230);
    Tick();
    EXPECT_EQ(GamesMade, 2);
    EXPECT_NE(form.Game(), nullptr);
}

TEST_F(MainWindowTest, AMenuComingUpAwayFromThePointerHasNothingHovered) {
    TfrmMain& form = Start();
    form.MouseMove(0, 100, 550);
    ToMenu();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(dynamic_cast<const TUIButton&>(form.Menu()->Windows().Item(i)).Hovered) << i;
    Form->MouseDown(TMouseButton::Left, ssLeft, 100, 550);
    Form->MouseUp(TMouseButton::Left, 0, 100, 550);
    Tick();
    EXPECT_EQ(GamesMade, 0);
}

// --- The error screen ---

TEST_F(MainWindowTest, AnErrorShowsTheErrorScreenAndWritesTheLog) {
    TfrmMain& form = Start();
    ToGame();
    Game->FailUpdate = true;
    Tick();
    EXPECT_EQ(form.ErrorText(),
              Pl("BŁĄD !!!\r\n\r\nTyp: Exception\r\nTreść: Zły stan gry\r\n\r\nSzczegóły zapisano w pliku:\r\n") +
                 Data.File("Errors.log") +
                 Pl("\r\n\r\nNaciśnij dowolny klawisz...\r\n\r\n"
                    "Jeśli problem będzie się powtarzał,\r\nzakończ aplikację [Alt]+[F4]"));
    const std::string log = Data.Read("Errors.log");
    EXPECT_NE(log.find("Błąd:       BŁĄD !!!\r\n"), std::string::npos);
    EXPECT_NE(log.find("Typ:        Exception\r\nTreść:      Zły stan gry\r\n"), std::string::npos);

    // Frozen: the game is neither updated nor drawn; only the text is.
    GameLog.clear();
    Tick(500);
    Tick(500);
    EXPECT_TRUE(GameLog.empty());
    const std::uint32_t white = Mapped(bbx::RGB(255, 255, 255));
    EXPECT_EQ(BackPixel(51, 52), white) << "the first glyph at (50, 50)";
    EXPECT_EQ(BackPixel(400, 300), 0u);
    EXPECT_FALSE(PointerAt(600, 230));
}

TEST_F(MainWindowTest, AnInputOutputErrorShowsItsCode) {
    TfrmMain& form = Start();
    ToMenu();
    GameFails = true;
    ChooseNewGame();
    EXPECT_EQ(form.ErrorText().substr(0, form.ErrorText().find(Pl("\r\n\r\nNaciśnij"))),
              Pl("BŁĄD !!!\r\n\r\nTyp: InOutError\r\nKod: 2\r\nTreść: GameData.xml: nie ma takiego pliku\r\n\r\n"
                 "Szczegóły zapisano w pliku:\r\n") +
                  Data.File("Errors.log"));
    EXPECT_NE(Data.Read("Errors.log").find("Kod:        2\r\n"), std::string::npos);
}

TEST_F(MainWindowTest, AKeyOnlyDismissesTheErrorAndNoTimePilesUp) {
    TfrmMain& form = Start();
    ToGame();
    Game->FailUpdate = true;
    Tick();
    Game->FailUpdate = false;
    Tick(3000);
    TVirtualKey key = vk::Return;
    form.KeyDown(key, 0);
    EXPECT_TRUE(form.ErrorText().empty());
    form.KeyUp(key, 0);
    Tick(16);
    // The press went to the error screen; the release, once it is gone, is
    // the game's again.
    EXPECT_EQ(GameLog, (std::vector<std::string>{"update " + std::to_string(System.Now - 3016) + " 16", "key up 13",
                                                 "update " + std::to_string(System.Now) + " 16", "draw"}))
        << "the game carries on from where it stopped";
    EXPECT_EQ(form.Game(), Game);
}

TEST_F(MainWindowTest, ASecondErrorWhileTheFirstShowsEndsTheProgramCleanly) {
    TfrmMain& form = Start();
    FailToOpenTheWebPage();
    // Behind the error the menu still gets mouse moves; its hover sound fails.
    Sound.FailPlay = true;
    form.MouseMove(0, 600, 230);
    EXPECT_TRUE(form.Closing());
    EXPECT_TRUE(form.EndedByError());
    EXPECT_EQ(CloseRequests, 1);
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 2);
    EXPECT_NE(form.LastError().find("the sound device went away"), std::string::npos);
    const int presented = Presenter.Presented;
    Tick();
    Key(vk::Space);
    EXPECT_EQ(Presenter.Presented, presented) << "nothing runs after closing";
    Form.reset();
    EXPECT_FALSE(Presenter.IsOpen);
    EXPECT_TRUE(System.CursorShown);
}

TEST_F(MainWindowTest, BehindTheErrorScreenTheGameGetsNoReleasesPressesOrArrows) {
    TfrmMain& form = Start();
    ToGame();
    Game->FailUpdate = true;
    Tick();
    ASSERT_FALSE(form.ErrorText().empty());
    Game->FailUpdate = false;
    GameLog.clear();
    TVirtualKey key = vk::Space;
    form.KeyUp(key, 0);
    form.MouseDown(TMouseButton::Left, ssLeft, 10, 20);
    form.MouseUp(TMouseButton::Left, 0, 10, 20);
    form.MouseMove(0, 30, 40);
    System.Held = {vk::Up};
    Tick();
    EXPECT_TRUE(GameLog.empty());
    EXPECT_EQ(form.MouseX(), 30);
    EXPECT_EQ(form.MouseY(), 40);
}

TEST_F(MainWindowTest, KeysOffTheMainBlockLeaveTheIntroAndDismissTheErrorScreen) {
    for (const TVirtualKey key : {vk::Oem3, vk::OemComma, vk::Oem2, vk::Oem102, vk::NumLock, vk::Snapshot, vk::LWin,
                                  vk::Apps, vk::F13, vk::Unassigned}) {
        Form.reset();
        TfrmMain& form = Start();
        Tick();
        Key(key);
        ASSERT_NE(form.Menu(), nullptr) << key;
        System.OpenSucceeds = false;
        Click(600, 300);
        Tick();
        ASSERT_FALSE(form.ErrorText().empty()) << key;
        Key(key);
        EXPECT_TRUE(form.ErrorText().empty()) << key;
        EXPECT_NE(form.Menu(), nullptr) << key;
    }
}

// --- Recoveries: the player is never left on an empty screen ---

TEST_F(MainWindowTest, UnreadableCreditsShowTheErrorThenAMenuWithAnEmptyPanel) {
    Data.Remove("Credits.xml");
    TfrmMain& form = Start();
    Tick();
    Key(vk::Space);
    EXPECT_NE(form.ErrorText().find("Typ: InOutError\r\nKod: 2\r\n"), std::string::npos);
    ASSERT_NE(form.Menu(), nullptr);
    EXPECT_EQ(form.Menu()->Credits(), "");
    Tick(1000);
    EXPECT_FLOAT_EQ(form.Menu()->Scroll(), -392) << "frozen behind the error";
    Key(vk::Space);
    Tick(1000);
    EXPECT_FLOAT_EQ(form.Menu()->Scroll(), -372);
    Click(600, 360);
    Tick();
    EXPECT_TRUE(form.Closing());
    EXPECT_FALSE(form.EndedByError());
}

TEST_F(MainWindowTest, AGameThatCannotStartShowsTheErrorThenTheMenuAgain) {
    TfrmMain& form = Start();
    ToMenu();
    GameFails = true;
    ChooseNewGame();
    EXPECT_FALSE(form.ErrorText().empty());
    EXPECT_EQ(form.Game(), nullptr);
    ASSERT_NE(form.Menu(), nullptr);
    EXPECT_EQ(form.Menu()->Credits(), "Pierwsza linia\r\nDruga linia");
    EXPECT_EQ(form.Menu()->Choice(), TMenu::NoChoice);
    Key(vk::Space);
    GameFails = false;
    ChooseNewGame();
    EXPECT_EQ(GamesMade, 2);
    EXPECT_NE(form.Game(), nullptr);
}

TEST_F(MainWindowTest, WhenGameAndCreditsBothFailTheGamesErrorShowsAndTheMenuComesBack) {
    TfrmMain& form = Start();
    ToMenu();
    Data.Remove("Credits.xml");
    GameFails = true;
    ChooseNewGame();
    EXPECT_FALSE(form.Closing());
    EXPECT_NE(form.ErrorText().find("GameData.xml"), std::string::npos);
    ASSERT_NE(form.Menu(), nullptr);
    EXPECT_EQ(form.Menu()->Credits(), "");
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 2) << "the credits' error is logged too";
}

TEST_F(MainWindowTest, AFailedStartShowsItsErrorAndDismissingItEndsTheProgram) {
    Data.Remove("models.bbx");
    TfrmMain& form = Start();
    EXPECT_NE(form.ErrorText().find("Typ: InOutError\r\nKod: 2\r\n"), std::string::npos);
    EXPECT_NE(Data.Read("Errors.log").find("Typ:        InOutError"), std::string::npos);
    EXPECT_FALSE(form.Closing());
    Tick();
    EXPECT_EQ(BackPixel(51, 52), Mapped(bbx::RGB(255, 255, 255)));
    EXPECT_EQ(Presenter.Presented, 1);
    Key(vk::Space);
    EXPECT_TRUE(form.Closing());
    EXPECT_TRUE(form.EndedByError());
}

TEST_F(MainWindowTest, ADisplayThatCannotStartEndsTheProgramWithTheErrorLogged) {
    Presenter.FailOpen = true;
    TfrmMain& form = Start();
    EXPECT_TRUE(form.Closing());
    EXPECT_TRUE(form.EndedByError());
    EXPECT_EQ(form.Gfx(), nullptr);
    EXPECT_EQ(form.LastError(), "DisplayError: no screen here");
    EXPECT_NE(Data.Read("Errors.log").find("Typ:        DisplayError"), std::string::npos);
    Form.reset();
    EXPECT_EQ(Presenter.Closed, 0);
}

// --- An error that comes back every frame ---

TEST_F(MainWindowTest, AnErrorRaisedOnEveryDrawSendsThePlayerBackToTheMenu) {
    TfrmMain& form = Start();
    ToGame();
    Game->FailDraw = true;
    Tick();
    ASSERT_NE(form.ErrorText().find("broken pointer model"), std::string::npos);
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 1);
    Key(vk::Space);
    Tick();
    // Raised again at once: shown once more, logged once more, over the menu.
    EXPECT_NE(form.ErrorText().find("broken pointer model"), std::string::npos);
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 2);
    EXPECT_NE(form.Menu(), nullptr);
    EXPECT_EQ(form.Game(), nullptr);
    Key(vk::Space);
    for (int i = 0; i < 20; ++i) Tick();
    EXPECT_TRUE(form.ErrorText().empty());
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 2);
    EXPECT_FALSE(form.Closing());
    ASSERT_NE(form.Menu(), nullptr);
    ChooseNewGame();
    EXPECT_NE(form.Game(), nullptr) << "the menu works after it";
}

TEST_F(MainWindowTest, AnErrorLongAfterTheLastOneOrADifferentOneShowsAsUsual) {
    TfrmMain& form = Start();
    ToGame();
    Game->FailUpdate = true;
    Tick();
    Key(vk::Space);
    Game->FailUpdate = false;
    for (int i = 0; i < TfrmMain::RecurringErrorFrames + 1; ++i) Tick();
    ASSERT_TRUE(form.ErrorText().empty());
    Game->FailUpdate = true;
    Tick();
    EXPECT_FALSE(form.ErrorText().empty());
    EXPECT_EQ(form.Game(), Game) << "the same error, but not in a loop";

    Key(vk::Space);
    Game->FailUpdate = false;
    Game->FailDraw = true;
    Tick();
    EXPECT_NE(form.ErrorText().find("broken pointer model"), std::string::npos);
    EXPECT_EQ(form.Game(), Game) << "another error straight after is a new one";
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 3);
}

TEST_F(MainWindowTest, AMenuThatKeepsFailingEndsTheProgramWithItsError) {
    TfrmMain& form = Start();
    ToMenu();
    Sound.FailPlay = true;
    form.MouseMove(0, 600, 230);  // onto "Nowa gra": its hover sound fails
    ASSERT_NE(form.ErrorText().find("the sound device went away"), std::string::npos);
    Key(vk::Space);
    form.MouseMove(0, 10, 10);
    Tick();
    form.MouseMove(0, 600, 230);
    EXPECT_NE(form.ErrorText().find("the sound device went away"), std::string::npos) << "shown once more";
    EXPECT_TRUE(form.EndedByError());
    EXPECT_EQ(form.LastError(), "Exception: the sound device went away");
    EXPECT_FALSE(form.Closing()) << "the screen stays until a key";
    Tick();
    EXPECT_EQ(BackPixel(51, 52), Mapped(bbx::RGB(255, 255, 255)));
    Key(vk::Space);
    EXPECT_TRUE(form.Closing());
    EXPECT_EQ(LogEntries(Data.Read("Errors.log")), 2);
}

namespace {

// A quarter of each channel, as the pause band and the notes darken.
bbx::TColor Dimmed(bbx::TColor color) {
    return bbx::RGB(bbx::GetRValue(color) >> 2, bbx::GetGValue(color) >> 2, bbx::GetBValue(color) >> 2);
}

}  // namespace

TEST_F(MainWindowTest, LosingTheFocusStopsTheClockHoldsTheSoundAndShowsTheBand) {
    TfrmMain& form = Start();
    ToGame();
    TVirtualKey held = 'A';
    form.KeyDown(held, 0);
    form.FocusChanged(false);
    EXPECT_TRUE(form.Paused());
    EXPECT_EQ(Sound.Log.back(), "pause");
    GameLog.clear();
    Tick(500);
    form.FocusChanged(true);
    Tick(500);
    EXPECT_TRUE(form.Paused()) << "coming back shows the band until a key or click";
    EXPECT_EQ(GameLog, (std::vector<std::string>{"draw", "draw"})) << "drawn, but no time passes";
    // The band across the middle over the frozen frame; above it the frame as it was.
    EXPECT_EQ(BackPixel(5, 260), Mapped(Dimmed(TFakeGame::kGameColor)));
    EXPECT_EQ(BackPixel(5, 200), Mapped(TFakeGame::kGameColor));

    // A key pressed before the pause is released to the game.
    form.KeyUp(held, 0);
    EXPECT_EQ(GameLog.back(), "key up 65");
    GameLog.clear();
    Key('B');
    EXPECT_FALSE(form.Paused());
    EXPECT_EQ(Sound.Log.back(), "resume");
    EXPECT_TRUE(GameLog.empty()) << "the key that resumes is no game key, nor is its release";
    Tick(16);
    EXPECT_EQ(GameLog.front(), "update " + std::to_string(System.Now) + " 16") << "the pause is not elapsed time";
    EXPECT_EQ(BackPixel(5, 260), Mapped(TFakeGame::kGameColor));
    Key('B');
    EXPECT_EQ(GameLog.back(), "key up 66") << "the next press is the game's again";
}

TEST_F(MainWindowTest, AClickResumesWithoutReachingTheGameAndOnlyItsOwnReleaseIsKept) {
    TfrmMain& form = Start();
    ToGame();
    form.MouseDown(TMouseButton::Left, ssLeft, 100, 100);
    form.FocusChanged(false);
    form.FocusChanged(false);
    EXPECT_EQ(std::count(Sound.Log.begin(), Sound.Log.end(), "pause"), 1);
    GameLog.clear();
    form.MouseDown(TMouseButton::Right, ssRight, 300, 300);
    EXPECT_FALSE(form.Paused());
    form.MouseUp(TMouseButton::Left, 0, 300, 300);
    form.MouseUp(TMouseButton::Right, 0, 300, 300);
    EXPECT_EQ(GameLog, std::vector<std::string>{"mouse up 300 300"}) << "the walk held before the pause ends";
    form.FocusChanged(false);
    Key(vk::Space);
    form.FocusChanged(false);
    Tick();
    EXPECT_EQ(BackPixel(5, 260), Mapped(Dimmed(TFakeGame::kGameColor))) << "paused again";
}

TEST_F(MainWindowTest, ThePauseHoldsOverTheIntroAndTheErrorScreenToo) {
    TfrmMain& form = Start();
    form.FocusChanged(false);
    Key(vk::Space);
    EXPECT_NE(form.Intro(), nullptr) << "the key resumed, it did not leave the intro";
    ToGame();
    Game->FailUpdate = true;
    Tick();
    ASSERT_FALSE(form.ErrorText().empty());
    form.FocusChanged(false);
    Key(vk::Space);
    EXPECT_FALSE(form.ErrorText().empty()) << "the key resumed, it did not dismiss the error";
    Key(vk::Space);
    EXPECT_TRUE(form.ErrorText().empty());
}

struct MainWindowScreenshotTest : MainWindowTest {
    MainWindowScreenshotTest() { Env.Set("XDG_PICTURES_DIR", Pictures.Path().string()); }
    std::vector<std::filesystem::path> Shots() const {
        std::vector<std::filesystem::path> shots;
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(Pictures.Path() / "GlimmerBay", error))
            shots.push_back(entry.path());
        std::sort(shots.begin(), shots.end());
        return shots;
    }
    TTempFolder Pictures;
    TScopedEnvironment Env;
};

TEST_F(MainWindowScreenshotTest, F12SavesTheFrameAsPngAndNotesItsName) {
    TfrmMain& form = Start();
    ToGame();
    Form->MouseMove(0, 200, 150);
    Key(TScreenshots::Key);
    EXPECT_TRUE(GameLog.empty()) << "F12 is no game key";
    Tick();
    const auto shots = Shots();
    ASSERT_EQ(shots.size(), 1u);
    const std::string name = shots[0].filename().string();
    EXPECT_TRUE(name.starts_with("GlimmerBay 20") && name.ends_with(".png")) << name;
    EXPECT_EQ(form.Screenshots().Note(), Pl("Zapisano zrzut ekranu: ") + name);
    EXPECT_TRUE(form.Screenshots().ShowsNote(System.Now));

    // The picture is the frame as shown, pointer and all, without the note.
    std::ifstream file(shots[0], std::ios::binary);
    const bbx::TPixelBuffer picture =
        bbx::DecodePng(std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    const bbx::TPixelBuffer& shown = Presenter.LastFrame;
    ASSERT_EQ(picture.Width(), 800);
    ASSERT_EQ(picture.Height(), 600);
    EXPECT_EQ(picture.UnmapPixel(picture.GetPixel(200 + kPointerSize / 2, 150 + kPointerSize / 2)), kPointerColor);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 800; x += 7)
            ASSERT_EQ(picture.UnmapPixel(picture.GetPixel(x, y)), shown.UnmapPixel(shown.GetPixel(x, y))) << x << "," << y;
    EXPECT_EQ(picture.UnmapPixel(picture.GetPixel(400, 510)), TFakeGame::kGameColor);
    EXPECT_NE(shown.UnmapPixel(shown.GetPixel(400, 510)), TFakeGame::kGameColor) << "the note is on the screen";

    Key(TScreenshots::Key);
    Tick();
    EXPECT_EQ(Shots().size(), 2u) << "a second one in the same second gets a name of its own";
    Tick(TScreenshots::NoteMs);
    EXPECT_FALSE(form.Screenshots().ShowsNote(System.Now));
    EXPECT_EQ(BackPixel(400, 510), Mapped(TFakeGame::kGameColor));
}

TEST_F(MainWindowScreenshotTest, AFolderThatCannotBeMadeGivesTheFailureNoteAndPlayGoesOn) {
    Pictures.Write("GlimmerBay", "a file where the folder would be");
    TfrmMain& form = Start();
    ToGame();
    Key(TScreenshots::Key);
    Tick();
    EXPECT_EQ(form.Screenshots().Note(), Pl("Nie udało się zapisać zrzutu ekranu"));
    EXPECT_TRUE(form.ErrorText().empty());
    EXPECT_NE(form.Game(), nullptr);
    Tick();
    EXPECT_EQ(GameLog.back(), "draw");
}
