#include "runtime/platform/null/null_presenter.h"

#include <utility>

namespace gb {

void TNullPresenter::Open(int width, int height, bbx::TPixelFormat format, bool windowed) {
    if (FailOpen) throw EDisplayError("no screen here");
    Record("open " + std::to_string(width) + "x" + std::to_string(height) +
           (format == bbx::TPixelFormat::Rgb565 ? " 16" : " 32") + (windowed ? " windowed" : " full"));
    ++Opened;
    OpenFormat = format;
    OpenWindowed = windowed;
    IsOpen = true;
}

void TNullPresenter::Close() {
    Record("close");
    if (IsOpen) ++Closed;
    IsOpen = false;
}

void TNullPresenter::Present(const bbx::TPixelBuffer& frame) {
    Record("present");
    ++Presented;
    if (Recording) LastFrame = frame;
}

void TNullPresenter::SetWindowed(bool windowed) {
    Record(windowed ? "windowed" : "full");
    OpenWindowed = windowed;
}

void TNullPresenter::Record(std::string call) {
    if (Recording) Log.push_back(std::move(call));
}

}  // namespace gb
