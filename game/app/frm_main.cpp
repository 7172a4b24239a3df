#include "app/frm_main.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <utility>

#include "core/code_page.h"
#include "core/program_directory.h"
#include "core/real_format.h"
#include "flow/intro.h"
#include "flow/menu.h"
#include "runtime/data_file.h"
#include "runtime/error_log.h"
#include "runtime/game_errors.h"
#include "runtime/sfx.h"
#include "world/gfx.h"

namespace gb {
namespace {

const std::string& ErrorTitle() { return bbx::Pl<"BŁĄD !!!">(); }

constexpr TRect kErrorTextRect{50, 50, 750, 550};

std::string ErrorScreenText(const TErrorInfo& error, const std::string& logPath) {
    std::string text = bbx::Pl<"BŁĄD !!!\r\n\r\nTyp: ">() + error.ShownName();
    if (error.Code) text += "\r\nKod: " + std::to_string(*error.Code);
    text += bbx::Pl<"\r\nTreść: ">() + error.Message;
    text += bbx::Pl<"\r\n\r\nSzczegóły zapisano w pliku:\r\n">() + bbx::Utf8ToCp1250(logPath);
    text += bbx::Pl<
        "\r\n\r\nNaciśnij dowolny klawisz...\r\n\r\nJeśli problem będzie się powtarzał,\r\nzakończ aplikację [Alt]+[F4]">();
    return text;
}

}  // namespace

TfrmMain::TfrmMain(TPresenter& presenter, TTextRenderer& text, TSoundLayer& sound, TSystemServices& system,
                   std::string directory, TGameFactory gameFactory)
    : Text(text),
      Sound(sound),
      System(system),
      Directory(std::move(directory)),
      GameFactory(std::move(gameFactory)),
      Display(presenter, &text),
      HeldKeys([&system](TVirtualKey key) { return system.IsKeyHeld(key); }),
      Pause(sound) {
    Display.OnInitialize = [this] { DXDrawInitialize(); };
    Display.OnFinalize = [this] { DXDrawFinalize(); };
    Timer.OnTimer = [this] { DXTimerTimer(); };
    Timer.OnActivate = [this] { DXTimerActivate(); };
}

template <typename THandler>
void TfrmMain::Guarded(THandler&& handler) noexcept {
    if (IsClosing) return;
    try {
        handler();
    } catch (...) {
        ApplicationEventsException(std::current_exception());
    }
}

TfrmMain::~TfrmMain() {
    try {
        Display.Finalize();
    } catch (...) {
        // Freeing cannot be reported any more; the mode is released regardless.
    }
}

void TfrmMain::FormCreate() {
    LoadConfig();
    try {
        Display.Initialize();
    } catch (...) {
        StartFailed(std::current_exception());
    }
}

void TfrmMain::LoadConfig() {
    // The player's own Config.xml takes the place of the shipped one.
    const std::string own = bbx::UserConfigDirectory(kGameFolderName);
    const bool ownConfig = !own.empty() && std::filesystem::exists(own + "Config.xml");
    // Reading stops at the first failure; what was read so far stays.
    try {
        const auto document = LoadDataFile(ownConfig ? own : Directory, "Config.xml");
        const TXMLTag* gfx = FindTag(FindTag(document.get(), "config"), "gfx");
        if (Trimmed(GetText(FindTag(gfx, "bpp"))) == "32") Display.SetBitsPerPixel(32);
        CacheSize = bbx::StrToInt(Trimmed(GetText(FindTag(gfx, "sprites"))));
        Tolerance =
            static_cast<float>(bbx::StrToInt(Trimmed(GetText(FindTag(gfx, "angletolerance")))) / 100.0L);
        if (Trimmed(GetText(FindTag(gfx, "windowed"))) == "1") Display.SetWindowed(true);
        // Last, so that a file written before it keeps every other setting.
        SpriteMemory = TGfx::SpriteMemoryFromMegabytes(bbx::StrToInt(Trimmed(GetText(FindTag(gfx, "spritememory")))));
    } catch (const EXMLNodeMissing&) {
        // A setting left out keeps its default.
    } catch (...) {
        // A player's own file that cannot be read, or holds a value that is
        // no number, is logged, to tell why a setting did not take.
        if (ownConfig) {
            TErrorInfo info = DescribeError(std::current_exception());
            info.Message = bbx::Utf8ToCp1250(own) + "Config.xml: " + info.Message;
            WriteErrorLog(Directory, ErrorTitle(), info);
        }
    }
    if (StartWindowed) Display.SetWindowed(*StartWindowed);
}

void TfrmMain::DXDrawInitialize() {
    PointerX = 400;
    PointerY = 300;
    SoundPlayer = std::make_unique<TSfx>(Sound, Directory);
    SoundPlayer->LoadSounds();
    SpriteBank = std::make_unique<TGfx>(Display.Format(), Text, std::min(CacheSize, MostSpriteCacheSize), Tolerance,
                                        SpriteMemory);
    Services.emplace(TScreenServices{Display, *SpriteBank, *SoundPlayer, Directory, PointerX, PointerY});
    SpriteBank->Initialize(Directory);
    Show(std::make_unique<TIntro>(*Services));
    LastTick = System.TickCount();
    System.ShowCursor(false);
    Timer.SetEnabled(true, LastTick);
}

void TfrmMain::DXDrawFinalize() {
    Timer.SetEnabled(false, System.TickCount());
    System.ShowCursor(true);
    Current.reset();
    Services.reset();
    SpriteBank.reset();
    SoundPlayer.reset();
}

void TfrmMain::StartFailed(const std::exception_ptr& error) {
    ApplicationEventsException(error);
    if (!SpriteBank || !Display.Initialized()) {
        // Nothing to show the error with: the log has it.
        IsEndedByError = true;
        Close();
        return;
    }
    StartHasFailed = true;
    if (!Timer.Enabled()) {
        LastTick = System.TickCount();
        System.ShowCursor(false);
        Timer.SetEnabled(true, LastTick);
    }
}

void TfrmMain::DXTimerActivate() { LastTick = System.TickCount(); }

void TfrmMain::DXTimerTimer() {
    if (!DismissedError.empty() && ++FramesSinceDismissal > RecurringErrorFrames) DismissedError.clear();
    Guarded([this] {
        UpdateFrame();
        if (Display.CanDraw()) DrawFrame();
    });
}

void TfrmMain::UpdateFrame() {
    const std::uint32_t now = System.TickCount();
    if (PendingError.empty() && !Pause.Paused()) {
        const std::uint32_t elapsed = now - LastTick;
        PollHeldKeys(now, elapsed);
        if (Current) ActOn(Current->Advance(now, elapsed));
    }
    // Also behind the error screen, so that no time piles up there.
    LastTick = now;
}

void TfrmMain::PollHeldKeys(std::uint32_t now, std::uint32_t elapsed) {
    HeldKeys.Update();
    if (Current) Current->HeldArrows(HeldKeys, now, elapsed);
}

void TfrmMain::ActOn(TScreenResult result) {
    switch (result) {
        case TScreenResult::Stay: break;
        case TScreenResult::OpenMenu: OpenMenu(); break;
        case TScreenResult::NewGame: StartGame(); break;
        case TScreenResult::OpenWebPage: OpenWebPage(); break;
        case TScreenResult::Exit: Close(); break;
    }
}

void TfrmMain::OpenMenu() {
    // The screen it replaces goes first: the intro's sound stops, the game's
    // music ends.
    Current.reset();
    try {
        Show(std::make_unique<TMenu>(*Services));
    } catch (...) {
        // The menu comes back with an empty credits panel behind the error.
        Show(std::make_unique<TMenu>(*Services, TMenu::TCredits::Empty));
        throw;
    }
}

void TfrmMain::Show(std::unique_ptr<TScreen> screen) {
    Current = std::move(screen);
    if (Current) Current->MouseMove(PointerX, PointerY);
}

void TfrmMain::StartGame() {
    Current.reset();
    try {
        Show(GameFactory(*Services));
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        // A working menu comes back behind the game's error; should its
        // credits fail as well, that is logged only, as the screen shows one
        // error at a time.
        try {
            OpenMenu();
        } catch (...) {
            WriteErrorLog(Directory, ErrorTitle(), DescribeError(std::current_exception()));
        }
        std::rethrow_exception(failure);
    }
}

void TfrmMain::OpenWebPage() {
    const std::string page = Directory + "WWW.html";
    if (!System.OpenDocument(page))
        throw EOpenDocumentError(bbx::Pl<"Nie można otworzyć strony ">() + bbx::Utf8ToCp1250(page));
    Close();
}

void TfrmMain::DrawFrame() {
    TSurface& back = Display.Surface();
    back.Fill(0);
    if (!PendingError.empty()) {
        DrawErrorText();
    } else {
        if (Current) Current->Draw(back);
        if (!Current || Current->ShowsPointer()) {
            SpriteBank->DrawNumber(back, 795, 5, Timer.FrameRate(), 1);
            SpriteBank->DrawPointer(back, PointerX, PointerY);
        }
    }
    const std::uint32_t now = System.TickCount();
    Pause.Draw(back, SpriteBank->Font);
    Shots.Capture(back.Buffer(), now);
    Shots.DrawNote(back, SpriteBank->Font, now);
    Display.Flip();
}

void TfrmMain::DrawErrorText() { SpriteBank->Font.DrawTextRect(Display.Surface(), kErrorTextRect, 0, PendingError, 0, 1); }

void TfrmMain::KeyDown(TVirtualKey& key, TShiftState shift) {
    Guarded([&] {
        if (key == TScreenshots::Key) {
            Shots.Request();
        } else if (Pause.TakeKeyDown(key)) {
            LastTick = System.TickCount();
        } else if (!PendingError.empty()) {
            // The key only dismisses the error screen.
            PendingError.clear();
            DismissedError = LastErrorSummary;
            FramesSinceDismissal = 0;
            if (StartHasFailed || MenuHasFailed) {
                IsEndedByError = true;
                Close();
            }
        } else if (Current) {
            ActOn(Current->KeyPressed(key, shift));
        }
    });
}

void TfrmMain::KeyUp(TVirtualKey& key, TShiftState shift) {
    Guarded([&] {
        if (key == TScreenshots::Key || Pause.TakeKeyUp(key)) return;
        if (TScreen* screen = InputScreen()) screen->KeyUp(key, shift);
    });
}

void TfrmMain::MouseMove(TShiftState, int x, int y) {
    Guarded([&] {
        PointerX = x;
        PointerY = y;
        // Also behind the error screen: the menu's buttons keep their hover.
        if (Current) Current->MouseMove(x, y);
    });
}

void TfrmMain::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    Guarded([&] {
        if (Pause.TakeMouseDown(button)) {
            LastTick = System.TickCount();
            return;
        }
        if (TScreen* screen = InputScreen()) screen->MouseDown(button, shift, x, y);
    });
}

