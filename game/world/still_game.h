#pragma once
// A game controller that is not running, for a world shown or measured on
// its own: the script hears no events and the sleigh takes no rides; the
// hero and the object list are the ones set here.

#include <string>
#include <string_view>

#include "core/errors.h"
#include "world/game_interface.h"

namespace gb {

class TStillGame : public TGameInterface {
public:
    void FireEvent(std::string_view, std::string_view) override {}
    void SetRiding(bool) override {}
    // Raise bbx::Exception while nothing is set, rather than hand out a null reference.
    TBohater& Hero() override { return Required(HeroObject, "hero"); }
    TLista& Objects() override { return Required(List, "object list"); }

    TBohater* HeroObject = nullptr;
    TLista* List = nullptr;

private:
    template <class T>
    static T& Required(T* object, std::string_view what) {
        if (!object) throw bbx::Exception("the still game has no " + std::string(what));
        return *object;
    }
};

}  // namespace gb
