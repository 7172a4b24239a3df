#pragma once
// The game's main window: it reads "Config.xml", brings the display and the
// shared services up and down, runs one frame per timer tick (update, then
// draw with the frame rate and the pointer), routes keys and mouse to the
// one current screen, switches screens as the screens ask, and turns every
// error into an error screen and an "Errors.log" entry. It knows no
// platform: the platform loop feeds it ticks and events.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/focus_pause.h"
#include "app/screenshots.h"
#include "core/errors.h"
#include "flow/screen.h"
#include "runtime/display.h"
#include "runtime/frame_timer.h"
#include "runtime/input_events.h"
#include "runtime/keyboard_state.h"
#include "runtime/system_services.h"
#include "world/gfx.h"

namespace gb {

class TIntro;
class TMenu;
class TSfx;
class TSoundLayer;
class TTextRenderer;

// A document the desktop could not open.
class EOpenDocumentError : public bbx::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EOpenDocumentError"; }
};

class TfrmMain : public TWindowEvents {
public:
    // The sprite bank gets at most this many slots, whatever the settings
    // say, so that a slip of the pen cannot claim all memory.
    static constexpr std::int32_t MostSpriteCacheSize = 100000;
    // The same error again within this many frames of its screen being
    // dismissed is one that every frame raises: the player is sent back to
    // the menu, and should the menu be what raises it, the program ends.
    static constexpr int RecurringErrorFrames = 5;

    // `directory` ends with '/'; the game factory makes the game for "Nowa gra".
    TfrmMain(TPresenter& presenter, TTextRenderer& text, TSoundLayer& sound, TSystemServices& system,
             std::string directory, TGameFactory gameFactory);
    // Finalises the display, which frees the screens and the services.
    ~TfrmMain() override;
    TfrmMain(const TfrmMain&) = delete;
    TfrmMain& operator=(const TfrmMain&) = delete;

    // Reads the configuration and initialises the display, which creates the
    // services and the intro. A failure shows the error screen when there is
    // a font to show it with; otherwise the window closes at once.
    void FormCreate();

    // The display window's events.
    void KeyDown(TVirtualKey& key, TShiftState shift) override;
    void KeyUp(TVirtualKey& key, TShiftState shift) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    // Losing the focus pauses the game until the next key or click.
    void FocusChanged(bool focused) override;

    // Asks the platform to end the program (OnClose); nothing is handled
    // after it.
    void Close();
    std::function<void()> OnClose;
    bool Closing() const { return IsClosing; }
    // The program ends because of an error: a second one while the error
    // screen showed, or one at start that left nothing to show.
    bool EndedByError() const { return IsEndedByError; }
    // The class name and message of the last error, for a report outside
    // the window; Windows-1250.
    const std::string& LastError() const { return LastErrorSummary; }

    TDisplay& DXDraw() { return Display; }
    TFrameTimer& DXTimer() { return Timer; }

    // The current screen as what it is; none when it is something else.
    TGameScreen* Game() const;
    TMenu* Menu() const;
    TIntro* Intro() const;
    TGfx* Gfx() const { return SpriteBank.get(); }
    TSfx* Sfx() const { return SoundPlayer.get(); }

    std::int32_t MouseX() const { return PointerX; }
    std::int32_t MouseY() const { return PointerY; }
    bool Paused() const { return Pause.Paused(); }
    const TScreenshots& Screenshots() const { return Shots; }
    // Not empty while the error screen shows; Windows-1250.
    const std::string& ErrorText() const { return PendingError; }
    std::int32_t SpriteCacheSize() const { return CacheSize; }
    float AngleTolerance() const { return Tolerance; }
    std::size_t SpriteMemoryBudget() const { return SpriteMemory; }
    // A window or full screen chosen on the command line; it wins over
    // Config.xml. Set before FormCreate.
    std::optional<bool> StartWindowed;

private:
    void LoadConfig();
    void DXDrawInitialize();
    void DXDrawFinalize();
    void DXTimerActivate();
    void DXTimerTimer();
    void UpdateFrame();
    void PollHeldKeys(std::uint32_t now, std::uint32_t elapsed);
    void DrawFrame();
    void DrawErrorText();
    // The screen that keys and presses go to: none while the error screen shows.
    TScreen* InputScreen() const;

    void ActOn(TScreenResult result);
    // Makes the screen current and tells it where the pointer is, so that
    // what lies under the pointer answers a click before the mouse moves.
    void Show(std::unique_ptr<TScreen> screen);
    void OpenMenu();
    void StartGame();
    void OpenWebPage();
    void StartFailed(const std::exception_ptr& error);
    void ApplicationEventsException(const std::exception_ptr& error) noexcept;
    void LeaveRecurringError();
    // Runs a handler; whatever it raises goes to the error screen.
    template <typename THandler>
    void Guarded(THandler&& handler) noexcept;

    TTextRenderer& Text;
    TSoundLayer& Sound;
    TSystemServices& System;
    const std::string Directory;
    const TGameFactory GameFactory;

    TDisplay Display;
    TFrameTimer Timer;
    TKeyboardState HeldKeys;
    std::uint32_t LastTick = 0;
    TFocusPause Pause;
    TScreenshots Shots;

    std::unique_ptr<TSfx> SoundPlayer;
    std::unique_ptr<TGfx> SpriteBank;
    std::optional<TScreenServices> Services;
    // The intro, a menu or the game; none when the game factory made none.
    std::unique_ptr<TScreen> Current;

    std::int32_t PointerX = 400;
    std::int32_t PointerY = 300;
    std::string PendingError;
    std::string LastErrorSummary;
    std::int32_t CacheSize = TGfx::DefaultSpriteCacheSize;
    float Tolerance = TGfx::DefaultAngleTolerance;
    std::size_t SpriteMemory = TGfx::DefaultSpriteMemoryBudget;

    bool IsClosing = false;
    bool IsEndedByError = false;
    // Dismissing the error screen of a failed start ends the program: the
    // game cannot run without its services.
    bool StartHasFailed = false;
    // Likewise once the menu itself keeps failing.
    bool MenuHasFailed = false;
    // The error whose screen was dismissed last, while it may still recur.
    std::string DismissedError;
    int FramesSinceDismissal = 0;
};

}  // namespace gb
