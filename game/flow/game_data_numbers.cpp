#include "flow/game_data_numbers.h"

#include <cmath>
#include <string>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/real_format.h"

namespace gb {
namespace {

[[noreturn]] void ThrowNotANumber(std::string_view name, const std::string& text, std::string_view owner,
                                  const std::string& kind) {
    const std::string shown = text.empty() ? bbx::Pl<"brak atrybutu ">() + std::string(name)
                                           : bbx::Pl<"atrybut ">() + std::string(name) + "=\"" + text + "\"";
    throw bbx::EConvertError("GameData.xml: " + std::string(owner) + ": " + shown + bbx::Pl<", a potrzebna jest ">() +
                             kind + ".");
}

const std::string& IntegerKind() { return bbx::Pl<"liczba całkowita">(); }

}  // namespace

std::int32_t IntAttribute(const TXMLTag& tag, std::string_view name, std::string_view owner) {
    const std::string text = tag.GetAttribute(name);
    const auto value = bbx::ParseInt(text);
    if (!value) ThrowNotANumber(name, text, owner, IntegerKind());
    return *value;
}

std::optional<std::int32_t> OptionalIntAttribute(const TXMLTag& tag, std::string_view name, std::string_view owner) {
    if (tag.GetAttribute(name).empty()) return std::nullopt;
    return IntAttribute(tag, name, owner);
}

double DecimalAttribute(const TXMLTag& tag, std::string_view name, std::string_view owner) {
    const std::string text = tag.GetAttribute(name);
    const auto value = bbx::ParseDouble(text, bbx::DecimalSeparator());
    // "nan" and "inf" read as numbers, but no place in the world is there.
    if (!value || !std::isfinite(*value)) ThrowNotANumber(name, text, owner, bbx::Pl<"liczba">());
    return *value;
}

}  // namespace gb
