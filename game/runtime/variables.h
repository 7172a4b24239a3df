#pragma once
// The script's named text variables. A variable with an empty value does not
// exist: setting one to empty text removes it. Names compare exactly, byte
// for byte.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gb {

class TVariable {
public:
    std::string Name;
    std::string Value;
};

class TVariables {
public:
    // Empty when the name is empty or not set.
    std::string GetValue(std::string_view name) const;
    // An empty name does nothing; a non-empty value overwrites the variable in
    // its place or appends it; an empty value removes it, keeping the others
    // in their order.
    void SetValue(std::string_view name, std::string_view value);

    std::int32_t Count() const { return static_cast<std::int32_t>(Items.size()); }
    // In the order first set; raises EListError outside 0..Count()-1.
    const TVariable& Item(std::int32_t index) const;

private:
    std::vector<TVariable> Items;
};

}  // namespace gb
