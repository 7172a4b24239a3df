#pragma once
// A presenter without a screen: it keeps the last frame it was given and
// records what it was asked, so that what the game would show can be read
// back.

#include <string>
#include <vector>

#include "core/pixel_buffer.h"
#include "runtime/display.h"

namespace gb {

class TNullPresenter final : public TPresenter {
public:
    // Raises EDisplayError when FailOpen is set.
    void Open(int width, int height, bbx::TPixelFormat format, bool windowed) override;
    void Close() override;
    void Present(const bbx::TPixelBuffer& frame) override;
    void SetWindowed(bool windowed) override;
    bool IsLost() const override { return Lost; }

    // How it answers.
    bool FailOpen = false;
    bool Lost = false;
    // Off where only the game's own work should cost anything (benchmarks):
    // the calls are then counted, but neither logged nor the frame copied.
    bool Recording = true;

    // Every call in order: "open 800x600 16 full", "close", "present",
    // "windowed", "full".
    std::vector<std::string> Log;
    bool IsOpen = false;
    int Opened = 0;
    int Closed = 0;  // closes of an open mode
    int Presented = 0;
    bbx::TPixelFormat OpenFormat = bbx::TPixelFormat::Rgb565;
    bool OpenWindowed = false;
    bbx::TPixelBuffer LastFrame;  // 0 x 0 until the first present

private:
    void Record(std::string call);
};

}  // namespace gb
