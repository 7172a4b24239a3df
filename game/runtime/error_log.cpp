#include "runtime/error_log.h"

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/code_page.h"
#include "core/file_descriptor.h"
#include "core/program_directory.h"
#include "runtime/system_info.h"

namespace gb {
namespace {

constexpr std::size_t kLabelWidth = 12;
constexpr std::string_view kLineEnd = "\r\n";

// Appends the label padded with blanks to the label width, counted in
// characters, then the value and the line end.
void AppendLine(std::string& entry, std::string_view utf8Label, std::string_view utf8Value) {
    std::size_t characters = 0;
    for (const char c : utf8Label)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    entry += utf8Label;
    if (characters < kLabelWidth) entry.append(kLabelWidth - characters, ' ');
    entry += utf8Value;
    entry += kLineEnd;
}

// Whether the entry fits whole under the process's file-size limit: a write
// beyond it would cut the entry (and, with SIGXFSZ at its default, end the
// game).
bool FitsUnderFileSizeLimit(off_t size, std::size_t bytes) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return true;
    return static_cast<rlim_t>(size) <= limit.rlim_cur && bytes <= limit.rlim_cur - static_cast<rlim_t>(size);
}

// Only a regular file takes entries. O_NONBLOCK keeps a FIFO without a reader
// from blocking the game in open; the fstat check turns away FIFOs, devices
// and sockets, which could block or swallow the entry on write.
void AppendToFile(const std::string& path, std::string_view bytes) {
    const bbx::TFileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666));
    if (file.Get() < 0) return;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return;
    if (!FitsUnderFileSizeLimit(status.st_size, bytes.size())) return;
    bbx::WriteAll(file.Get(), bytes);  // a failed write loses the rest of the entry
}

// The user's state folder when the folder exists but cannot be written to;
// empty otherwise. A missing folder keeps its place: the entry is lost there.
std::string StateFolderInstead(const std::string& directory) {
    if (::access(directory.c_str(), W_OK | X_OK) == 0) return {};
    if (errno != EACCES && errno != EROFS && errno != EPERM) return {};
    return bbx::UserStateDirectory(kGameFolderName);
}

}  // namespace

std::string ErrorLogPath(const std::string& directory) {
    const std::string state = StateFolderInstead(directory);
    return (state.empty() ? directory : state) + "Errors.log";
}

std::string ErrorLogEntry(std::string_view title, const TErrorInfo& error, const TErrorLogFacts& facts) {
    std::string entry(kLineEnd);
    AppendLine(entry, "Błąd:", bbx::Cp1250ToUtf8(title));
    AppendLine(entry, "Użytkownik:", facts.UserName);
    AppendLine(entry, "Komputer:", facts.ComputerName);
    AppendLine(entry, "Plik:", facts.ProgramFile);
    AppendLine(entry, "Czas:", facts.Time);
    AppendLine(entry, "Typ:", bbx::Cp1250ToUtf8(error.ShownName()));
    if (error.Code) AppendLine(entry, "Kod:", std::to_string(*error.Code));
    AppendLine(entry, "Treść:", bbx::Cp1250ToUtf8(error.Message));
    return entry;
}

void WriteErrorLog(const std::string& directory, std::string_view title, const TErrorInfo& error) noexcept {
    try {
        const TErrorLogFacts facts{UserName(), ComputerName(), bbx::ProgramFileName(),
                                   LocalDateTimeText(std::chrono::system_clock::now())};
        if (const std::string state = StateFolderInstead(directory); !state.empty()) {
            std::error_code ignored;
            std::filesystem::create_directories(state, ignored);
        }
        AppendToFile(ErrorLogPath(directory), ErrorLogEntry(title, error, facts));
    } catch (...) {
        // Out of memory while building the entry: it is lost, as on a full disk.
    }
}

namespace {

template <typename Error>
void WriteToProgramDirectory(std::string_view title, const Error& error) noexcept {
    try {
        WriteErrorLog(bbx::ProgramDirectory(), title, DescribeError(error));
    } catch (...) {
        // As above: nothing may reach the error handler from here.
    }
}

}  // namespace

void WriteErrorLog(std::string_view title, const std::exception& error) noexcept {
    WriteToProgramDirectory(title, error);
}

void WriteErrorLog(std::string_view title, const std::exception_ptr& error) noexcept {
    WriteToProgramDirectory(title, error);
}

}  // namespace gb
