#include "runtime/game_errors.h"

#include <new>

#include "core/code_page.h"

namespace gb {

EListError::EListError(std::int64_t index)
    : Exception("List index out of bounds (" + std::to_string(index) + ")") {}

std::string TErrorInfo::ShownName() const {
    const bool prefixed = ClassName.size() > 1 && ClassName[0] == 'E' && ClassName[1] >= 'A' && ClassName[1] <= 'Z';
    return prefixed ? ClassName.substr(1) : ClassName;
}

TErrorInfo DescribeError(const std::exception& error) {
    if (const auto* own = dynamic_cast<const bbx::Exception*>(&error)) {
        TErrorInfo info{own->ClassName(), std::nullopt, own->what()};
        if (const auto* io = dynamic_cast<const bbx::EInOutError*>(own)) info.Code = io->ErrorCode;
        return info;
    }
    if (dynamic_cast<const std::bad_alloc*>(&error)) return {kFallbackClassName, std::nullopt, "Out of memory"};
    // The standard library's messages are the system's text (UTF-8).
    return {kFallbackClassName, std::nullopt, bbx::Utf8ToCp1250(error.what())};
}

TErrorInfo DescribeError(const std::exception_ptr& error) {
    if (error) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            return DescribeError(e);
        } catch (...) {
        }
    }
    return {kFallbackClassName, std::nullopt, bbx::Pl<"Nieznany wyjątek">()};
}

}  // namespace gb
