#pragma once
// The game's one window and the presentation of the back surface: full
// screen in the desktop's mode with the 800 x 600 picture letterboxed
// (aspect kept, centred), or an 800 x 600 window; a streaming texture in the
// back surface's format, shown with vsync where the renderer has it. Where
// the accelerated renderer is a software rasteriser (OpenGL on Mesa's
// llvmpipe, say, on a desktop without a GPU) SDL's own software renderer
// takes its place: it copies the frame straight to the window for a
// fraction of the cost.

#include <cstdint>
#include <memory>
#include <string>

#include "runtime/display.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace gb {

struct TSdlDeleter {
    void operator()(SDL_Window* window) const;
    void operator()(SDL_Renderer* renderer) const;
    void operator()(SDL_Texture* texture) const;
};

class TSdlWindow : public TPresenter {
public:
    // The caption is Windows-1250 text.
    explicit TSdlWindow(std::string caption);
    ~TSdlWindow() override;
    TSdlWindow(const TSdlWindow&) = delete;
    TSdlWindow& operator=(const TSdlWindow&) = delete;

    void Open(int width, int height, bbx::TPixelFormat format, bool windowed) override;
    void Close() override;
    void Present(const bbx::TPixelBuffer& frame) override;
    void SetWindowed(bool windowed) override;
    bool IsLost() const override { return !Renderer; }

    bool IsOpen() const { return Window != nullptr; }
    bool IsWindowed() const { return Windowed; }
    // The renderer waits for the vertical blank on each present.
    bool HasVsync() const { return Vsync; }
    // SDL's name of the renderer in use ("opengl", "software", ...).
    std::string RendererName() const;
    // The refresh rate of the display the window is on, in Hz; 0 when unknown.
    int RefreshRate() const;
    bool IsMinimized() const;
    // After the output device was reset: the texture is made anew.
    void ResetTexture();

private:
    void CreateRenderer();
    void CreateTexture();
    bool UpdateTexture(const bbx::TPixelBuffer& frame);

    std::string Caption;
    int Width = 0;
    int Height = 0;
    bbx::TPixelFormat Format = bbx::TPixelFormat::Rgb565;
    bool Windowed = false;
    bool Vsync = false;
    bool VideoStarted = false;
    std::uint32_t TextureFormat = 0;
    std::unique_ptr<SDL_Window, TSdlDeleter> Window;
    std::unique_ptr<SDL_Renderer, TSdlDeleter> Renderer;
    std::unique_ptr<SDL_Texture, TSdlDeleter> Texture;
};

}  // namespace gb
