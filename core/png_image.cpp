#include "core/png_image.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "core/errors.h"

namespace bbx {
namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

struct TReadPosition {
    std::string_view Bytes;
    std::size_t At = 0;
};

void ReadFromView(png_structp png, png_bytep data, png_size_t length) {
    auto& source = *static_cast<TReadPosition*>(png_get_io_ptr(png));
    if (length > source.Bytes.size() - source.At) png_error(png, "truncated");
    std::memcpy(data, source.Bytes.data() + source.At, length);
    source.At += length;
}

// libpng reports through longjmp; its own messages go nowhere.
void Silent(png_structp, png_const_charp) {}
[[noreturn]] void FailRead(png_structp png, png_const_charp) { png_longjmp(png, 1); }

}  // namespace

std::string EncodePng(const TPixelBuffer& buffer, TPngAlpha alpha) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Silent);
    if (!png) throw Exception("cannot start the PNG encoder");
    png_infop info = png_create_info_struct(png);
    std::string out;
    const std::size_t channels = alpha == TPngAlpha::Opaque ? 3 : 4;
    std::vector<png_byte> row(static_cast<std::size_t>(buffer.Width()) * channels);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw Exception("cannot encode the PNG picture");
    }
    png_set_write_fn(png, &out, AppendToString, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(buffer.Width()), static_cast<png_uint_32>(buffer.Height()), 8,
                 channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < buffer.Height(); ++y) {
        png_byte* p = row.data();
        for (int x = 0; x < buffer.Width(); ++x, p += channels) {
            const std::uint32_t pixel = buffer.GetPixel(x, y);
            const TColor c = buffer.UnmapPixel(pixel);
            p[0] = static_cast<png_byte>(GetRValue(c));
            p[1] = static_cast<png_byte>(GetGValue(c));
            p[2] = static_cast<png_byte>(GetBValue(c));
            if (channels == 4) p[3] = pixel == 0 ? 0 : 255;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

TPixelBuffer DecodePng(std::string_view bytes) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailRead, Silent);
    if (!png) throw Exception("cannot start the PNG decoder");
    png_infop info = png_create_info_struct(png);
    TReadPosition source{bytes};
    std::vector<png_byte> pixels;
    std::vector<png_bytep> rows;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        throw Exception("not a readable PNG picture");
    }
    png_set_read_fn(png, &source, ReadFromView);
    png_read_info(png, info);
    const std::size_t width = png_get_image_width(png, info);
    const std::size_t height = png_get_image_height(png, info);
    if (width * height > TPixelBuffer::kMaxPixels) png_error(png, "too large");
    // Every colour type and depth as 8-bit RGBA.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != width * 4) png_error(png, "unexpected layout");
    pixels.resize(width * height * 4);
    rows.resize(height);
    for (std::size_t y = 0; y < height; ++y) rows[y] = pixels.data() + y * width * 4;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);

    TPixelBuffer picture(static_cast<int>(width), static_cast<int>(height), TPixelFormat::Xrgb8888);
    const png_byte* p = pixels.data();
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x, p += 4) picture.Row32(y)[x] = picture.MapColor(RGB(p[0], p[1], p[2]));
    return picture;
}

}  // namespace bbx
