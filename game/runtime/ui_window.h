#pragma once
// A minimal window toolkit drawn on the game's surface: TUIWindow is anything
// clickable, TUI owns a list of them, draws them and routes the mouse to them
// with hit-testing, hover enter and leave, and capture from press to release.

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/mouse_input.h"

namespace gb {

class TSurface;
class TUI;

class TUIWindow {
public:
    // Screen pixels; a point on any of the four edges is inside.
    struct TBounds {
        std::int32_t Left = 0;
        std::int32_t Top = 0;
        std::int32_t Right = 0;
        std::int32_t Bottom = 0;
    };

    TUIWindow() = default;
    TUIWindow(const TUIWindow&) = delete;
    TUIWindow& operator=(const TUIWindow&) = delete;
    virtual ~TUIWindow() = default;

    bool Contains(std::int32_t x, std::int32_t y) const;

    // Everything does nothing here; a window kind overrides what it needs.
    virtual void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    virtual void MouseMove(std::int32_t x, std::int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    virtual void MouseEnter(std::int32_t x, std::int32_t y);
    virtual void MouseLeave(std::int32_t x, std::int32_t y);
    virtual void Draw(TSurface& target);

    bool Visible = true;  // only visible windows are drawn and hit-tested
    TBounds Bounds;
    TUI* Owner = nullptr;  // set by TUI::Add
};

class TUI {
public:
    TUI() = default;
    TUI(const TUI&) = delete;
    TUI& operator=(const TUI&) = delete;
    // Frees the windows, the last added first.
    ~TUI();

    // Takes the window, on top of those added before; returns it.
    TUIWindow& Add(std::unique_ptr<TUIWindow> window);

    std::int32_t Count() const { return static_cast<std::int32_t>(Items.size()); }
    // Raises EListError outside 0..Count()-1.
    TUIWindow& Item(std::int32_t index) const;
    // The window that received the last press, until the release.
    TUIWindow* Captured() const { return CapturedWindow; }
    TUIWindow* Hover() const { return HoverWindow; }
    // The topmost visible window containing the point, or nullptr.
    TUIWindow* WindowAt(std::int32_t x, std::int32_t y) const;

    // Draws the visible windows in the order added.
    void Draw(TSurface& target) const;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);
    void MouseMove(std::int32_t x, std::int32_t y);
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y);

private:
    std::vector<std::unique_ptr<TUIWindow>> Items;
    TUIWindow* CapturedWindow = nullptr;
    TUIWindow* HoverWindow = nullptr;
};

}  // namespace gb
