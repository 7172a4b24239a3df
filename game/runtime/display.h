#pragma once
// The display: a screen mode of 800 x 600 in 16 or 32 bits per pixel, its
// back surface, and the flip that shows it. How the back surface reaches the
// screen is the presenter's business (the platform layer); everything else
// runs on the system's own pixel buffers.

#include <functional>
#include <memory>

#include "core/errors.h"
#include "core/pixel_buffer.h"
#include "runtime/surface.h"

namespace gb {

class TTextRenderer;

class EDisplayError : public bbx::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EDisplayError"; }
};

class TPresenter {
public:
    virtual ~TPresenter() = default;
    // Raises EDisplayError when the mode cannot be set.
    virtual void Open(int width, int height, bbx::TPixelFormat format, bool windowed) = 0;
    virtual void Close() = 0;
    // Shows the frame, waiting for the vertical blank where the screen has one.
    virtual void Present(const bbx::TPixelBuffer& frame) = 0;
    virtual void SetWindowed(bool windowed) = 0;
    // True while presenting is impossible (say, the output device was reset).
    virtual bool IsLost() const = 0;
};

class TDisplay {
public:
    static constexpr int ScreenWidth = 800;
    static constexpr int ScreenHeight = 600;

    TDisplay(TPresenter& presenter, TTextRenderer* text);
    // Releases the mode without calling the finalisation handler: owners call
    // Finalize while what the handler touches still exists.
    ~TDisplay();
    TDisplay(const TDisplay&) = delete;
    TDisplay& operator=(const TDisplay&) = delete;

    // 32 selects XRGB8888, anything else RGB565; it takes effect at the next
    // Initialize, the mode's depth is fixed while it is set.
    void SetBitsPerPixel(int bits) { RequestedBits = bits == 32 ? 32 : 16; }
    int BitsPerPixel() const { return Format() == bbx::TPixelFormat::Xrgb8888 ? 32 : 16; }
    bbx::TPixelFormat Format() const;

    // Full screen (the default) or an 800 x 600 window; may change at any time.
    void SetWindowed(bool windowed);
    bool Windowed() const { return IsWindowed; }
    void ToggleWindowed() { SetWindowed(!IsWindowed); }

    TTextRenderer* TextRenderer() const { return Text; }

    // Called at the end of Initialize and at the start of Finalize.
    std::function<void()> OnInitialize;
    std::function<void()> OnFinalize;

    // Sets the mode (raising EDisplayError when it cannot), creates the back
    // surface, then calls OnInitialize. Does nothing when already initialised.
    void Initialize();
    void Finalize();
    bool Initialized() const { return IsInitialized; }
    bool CanDraw() const { return IsInitialized && !Presenter.IsLost(); }

    // The surface the next flip shows: 800 x 600 while initialised, 0 x 0 otherwise.
    TSurface& Surface() { return *Back; }
    void Flip();

private:
    void ReleaseMode();

    TPresenter& Presenter;
    TTextRenderer* Text;
    int RequestedBits = 16;
    bbx::TPixelFormat ActiveFormat = bbx::TPixelFormat::Rgb565;
    bool IsWindowed = false;
    bool IsInitialized = false;
    std::unique_ptr<TSurface> Back;
};

}  // namespace gb
