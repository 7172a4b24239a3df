#include "bbx/image_output.h"

#include <cstdio>
#include <png.h>
#include <stdexcept>

namespace bbx::tool {
namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

// Half of an integer span, written exactly (".5" or nothing).
std::string Half(long long twice) {
    const bool negative = twice < 0;
    const long long magnitude = negative ? -twice : twice;
    return (negative ? "-" : "") + std::to_string(magnitude / 2) + (magnitude % 2 ? ".5" : "");
}

}  // namespace

std::string EncodePng(const TPixelBuffer& buffer) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) throw std::runtime_error("cannot start the PNG encoder");
    png_infop info = png_create_info_struct(png);
    std::string out;
    std::vector<png_byte> row(static_cast<std::size_t>(buffer.Width()) * 4);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode the PNG picture");
    }
    png_set_write_fn(png, &out, AppendToString, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(buffer.Width()), static_cast<png_uint_32>(buffer.Height()), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < buffer.Height(); ++y) {
        for (int x = 0; x < buffer.Width(); ++x) {
            const std::uint32_t pixel = buffer.GetPixel(x, y);
            const TColor c = buffer.UnmapPixel(pixel);
            png_byte* p = &row[static_cast<std::size_t>(x) * 4];
            p[0] = static_cast<png_byte>(GetRValue(c));
            p[1] = static_cast<png_byte>(GetGValue(c));
            p[2] = static_cast<png_byte>(GetBValue(c));
            p[3] = pixel == 0 ? 0 : 255;
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void SvgCanvas::Ellipse(int left, int top, int right, int bottom) { Discs.push_back({left, top, right, bottom, Brush}); }

std::string SvgCanvas::Document() const {
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(Width) + "\" height=\"" +
                      std::to_string(Height) + "\" viewBox=\"0 0 " + std::to_string(Width) + " " +
                      std::to_string(Height) + "\">\n";
    for (const Disc& d : Discs) {
        char fill[8];
        std::snprintf(fill, sizeof fill, "%02x%02x%02x", GetRValue(d.Color), GetGValue(d.Color), GetBValue(d.Color));
        out += "<ellipse cx=\"" + Half(static_cast<long long>(d.Left) + d.Right) + "\" cy=\"" +
               Half(static_cast<long long>(d.Top) + d.Bottom) + "\" rx=\"" +
               Half(static_cast<long long>(d.Right) - d.Left) + "\" ry=\"" +
               Half(static_cast<long long>(d.Bottom) - d.Top) + "\" fill=\"#" + fill + "\"/>\n";
    }
    out += "</svg>\n";
    return out;
}

}  // namespace bbx::tool
