#pragma once
// The main menu: the title, the version, a panel in which the credits of
// "Credits.xml" scroll upwards without end, and the buttons "Nowa gra",
// "WWW" and "Wyjście". The main window takes the choice from Advance.

#include <cstdint>
#include <string>

#include "flow/screen.h"
#include "runtime/ui_window.h"

namespace gb {

class TMenu : public TScreen {
public:
    // Values of Choice.
    static constexpr std::int32_t NoChoice = 0;
    static constexpr std::int32_t NewGameChoice = 1;
    static constexpr std::int32_t WebPageChoice = 2;
    static constexpr std::int32_t ExitChoice = 3;

    // Where the credits start: just below the panel, which starts empty.
    static constexpr float StartScroll = -392;

    enum class TCredits { Load, Empty };

    // With TCredits::Load, raises what reading "Credits.xml" raises; Empty
    // gives a menu whose panel stays empty.
    explicit TMenu(const TScreenServices& services, TCredits credits = TCredits::Load);

    // Scrolls the credits at 20 pixels per second; `now` is unused.
    void Update(std::uint32_t now, std::uint32_t elapsed);
    void Draw(TSurface& target) override;
    // Update, then the choice made since the last frame, handed over once.
    TScreenResult Advance(std::uint32_t now, std::uint32_t elapsed) override;

    void MouseMove(std::int32_t x, std::int32_t y) override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;

    std::int32_t Choice() const { return Chosen; }
    void ClearChoice() { Chosen = NoChoice; }

    const TUI& Windows() const { return Buttons; }
    const std::string& Credits() const { return CreditsText; }
    float Scroll() const { return Scrolled; }

private:
    void AddButton(std::int32_t x, std::int32_t y, const std::string& caption, void (TMenu::*click)());
    void LoadCredits();
    void NewGameClick() { Chosen = NewGameChoice; }
    void WebClick() { Chosen = WebPageChoice; }
    void ExitClick() { Chosen = ExitChoice; }

    const TScreenServices& Services;
    TUI Buttons;
    std::string CreditsText;
    float Scrolled = StartScroll;
    std::int32_t Chosen = NoChoice;
};

}  // namespace gb
