#pragma once
// The exceptions the game raises besides the core's input/output and
// conversion errors, and how any exception is named on the error screen and
// in the error log.

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "core/errors.h"

namespace gb {

// An index outside a list (a child of an XML node, a variable, a timer, a
// window).
class EListError : public bbx::Exception {
public:
    explicit EListError(std::int64_t index);
    const char* ClassName() const noexcept override { return "EListError"; }
};

// A query on an XML node that is not there, as when a chain of FindTag calls
// meets a missing element.
class EXMLNodeMissing : public bbx::Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EXMLNodeMissing"; }
};

// Name under which anything that is not one of the programs' own exceptions
// (the standard library's, an allocation failure, a foreign object) is shown.
inline constexpr const char* kFallbackClassName = "Exception";

// What the error screen and the error log say about one exception. Texts are
// in the programs' code page.
struct TErrorInfo {
    std::string ClassName;           // as declared, with its leading E
    std::optional<std::int32_t> Code;  // input/output errors only
    std::string Message;

    // The class name without its leading E ("EInOutError" shows as
    // "InOutError"); a name that does not follow that style ("Exception")
    // shows whole.
    std::string ShownName() const;
};

TErrorInfo DescribeError(const std::exception& error);
// A null pointer or a thrown object that is no std::exception gets the
// fallback name.
TErrorInfo DescribeError(const std::exception_ptr& error);

}  // namespace gb
