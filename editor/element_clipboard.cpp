#include "editor/element_clipboard.h"

#include <vector>

#include "core/real_format.h"

namespace editor {
namespace {

constexpr std::string_view kPrefix = "BBX ";

// Every space ends a token, so two spaces in a row give an empty one.
std::vector<std::string_view> Tokens(std::string_view text) {
    std::vector<std::string_view> tokens;
    for (;;) {
        const auto space = text.find(' ');
        tokens.push_back(text.substr(0, space));
        if (space == std::string_view::npos) return tokens;
        text.remove_prefix(space + 1);
    }
}

}  // namespace

std::string ElementClipboardText(const bbx::TSphereElement& e) {
    std::string text(kPrefix);
    for (const float value : {e.X1, e.Y1, e.Z1, e.R1, e.X2, e.Y2, e.Z2, e.R2}) text += bbx::FormatReal(value) + ' ';
    // The colour is written as the signed value it reads back as, so any bits
    // in its top byte survive a paste.
    text += std::to_string(static_cast<std::int32_t>(e.Color)) + ' ' + std::to_string(e.C);
    return text;
}

std::optional<bbx::TSphereElement> ParseElementClipboardText(std::string_view text) {
    if (!text.starts_with(kPrefix)) return std::nullopt;
    const std::vector<std::string_view> tokens = Tokens(text.substr(kPrefix.size()));
    if (tokens.size() < 10) return std::nullopt;
    float reals[8];
    for (std::size_t i = 0; i < 8; ++i) {
        const auto value = bbx::ParseReal(tokens[i]);
        if (!value) return std::nullopt;
        reals[i] = *value;
    }
    const auto color = bbx::ParseInt(tokens[8]);
    const auto c = bbx::ParseInt(tokens[9]);
    if (!color || !c) return std::nullopt;
    return bbx::MakeSeries(static_cast<std::uint32_t>(*color), *c, reals[0], reals[1], reals[2], reals[3], reals[4],
                           reals[5], reals[6], reals[7]);
}

}  // namespace editor
