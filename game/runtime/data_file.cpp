#include "runtime/data_file.h"

#include <algorithm>

#include "core/binary_io.h"
#include "core/code_page.h"
#include "core/program_directory.h"
#include "runtime/xml_parser.h"

namespace gb {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeByteOrderMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeByteOrderMark = "\xFE\xFF";

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

std::string_view SkipBlanks(std::string_view text) {
    while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
    return text;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Whether the text opens with an XML declaration whose encoding is UTF-8.
// The declaration is "<?xml" and white space; another instruction whose
// name only starts so ("<?xml-stylesheet") declares nothing. Blanks around
// '=' and either kind of quote are allowed, as XML has it.
bool DeclaresUtf8(std::string_view text) {
    text = SkipBlanks(text);
    constexpr std::string_view kDeclaration = "<?xml";
    if (text.size() <= kDeclaration.size() || !EqualsIgnoringCase(text.substr(0, kDeclaration.size()), kDeclaration) ||
        !IsXmlSpace(text[kDeclaration.size()]))
        return false;
    std::string_view declaration = text.substr(0, text.find('>'));
    constexpr std::string_view kEncoding = "encoding";
    for (std::size_t i = 1; i + kEncoding.size() <= declaration.size(); ++i) {
        if (!IsBlankOrControl(declaration[i - 1]) || !EqualsIgnoringCase(declaration.substr(i, kEncoding.size()), kEncoding))
            continue;
        std::string_view rest = SkipBlanks(declaration.substr(i + kEncoding.size()));
        if (rest.empty() || rest.front() != '=') return false;
        rest = SkipBlanks(rest.substr(1));
        if (rest.empty() || (rest.front() != '"' && rest.front() != '\'')) return false;
        const std::size_t closing = rest.find(rest.front(), 1);
        return closing != std::string_view::npos && EqualsIgnoringCase(rest.substr(1, closing - 1), "utf-8");
    }
    return false;
}

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit < 0xE000; }

// UTF-16 text in the code page. What the code page lacks becomes '?', one
// for each character: a surrogate pair (always beyond the code page), a lone
// surrogate, and an odd last byte.
std::string Utf16ToCp1250(std::string_view bytes, bool bigEndian) {
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string text;
    text.reserve(bytes.size() / 2 + 1);
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (IsHighSurrogate(u) && i + 3 < bytes.size() && IsLowSurrogate(unit(i + 2))) i += 2;
        const int byte = bbx::CodePointToCp1250(u);
        text += byte < 0 ? '?' : static_cast<char>(byte);
    }
    if (i < bytes.size()) text += '?';
    return text;
}

}  // namespace

std::string DataFileText(std::string bytes) {
    const std::string_view text(bytes);
    if (text.starts_with(kUtf8ByteOrderMark)) return bbx::Utf8ToCp1250(text.substr(kUtf8ByteOrderMark.size()));
    if (text.starts_with(kUtf16LeByteOrderMark)) return Utf16ToCp1250(text.substr(kUtf16LeByteOrderMark.size()), false);
    if (text.starts_with(kUtf16BeByteOrderMark)) return Utf16ToCp1250(text.substr(kUtf16BeByteOrderMark.size()), true);
    if (DeclaresUtf8(text)) return bbx::Utf8ToCp1250(text);
    return bytes;
}

std::unique_ptr<TXMLDocument> LoadDataFile(const std::string& directory, std::string_view fileName) {
    const std::string text = DataFileText(bbx::ReadWholeFile(directory + std::string(fileName)));
    auto document = std::make_unique<TXMLDocument>();
    Parse(*document, text, kGameXMLOptions);
    return document;
}

std::unique_ptr<TXMLDocument> LoadDataFile(std::string_view fileName) {
    return LoadDataFile(bbx::ProgramDirectory(), fileName);
}

}  // namespace gb
