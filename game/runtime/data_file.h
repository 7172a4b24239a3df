#pragma once
// The one way the game reads its data files ("Config.xml", "GameData.xml",
// "Credits.xml"): the file beside the program, read whole and parsed on a
// fresh document with the game's reader options.

#include <memory>
#include <string>
#include <string_view>

#include "runtime/xml_document.h"

namespace gb {

// The file's text in the programs' code page. A file that declares UTF-8 (a
// byte-order mark, or encoding="utf-8" in its XML declaration, in any letter
// case) is converted, its byte-order mark dropped; so is a file in UTF-16
// with a byte-order mark, in either byte order (as editors save "Unicode"
// text). Any other file is taken byte for byte.
std::string DataFileText(std::string bytes);

// The file in the directory (given with its trailing '/'). Raises EInOutError
// with the system's code and message when the file cannot be opened or read.
std::unique_ptr<TXMLDocument> LoadDataFile(const std::string& directory, std::string_view fileName);
// The same in the program's own directory.
std::unique_ptr<TXMLDocument> LoadDataFile(std::string_view fileName);

}  // namespace gb
