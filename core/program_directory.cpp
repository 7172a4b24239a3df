#include "core/program_directory.h"

#include <climits>
#include <unistd.h>

namespace bbx {
namespace {

std::string ExecutablePath() {
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

std::string ProgramDirectory() {
    const std::string path = ExecutablePath();
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

std::string ProgramFileName() {
    const std::string path = ExecutablePath();
    return path.substr(path.rfind('/') + 1);
}

}  // namespace bbx
