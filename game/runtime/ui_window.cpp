#include "runtime/ui_window.h"

#include "runtime/game_errors.h"

namespace gb {

bool TUIWindow::Contains(std::int32_t x, std::int32_t y) const {
    return x >= Bounds.Left && x <= Bounds.Right && y >= Bounds.Top && y <= Bounds.Bottom;
}

void TUIWindow::MouseDown(TMouseButton, TShiftState, std::int32_t, std::int32_t) {}
void TUIWindow::MouseMove(std::int32_t, std::int32_t) {}
void TUIWindow::MouseUp(TMouseButton, TShiftState, std::int32_t, std::int32_t) {}
void TUIWindow::MouseEnter(std::int32_t, std::int32_t) {}
void TUIWindow::MouseLeave(std::int32_t, std::int32_t) {}
void TUIWindow::Draw(TSurface&) {}

TUI::~TUI() {
    while (!Items.empty()) Items.pop_back();
}

TUIWindow& TUI::Add(std::unique_ptr<TUIWindow> window) {
    window->Owner = this;
    Items.push_back(std::move(window));
    return *Items.back();
}

TUIWindow& TUI::Item(std::int32_t index) const {
    if (index < 0 || index >= Count()) throw EListError(index);
    return *Items[static_cast<std::size_t>(index)];
}

TUIWindow* TUI::WindowAt(std::int32_t x, std::int32_t y) const {
    for (auto it = Items.rbegin(); it != Items.rend(); ++it)
        if ((*it)->Visible && (*it)->Contains(x, y)) return it->get();
    return nullptr;
}

void TUI::Draw(TSurface& target) const {
    // A window may add windows while drawing: index, not iterate.
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i]->Visible) Items[i]->Draw(target);
}

void TUI::MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
    if (TUIWindow* window = WindowAt(x, y)) {
        CapturedWindow = window;
        window->MouseDown(button, shift, x, y);
    }
}

void TUI::MouseMove(std::int32_t x, std::int32_t y) {
    if (CapturedWindow) CapturedWindow->MouseMove(x, y);
    TUIWindow* window = WindowAt(x, y);
    if (window) {
        if (window != HoverWindow) {
            if (HoverWindow) HoverWindow->MouseLeave(x, y);
            HoverWindow = window;
            window->MouseEnter(x, y);
        }
        if (!CapturedWindow) window->MouseMove(x, y);
    } else if (HoverWindow) {
        TUIWindow* left = HoverWindow;
        HoverWindow = nullptr;
        left->MouseLeave(x, y);
    }
}

void TUI::MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) {
    // The capture ends whatever the release does.
    TUIWindow* target = CapturedWindow ? CapturedWindow : WindowAt(x, y);
    CapturedWindow = nullptr;
    if (target) target->MouseUp(button, shift, x, y);
}

}  // namespace gb
