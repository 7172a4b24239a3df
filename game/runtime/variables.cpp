#include "runtime/variables.h"

#include <algorithm>

#include "runtime/game_errors.h"

namespace gb {

std::string TVariables::GetValue(std::string_view name) const {
    const auto found = std::find_if(Items.begin(), Items.end(), [&](const TVariable& v) { return v.Name == name; });
    return found == Items.end() ? std::string() : found->Value;
}

void TVariables::SetValue(std::string_view name, std::string_view value) {
    if (name.empty()) return;
    const auto found = std::find_if(Items.begin(), Items.end(), [&](const TVariable& v) { return v.Name == name; });
    if (value.empty()) {
        if (found != Items.end()) Items.erase(found);
    } else if (found != Items.end()) {
        found->Value = value;
    } else {
        Items.push_back({std::string(name), std::string(value)});
    }
}

const TVariable& TVariables::Item(std::int32_t index) const {
    if (index < 0 || index >= Count()) throw EListError(index);
    return Items[static_cast<std::size_t>(index)];
}

}  // namespace gb
