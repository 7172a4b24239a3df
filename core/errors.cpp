#include "core/errors.h"

#include <cstring>

#include "core/code_page.h"

namespace bbx {

void ThrowReadBeyondEnd() {
    throw EInOutError(kReadBeyondEndCode, "Read beyond end of file");
}

std::string SystemErrorMessage(int errnoValue, const std::string& path) {
    return Utf8ToCp1250(path) + ": " + Utf8ToCp1250(std::strerror(errnoValue));
}

void ThrowSystemError(int errnoValue, const std::string& path) {
    throw EInOutError(errnoValue, SystemErrorMessage(errnoValue, path));
}

}  // namespace bbx