void TfrmMain::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    Guarded([&] {
        if (Pause.TakeMouseUp(button)) return;
        if (TScreen* screen = InputScreen()) screen->MouseUp(button, shift, x, y);
    });
}

void TfrmMain::FocusChanged(bool focused) {
    Guarded([&] { Pause.FocusChanged(focused); });
}

TScreen* TfrmMain::InputScreen() const { return PendingError.empty() ? Current.get() : nullptr; }

TGameScreen* TfrmMain::Game() const { return dynamic_cast<TGameScreen*>(Current.get()); }
TMenu* TfrmMain::Menu() const { return dynamic_cast<TMenu*>(Current.get()); }
TIntro* TfrmMain::Intro() const { return dynamic_cast<TIntro*>(Current.get()); }

void TfrmMain::Close() {
    if (IsClosing) return;
    IsClosing = true;
    if (OnClose) OnClose();
}

void TfrmMain::ApplicationEventsException(const std::exception_ptr& error) noexcept {
    try {
        const TErrorInfo info = DescribeError(error);
        WriteErrorLog(Directory, ErrorTitle(), info);
        LastErrorSummary = info.ShownName() + ": " + info.Message;
        if (!PendingError.empty()) {
            // A second error while the first one shows ends the program.
            IsEndedByError = true;
            Close();
            return;
        }
        PendingError = ErrorScreenText(info, ErrorLogPath(Directory));
        if (LastErrorSummary == DismissedError) LeaveRecurringError();
        DismissedError.clear();
    } catch (...) {
        IsEndedByError = true;
        Close();
    }
}

void TfrmMain::LeaveRecurringError() {
    if (Menu()) {
        MenuHasFailed = true;
        IsEndedByError = true;
        return;
    }
    try {
        OpenMenu();
    } catch (...) {
        // The menu came back without its credits; the screen keeps showing
        // the error that brought the player here.
        WriteErrorLog(Directory, ErrorTitle(), DescribeError(std::current_exception()));
    }
    if (!Menu()) {
        MenuHasFailed = true;
        IsEndedByError = true;
    }
}

}  // namespace gb
