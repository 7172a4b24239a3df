#include "runtime/display.h"

namespace gb {

TDisplay::TDisplay(TPresenter& presenter, TTextRenderer* text)
    : Presenter(presenter), Text(text), Back(std::make_unique<TSurface>(Format(), text)) {}

TDisplay::~TDisplay() {
    if (IsInitialized) Presenter.Close();
}

bbx::TPixelFormat TDisplay::Format() const {
    if (IsInitialized) return ActiveFormat;
    return RequestedBits == 32 ? bbx::TPixelFormat::Xrgb8888 : bbx::TPixelFormat::Rgb565;
}

void TDisplay::SetWindowed(bool windowed) {
    if (windowed == IsWindowed) return;
    IsWindowed = windowed;
    if (IsInitialized) Presenter.SetWindowed(windowed);
}

void TDisplay::Initialize() {
    if (IsInitialized) return;
    const bbx::TPixelFormat format = Format();
    Presenter.Open(ScreenWidth, ScreenHeight, format, IsWindowed);
    ActiveFormat = format;
    Back = std::make_unique<TSurface>(format, Text);
    Back->SetSize(ScreenWidth, ScreenHeight);
    IsInitialized = true;
    if (OnInitialize) OnInitialize();
}

void TDisplay::Finalize() {
    if (!IsInitialized) return;
    try {
        if (OnFinalize) OnFinalize();
    } catch (...) {
        ReleaseMode();
        throw;
    }
    ReleaseMode();
}

void TDisplay::ReleaseMode() {
    IsInitialized = false;
    Back = std::make_unique<TSurface>(Format(), Text);
    Presenter.Close();
}

void TDisplay::Flip() {
    if (CanDraw()) Presenter.Present(Back->Buffer());
}

}  // namespace gb
