#pragma once
// One model element as clipboard text: "BBX " followed by X1 Y1 Z1 R1 X2 Y2
// Z2 R2 in the general real format, then Color and C in decimal, separated by
// single spaces.

#include <optional>
#include <string>
#include <string_view>

#include "core/sphere_element.h"

namespace editor {

std::string ElementClipboardText(const bbx::TSphereElement& element);

// The element the text holds, exactly as written (a single sphere stays one);
// nullopt without the "BBX " prefix, or when one of the ten values is missing
// or no number. Values after the tenth are ignored.
std::optional<bbx::TSphereElement> ParseElementClipboardText(std::string_view text);

}  // namespace editor
