#pragma once
// Exceptions shared by both programs. Every error carries a message (in the
// Windows-1250 code page, like all of the programs' text) and a class name in
// the E-prefixed style; the game shows and logs that name without the "E".

#include <stdexcept>
#include <string>

namespace bbx {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    virtual const char* ClassName() const noexcept { return "Exception"; }
};

// Input/output failure with a numeric code: an errno value for system
// failures, a fixed code for format errors.
class EInOutError : public Exception {
public:
    EInOutError(int code, const std::string& message) : Exception(message), ErrorCode(code) {}
    const char* ClassName() const noexcept override { return "EInOutError"; }
    int ErrorCode;
};

// Text that is not a number where a number was required.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "EConvertError"; }
};

// Codes carried by the model file's own read errors.
inline constexpr int kReadBeyondEndCode = 38;
inline constexpr int kBadFormatCode = 0;

// The read error raised when a file ends before the data it promises.
[[noreturn]] void ThrowReadBeyondEnd();

// "path: the system's message", converted to the programs' code page.
std::string SystemErrorMessage(int errnoValue, const std::string& path);

// An input/output error from errno, with SystemErrorMessage.
[[noreturn]] void ThrowSystemError(int errnoValue, const std::string& path);

}  // namespace bbx
