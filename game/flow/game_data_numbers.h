#pragma once
// Numbers in the attributes of "GameData.xml". An absent attribute and an
// empty one are the same. A value that is not a number raises EConvertError
// naming the attribute, its text and `owner`, the element it stands on as
// the player's error screen should name it (for instance the action "timer").

#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/xml_document.h"

namespace gb {

// A plain decimal integer that must be there.
std::int32_t IntAttribute(const TXMLTag& tag, std::string_view name, std::string_view owner);
// None when absent; a present value must be an integer.
std::optional<std::int32_t> OptionalIntAttribute(const TXMLTag& tag, std::string_view name, std::string_view owner);
// A finite decimal number that must be there, written with the user's
// decimal separator or with '.'.
double DecimalAttribute(const TXMLTag& tag, std::string_view name, std::string_view owner);

}  // namespace gb
