#pragma once
// The general real format: the shortest decimal that reads back to the same
// single value (at most 15 significant digits), no trailing zeros, exponent
// form only below 1e-5 and from 1e15 in magnitude, with the user's decimal
// separator (LC_NUMERIC). Reading accepts that separator and also '.'.

#include <optional>
#include <string>
#include <string_view>

namespace bbx {

// The decimal separator in use: the one set with UseDecimalSeparator, and
// until one is set, that of the process's current LC_NUMERIC locale. A
// separator of more than one byte is taken as '.'.
char DecimalSeparator();

// The decimal separator of the user's numeric locale as the environment
// names it (LC_ALL, LC_NUMERIC, LANG), read without switching the process's
// locale, so that nothing else (the C library's number conversions, the
// libraries' parsers) changes; '.' when that locale is not installed.
char UserDecimalSeparator();

// Makes DecimalSeparator answer `separator` from now on, whatever locale the
// process is in; none goes back to the current LC_NUMERIC locale.
void UseDecimalSeparator(std::optional<char> separator);

std::string FormatReal(float value);
std::string FormatReal(float value, char separator);

// Parses a real, with optional surrounding blanks; nullopt when the text is
// not a number.
std::optional<float> ParseReal(std::string_view text);
std::optional<float> ParseReal(std::string_view text, char separator);
std::optional<double> ParseDouble(std::string_view text, char separator);

// As ParseReal, raising EConvertError with a message naming the text.
float StrToReal(std::string_view text);

// Plain decimal integers (optional sign, optional surrounding blanks).
std::optional<int> ParseInt(std::string_view text);
int StrToInt(std::string_view text);

}  // namespace bbx
