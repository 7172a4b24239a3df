#pragma once
// What the world calls back on the running game controller: the script's
// event entry, getting the hero into or out of the sleigh, the hero and the
// object list. The controller implements it; tests use a recording double.

#include <string_view>

namespace gb {

class TBohater;
class TLista;

class TGameInterface {
public:
    virtual ~TGameInterface() = default;

    // Runs the answer of the script at once, nested in the caller; what the
    // script raises propagates to the caller.
    virtual void FireEvent(std::string_view name, std::string_view value) = 0;
    virtual void SetRiding(bool on) = 0;
    virtual TBohater& Hero() = 0;
    virtual TLista& Objects() = 0;
};

}  // namespace gb
