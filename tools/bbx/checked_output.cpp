#include "bbx/checked_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/file_descriptor.h"

namespace bbx::tool {
namespace {

[[noreturn]] void Refuse(const std::string& path, int code, const std::string& reason) {
    throw EInOutError(code, Utf8ToCp1250(path) + ": " + Utf8ToCp1250(reason));
}

std::string TooLarge(std::size_t most) { return "larger than " + std::to_string(most) + " bytes"; }

}  // namespace

std::string ReadInputFile(const std::string& path, std::size_t most) {
    // Non-blocking, so that opening a FIFO without a writer returns at once.
    TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.Get() < 0) ThrowSystemError(errno, path);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) ThrowSystemError(errno, path);
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR, path);
    if (!S_ISREG(info.st_mode)) Refuse(path, EINVAL, "not a regular file");
    if (static_cast<std::size_t>(info.st_size) > most) Refuse(path, EFBIG, TooLarge(most));
    std::string data;
    data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    // A file that grows while it is read is still cut off at the bound.
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowSystemError(errno, path);
        }
        if (n == 0) return data;
        if (data.size() + static_cast<std::size_t>(n) > most) Refuse(path, EFBIG, TooLarge(most));
        data.append(buffer, static_cast<std::size_t>(n));
    }
}

std::string CloseStandardOutput() {
    // A write that failed earlier left its reason in errno: the calls made
    // since have succeeded, and success leaves errno as it was.
    std::cout.flush();
    int error = std::cout.fail() ? errno : 0;
    bool lost = std::cout.fail();
    if (std::fflush(stdout) != 0) {
        lost = true;
        error = errno;
    }
    lost = lost || std::ferror(stdout) != 0;
    if (std::fclose(stdout) != 0 && !lost) {
        lost = true;
        error = errno;
    }
    if (!lost) return {};
    return error != 0 ? std::strerror(error) : "write error";
}

TSignalsHeld::TSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGINT);
    sigaddset(&held, SIGTERM);
    sigaddset(&held, SIGHUP);
    sigprocmask(SIG_BLOCK, &held, &Previous);
}

TSignalsHeld::~TSignalsHeld() { sigprocmask(SIG_SETMASK, &Previous, nullptr); }

}  // namespace bbx::tool
