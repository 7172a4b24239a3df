#include "bbx/image_output.h"

#include <cstdio>

namespace bbx::tool {
namespace {

// Half of an integer span, written exactly (".5" or nothing).
std::string Half(long long twice) {
    const bool negative = twice < 0;
    const long long magnitude = negative ? -twice : twice;
    return (negative ? "-" : "") + std::to_string(magnitude / 2) + (magnitude % 2 ? ".5" : "");
}

}  // namespace

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
