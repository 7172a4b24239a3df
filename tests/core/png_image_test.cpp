#include <gtest/gtest.h>

#include <string>

#include "core/errors.h"
#include "core/png_image.h"

using namespace bbx;

namespace {

TPixelBuffer Pattern(TPixelFormat format) {
    TPixelBuffer buffer(7, 5, format);
    for (int y = 0; y < buffer.Height(); ++y)
        for (int x = 0; x < buffer.Width(); ++x)
            buffer.SetPixel(x, y, buffer.MapColor(RGB(x * 36, y * 60, (x + y) * 20)));
    return buffer;
}

void ExpectSameColours(const TPixelBuffer& expected, const TPixelBuffer& actual) {
    ASSERT_EQ(actual.Width(), expected.Width());
    ASSERT_EQ(actual.Height(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x)
            ASSERT_EQ(actual.UnmapPixel(actual.GetPixel(x, y)), expected.UnmapPixel(expected.GetPixel(x, y)))
                << x << "," << y;
}

}  // namespace

TEST(PngImage, EitherFormatReadsBackAsTheSameColours) {
    for (const TPixelFormat format : {TPixelFormat::Xrgb8888, TPixelFormat::Rgb565}) {
        const TPixelBuffer buffer = Pattern(format);
        for (const TPngAlpha alpha : {TPngAlpha::Opaque, TPngAlpha::ZeroTransparent}) {
            const std::string png = EncodePng(buffer, alpha);
            ASSERT_EQ(png.substr(1, 3), "PNG");
            ExpectSameColours(buffer, DecodePng(png));
        }
    }
}

TEST(PngImage, OnlyTheColourKeyVariantHasAnAlphaChannel) {
    const TPixelBuffer buffer = Pattern(TPixelFormat::Xrgb8888);
    // The colour type is the byte after the IHDR's width, height and depth.
    constexpr std::size_t kColourType = 8 + 8 + 4 + 4 + 1;
    EXPECT_EQ(EncodePng(buffer, TPngAlpha::Opaque)[kColourType], 2);
    EXPECT_EQ(EncodePng(buffer, TPngAlpha::ZeroTransparent)[kColourType], 6);
}

TEST(PngImage, DataThatIsNoPictureIsRefused) {
    const std::string png = EncodePng(Pattern(TPixelFormat::Xrgb8888), TPngAlpha::Opaque);
    EXPECT_THROW(DecodePng(""), Exception);
    EXPECT_THROW(DecodePng("GIF89a not a png at all"), Exception);
    EXPECT_THROW(DecodePng(png.substr(0, png.size() / 2)), Exception);
    std::string broken = png;
    broken[broken.size() / 2] = static_cast<char>(broken[broken.size() / 2] ^ 0x55);
    EXPECT_THROW(DecodePng(broken), Exception);
}
