#pragma once
// The programs keep all text as bytes of the Windows-1250 code page; these
// conversions are used only at the edges (UI toolkits, JSON, logs, files that
// declare UTF-8). The five bytes Windows-1250 leaves unassigned map to the C1
// control code points of the same value, so every byte survives a round trip.

#include <cstddef>
#include <string>
#include <string_view>

namespace bbx {

// The Unicode code point of one Windows-1250 byte.
char32_t Cp1250ToCodePoint(unsigned char byte);

// The Windows-1250 byte of a code point, or -1 when the code page lacks it.
int CodePointToCp1250(char32_t codePoint);

std::string Cp1250ToUtf8(std::string_view text);

// Characters the code page cannot hold, and malformed UTF-8 sequences, become
// '?'; `lossless` (when given) tells whether that happened.
std::string Utf8ToCp1250(std::string_view text, bool* lossless = nullptr);

// Letter case as the Polish Windows locale has it (Ł ↔ ł, Ą ↔ ą, ...).
char Cp1250ToLower(char c);
char Cp1250ToUpper(char c);
std::string Cp1250Lower(std::string_view text);

namespace detail {
template <std::size_t N>
struct Utf8Literal {
    char text[N];
    consteval Utf8Literal(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) text[i] = s[i];
    }
};
}  // namespace detail

// A Polish literal of the source (UTF-8) in the programs' code page, converted
// once on first use: Pl<"Nieprawidłowy format">().
template <detail::Utf8Literal S>
const std::string& Pl() {
    static const std::string converted = Utf8ToCp1250(S.text);
    return converted;
}

}  // namespace bbx
