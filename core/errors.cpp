#include "core/errors.h"

#include <cstring>

#include "core/code_page.h"

namespace bbx {

void ThrowReadBeyondEnd() {
    throw EInOutError(kReadBeyondEndCode, "Read beyond end of file");
}

void ThrowSystemError(int errnoValue, const std::string& path) {
    throw EInOutError(errnoValue, Utf8ToCp1250(path) + ": " + Utf8ToCp1250(std::strerror(errnoValue)));
}

}  // namespace bbx
