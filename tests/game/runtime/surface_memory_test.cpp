// A surface whose pixels cannot be allocated stays as it was, size and
// pixels together, and goes on drawing and being drawn.
#include <gtest/gtest.h>

#include <climits>
#include <new>

#include "core/pixel_buffer.h"
#include "runtime/game_canvas.h"
#include "runtime/surface.h"

using namespace gb;
using bbx::RGB;
using bbx::TPixelFormat;

namespace {

constexpr TPixelFormat BothFormats[] = {TPixelFormat::Rgb565, TPixelFormat::Xrgb8888};

}  // namespace

TEST(SurfaceMemory, ASizeThatCannotBeAllocatedLeavesSizeAndPixels) {
    for (const TPixelFormat format : BothFormats) {
        TSurface s(format);
        s.SetSize(5, 4);
        s.Fill(RGB(255, 255, 255));
        s.Buffer().SetPixel(4, 3, s.Buffer().MapColor(RGB(255, 0, 0)));
        const std::size_t bytes = s.ByteSize();

        // Beyond any address space, and just past the most one buffer holds.
        for (const auto& [w, h] : {std::pair{INT_MAX, INT_MAX}, std::pair{16385, 16384}}) {
            EXPECT_THROW(s.SetSize(w, h), std::bad_alloc) << w << " x " << h;
            EXPECT_EQ(s.Width(), 5);
            EXPECT_EQ(s.Height(), 4);
            EXPECT_EQ(s.ByteSize(), bytes);
            EXPECT_EQ(s.Pixel(0, 0), s.Buffer().MapColor(RGB(255, 255, 255)));
            EXPECT_EQ(s.Pixel(4, 3), s.Buffer().MapColor(RGB(255, 0, 0)));
        }

        // It is still drawn from whole and draws through its canvas.
        TSurface target(format);
        target.SetSize(10, 10);
        target.Fill(0);
        target.Draw(5, 6, s, s.ClientRect(), false);
        EXPECT_EQ(target.Pixel(9, 9), s.Buffer().MapColor(RGB(255, 0, 0)));
        EXPECT_EQ(target.Pixel(5, 6), s.Buffer().MapColor(RGB(255, 255, 255)));
        TGameCanvas& canvas = s.Canvas();
        canvas.SetPenColor(RGB(0, 0, 255));
        canvas.SetBrushColor(RGB(0, 0, 255));
        canvas.Rectangle(-10, -10, 100, 100);
        s.ReleaseCanvas();
        EXPECT_EQ(s.Pixel(4, 3), s.Buffer().MapColor(RGB(0, 0, 255)));
    }
}

TEST(SurfaceMemory, TheLargestBufferIsAllowedAndSizesAreCountedInBytes) {
    EXPECT_EQ(bbx::TPixelBuffer::ByteSize(16384, 16384, TPixelFormat::Xrgb8888), std::size_t{1} << 30);
    EXPECT_EQ(bbx::TPixelBuffer::ByteSize(3, 5, TPixelFormat::Rgb565), 30u);
    EXPECT_EQ(bbx::TPixelBuffer::ByteSize(-3, 5, TPixelFormat::Rgb565), 0u);
    TSurface s(TPixelFormat::Rgb565);
    s.SetSize(16384, 1);
    EXPECT_EQ(s.ByteSize(), 32768u);
    s.SetSize(0, 0);
    EXPECT_EQ(s.ByteSize(), 0u);
}
