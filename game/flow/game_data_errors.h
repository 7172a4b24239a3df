#pragma once
// What a faulty "GameData.xml" raises beyond a bad number (EConvertError):
// a map the game cannot be played on, or a script action it cannot carry
// out. Messages are in the programs' code page and name what is wrong.

#include "core/errors.h"

namespace gb {

class EGameDataError : public bbx::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EGameDataError"; }
};

}  // namespace gb
