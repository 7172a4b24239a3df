#include "runtime/platform/sdl_window.h"

#include <SDL.h>

#include <utility>

#include "core/code_page.h"

namespace gb {
namespace {

[[noreturn]] void ThrowModeError() {
    throw EDisplayError(bbx::Pl<"Nie można ustawić trybu obrazu: ">() + bbx::Utf8ToCp1250(SDL_GetError()));
}

}  // namespace

void TSdlDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void TSdlDeleter::operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
void TSdlDeleter::operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }

TSdlWindow::TSdlWindow(std::string caption) : Caption(std::move(caption)) {}

TSdlWindow::~TSdlWindow() { Close(); }

void TSdlWindow::Open(int width, int height, bbx::TPixelFormat format, bool windowed) {
    Close();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) ThrowModeError();
    VideoStarted = true;
    Width = width;
    Height = height;
    Format = format;
    Windowed = windowed;
    try {
        // Scaled to the desktop's mode the picture stays smooth.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
        const Uint32 flags = windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
        Window.reset(SDL_CreateWindow(bbx::Cp1250ToUtf8(Caption).c_str(), SDL_WINDOWPOS_CENTERED,
                                      SDL_WINDOWPOS_CENTERED, width, height, flags));
        if (!Window) ThrowModeError();
        Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
        if (!Renderer) Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_PRESENTVSYNC));
        if (!Renderer) Renderer.reset(SDL_CreateRenderer(Window.get(), -1, 0));
        if (!Renderer) ThrowModeError();
        SDL_RendererInfo info;
        Vsync = SDL_GetRendererInfo(Renderer.get(), &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        if (SDL_RenderSetLogicalSize(Renderer.get(), width, height) != 0) ThrowModeError();
        CreateTexture();
        if (!Texture) ThrowModeError();
    } catch (...) {
        Close();
        throw;
    }
}

void TSdlWindow::CreateTexture() {
    Texture.reset(SDL_CreateTexture(Renderer.get(),
                                    Format == bbx::TPixelFormat::Rgb565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888,
                                    SDL_TEXTUREACCESS_STREAMING, Width, Height));
}

void TSdlWindow::ResetTexture() {
    if (Renderer) CreateTexture();
}

void TSdlWindow::Close() {
    Texture.reset();
    Renderer.reset();
    Window.reset();
    if (VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    VideoStarted = false;
}

void TSdlWindow::Present(const bbx::TPixelBuffer& frame) {
    if (!Renderer || frame.Width() != Width || frame.Height() != Height || frame.Format() != Format) return;
    const void* pixels = Format == bbx::TPixelFormat::Rgb565 ? static_cast<const void*>(frame.Row16(0))
                                                               : static_cast<const void*>(frame.Row32(0));
    const int pitch = Width * (Format == bbx::TPixelFormat::Rgb565 ? 2 : 4);
    if (!Texture || SDL_UpdateTexture(Texture.get(), nullptr, pixels, pitch) != 0) {
        CreateTexture();
        if (!Texture || SDL_UpdateTexture(Texture.get(), nullptr, pixels, pitch) != 0) return;
    }
    SDL_SetRenderDrawColor(Renderer.get(), 0, 0, 0, 255);
    SDL_RenderClear(Renderer.get());
    SDL_RenderCopy(Renderer.get(), Texture.get(), nullptr, nullptr);
    SDL_RenderPresent(Renderer.get());
}

void TSdlWindow::SetWindowed(bool windowed) {
    Windowed = windowed;
    if (!Window) return;
    SDL_SetWindowFullscreen(Window.get(), windowed ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (windowed) {
        SDL_SetWindowSize(Window.get(), Width, Height);
        SDL_SetWindowPosition(Window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

bool TSdlWindow::HasFocus() const { return Window && (SDL_GetWindowFlags(Window.get()) & SDL_WINDOW_INPUT_FOCUS) != 0; }

bool TSdlWindow::IsMinimized() const {
    return Window && (SDL_GetWindowFlags(Window.get()) & SDL_WINDOW_MINIMIZED) != 0;
}

}  // namespace gb
