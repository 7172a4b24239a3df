#include "bbx/safe_text.h"

#include <cstdint>
#include <cstdio>

namespace bbx::tool {
namespace {

void AppendHex(std::string& out, const char* prefix, unsigned value, int digits) {
    char escape[16];
    std::snprintf(escape, sizeof escape, "%s%0*x", prefix, digits, value);
    out += escape;
}

// The length of the well-formed UTF-8 sequence at `at` and its code point;
// 0 when the byte there starts none.
std::size_t SequenceAt(std::string_view text, std::size_t at, std::uint32_t& code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length;
    std::uint32_t least;
    if (lead >= 0xc2 && lead <= 0xdf) length = 2, least = 0x80, code = lead & 0x1fu;
    else if (lead >= 0xe0 && lead <= 0xef) length = 3, least = 0x800, code = lead & 0x0fu;
    else if (lead >= 0xf0 && lead <= 0xf4) length = 4, least = 0x10000, code = lead & 0x07u;
    else return 0;
    if (text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xc0u) != 0x80u) return 0;
        code = (code << 6) | (byte(at + i) & 0x3fu);
    }
    const bool surrogate = code >= 0xd800 && code <= 0xdfff;
    if (code < least || surrogate || code > 0x10ffff) return 0;
    return length;
}

}  // namespace

std::string OneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if (c == '\n') out += "\\n";
            else if (c == '\r') out += "\\r";
            else if (c == '\t') out += "\\t";
            else if (c < 0x20 || c == 0x7f) AppendHex(out, "\\x", c, 2);
            else out += static_cast<char>(c);
            ++at;
            continue;
        }
        std::uint32_t code = 0;
        const std::size_t length = SequenceAt(text, at, code);
        if (length == 0) {
            AppendHex(out, "\\x", c, 2);
            ++at;
            continue;
        }
        if (code <= 0x9f || code == 0x2028 || code == 0x2029) AppendHex(out, "\\u", code, 4);
        else out.append(text.substr(at, length));
        at += length;
    }
    return out;
}

}  // namespace bbx::tool
