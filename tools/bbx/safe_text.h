#pragma once
// Messages that echo file contents (JSON keys, parse errors, names) printed
// so that they stay one line and cannot steer the terminal.

#include <string>
#include <string_view>

namespace bbx::tool {

// The UTF-8 text as one printable line: line breaks and tabs as \n, \r, \t;
// other control characters as \xHH (C0 and DEL) or \uHHHH (C1, U+2028,
// U+2029); each byte that is not part of well-formed UTF-8 as \xHH.
std::string OneLine(std::string_view text);

}  // namespace bbx::tool
