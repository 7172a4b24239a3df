#include "core/real_format.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>

#include "core/errors.h"

namespace bbx {
namespace {

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// Text with the separator turned into '.', or nullopt if it holds characters
// no number can hold (so that "1,5" is not silently read as 1 under '.').
std::optional<std::string> Normalise(std::string_view text, char separator) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+' || text.front() == ' ') return std::nullopt;
    std::string out(text);
    for (char& c : out)
        if (c == separator) c = '.';
    return out;
}

template <typename T>
std::optional<T> ParseFloating(std::string_view text, char separator) {
    const auto normalised = Normalise(text, separator);
    if (!normalised) return std::nullopt;
    const std::string& s = *normalised;
    T value{};
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (end != s.data() + s.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; the
        // usual reading is infinity or zero of the right sign.
        const bool negative = s.front() == '-';
        const auto e = s.find_first_of("eE");
        const bool tiny = e != std::string::npos && s.find('-', e) != std::string::npos;
        value = tiny ? T(0) : std::numeric_limits<T>::infinity();
        if (negative) value = -value;
    } else if (ec != std::errc()) {
        return std::nullopt;
    }
    return value;
}

std::optional<char> ChosenSeparator;

// A separator of one plain character; anything else (none, or a character
// of several bytes, which a one-byte separator cannot stand for) is '.'.
char SeparatorFrom(const char* point) {
    return point && point[0] && !point[1] && static_cast<unsigned char>(point[0]) < 0x80 ? point[0] : '.';
}

}  // namespace

char DecimalSeparator() {
    if (ChosenSeparator) return *ChosenSeparator;
    const std::lconv* conv = std::localeconv();
    return SeparatorFrom(conv ? conv->decimal_point : nullptr);
}

char UserDecimalSeparator() {
    const locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (!user) return '.';
    const char separator = SeparatorFrom(::nl_langinfo_l(RADIXCHAR, user));
    ::freelocale(user);
    return separator;
}

void UseDecimalSeparator(std::optional<char> separator) { ChosenSeparator = separator; }

std::string FormatReal(float value) { return FormatReal(value, DecimalSeparator()); }

std::string FormatReal(float value, char separator) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return std::signbit(value) ? "-0" : "0";

    // Shortest round-trip digits in scientific form: d[.ddd]e±XX.
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string_view sci(buf, static_cast<std::size_t>(result.ptr - buf));
    const bool negative = sci.front() == '-';
    if (negative) sci.remove_prefix(1);
    const auto ePos = sci.find('e');
    int exponent = 0;
    std::from_chars(sci.data() + ePos + 1 + (sci[ePos + 1] == '+'), sci.data() + sci.size(), exponent);
    std::string digits;
    for (char c : sci.substr(0, ePos))
        if (c != '.') digits += c;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    const float magnitude = std::fabs(value);
    if (magnitude < 1e-5f || magnitude >= 1e15f) {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent < 0) {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            out += digits;
            out.append(whole - digits.size(), '0');
        } else {
            out += digits.substr(0, whole);
            out += separator;
            out += digits.substr(whole);
        }
    }
    return out;
}

std::optional<float> ParseReal(std::string_view text) { return ParseReal(text, DecimalSeparator()); }

std::optional<float> ParseReal(std::string_view text, char separator) {
    return ParseFloating<float>(text, separator);
}

std::optional<double> ParseDouble(std::string_view text, char separator) {
    return ParseFloating<double>(text, separator);
}

float StrToReal(std::string_view text) {
    const auto value = ParseReal(text);
    if (!value) throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return *value;
}

std::optional<int> ParseInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int StrToInt(std::string_view text) {
    const auto value = ParseInt(text);
    if (!value) throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
    return *value;
}

}  // namespace bbx
