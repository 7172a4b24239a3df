#include "runtime/platform/sdl_window.h"

#include <SDL.h>

#include <string_view>
#include <utility>

#include "core/code_page.h"

namespace gb {
namespace {

[[noreturn]] void ThrowModeError() {
    throw EDisplayError(bbx::Pl<"Nie można ustawić trybu obrazu: ">() + bbx::Utf8ToCp1250(SDL_GetError()));
}

// Whether an OpenGL renderer draws on the CPU: Mesa's llvmpipe, softpipe and
// swrast, or another software rasteriser. Its context is current right
// after the renderer was created.
bool RendersInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::string_view(info.name).substr(0, 6) != "opengl") return false;
    constexpr unsigned kGlRenderer = 0x1F01;
    using TGetString = const unsigned char* (*)(unsigned);
    const auto getString = reinterpret_cast<TGetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    if (!name) return false;
    const std::string_view text(reinterpret_cast<const char*>(name));
    for (const std::string_view software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer", "SwiftShader"})
        if (text.find(software) != std::string_view::npos) return true;
    return false;
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
        CreateRenderer();
        if (SDL_RenderSetLogicalSize(Renderer.get(), width, height) != 0) ThrowModeError();
        CreateTexture();
        if (!Texture) ThrowModeError();
    } catch (...) {
        Close();
        throw;
    }
}

void TSdlWindow::CreateRenderer() {
    Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
    // A renderer the player chose by SDL_RENDER_DRIVER is kept as it is.
    if (Renderer && !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && RendersInSoftware(Renderer.get())) {
        Renderer.reset();
        // Else SDL shows the window surface through a texture of an
        // accelerated renderer, the same software OpenGL again.
        if (!SDL_GetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION)) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    if (!Renderer) Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_PRESENTVSYNC));
    if (!Renderer) Renderer.reset(SDL_CreateRenderer(Window.get(), -1, 0));
    if (!Renderer) ThrowModeError();
    // The software renderer may claim vsync, but it copies to the window
    // at once.
    SDL_RendererInfo info;
    Vsync = SDL_GetRendererInfo(Renderer.get(), &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 &&
            (info.flags & SDL_RENDERER_SOFTWARE) == 0;
}

std::string TSdlWindow::RendererName() const {
    SDL_RendererInfo info;
    return Renderer && SDL_GetRendererInfo(Renderer.get(), &info) == 0 ? info.name : "";
}

int TSdlWindow::RefreshRate() const {
    if (!Window) return 0;
    SDL_DisplayMode mode;
    const int display = SDL_GetWindowDisplayIndex(Window.get());
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate;
}

void TSdlWindow::CreateTexture() {
    const Uint32 frameFormat = Format == bbx::TPixelFormat::Rgb565 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    // The software renderer scales quickly only between equal formats: its
    // texture is in the window's, and each frame is converted into it.
    SDL_RendererInfo info;
    const bool software = SDL_GetRendererInfo(Renderer.get(), &info) == 0 && (info.flags & SDL_RENDERER_SOFTWARE);
    const Uint32 windowFormat = SDL_GetWindowPixelFormat(Window.get());
    TextureFormat = software && windowFormat != SDL_PIXELFORMAT_UNKNOWN ? windowFormat : frameFormat;
    Texture.reset(SDL_CreateTexture(Renderer.get(), TextureFormat, SDL_TEXTUREACCESS_STREAMING, Width, Height));
    if (Texture && software) SDL_SetTextureScaleMode(Texture.get(), SDL_ScaleModeNearest);
}

bool TSdlWindow::UpdateTexture(const bbx::TPixelBuffer& frame) {
    if (!Texture) return false;
    const bool sixteen = Format == bbx::TPixelFormat::Rgb565;
    const void* pixels = sixteen ? static_cast<const void*>(frame.Row16(0)) : static_cast<const void*>(frame.Row32(0));
    const int pitch = Width * (sixteen ? 2 : 4);
    const Uint32 frameFormat = sixteen ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    if (TextureFormat == frameFormat) return SDL_UpdateTexture(Texture.get(), nullptr, pixels, pitch) == 0;
    void* target = nullptr;
    int targetPitch = 0;
    if (SDL_LockTexture(Texture.get(), nullptr, &target, &targetPitch) != 0) return false;
    const bool converted =
        SDL_ConvertPixels(Width, Height, frameFormat, pixels, pitch, TextureFormat, target, targetPitch) == 0;
    SDL_UnlockTexture(Texture.get());
    return converted;
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
    if (!UpdateTexture(frame)) {
        CreateTexture();
        if (!UpdateTexture(frame)) return;
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

bool TSdlWindow::IsMinimized() const {
    return Window && (SDL_GetWindowFlags(Window.get()) & SDL_WINDOW_MINIMIZED) != 0;
}

}  // namespace gb
