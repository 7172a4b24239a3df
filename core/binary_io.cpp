#include "core/binary_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/errors.h"

namespace bbx {

std::uint32_t TBinaryReader::ReadUInt32() {
    if (Remaining() < 4) ThrowReadBeyondEnd();
    const auto* p = reinterpret_cast<const unsigned char*>(Data.data() + Pos);
    Pos += 4;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

float TBinaryReader::ReadSingle() {
    const std::uint32_t bits = ReadUInt32();
    float v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string TBinaryReader::ReadBytes(std::size_t n) {
    if (Remaining() < n) ThrowReadBeyondEnd();
    std::string out(Data.substr(Pos, n));
    Pos += n;
    return out;
}

void TBinaryWriter::WriteUInt32(std::uint32_t v) {
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    Data.append(bytes, 4);
}

void TBinaryWriter::WriteSingle(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    WriteUInt32(bits);
}

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : Fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (Fd >= 0) ::close(Fd);
    }
    int Get() const { return Fd; }
    // Closes now so that a failing close (delayed write error) is reported.
    int Close() {
        const int result = ::close(Fd);
        Fd = -1;
        return result;
    }

private:
    int Fd;
};

}  // namespace

std::string ReadWholeFile(const std::string& path) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) ThrowSystemError(errno, path);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) ThrowSystemError(errno, path);
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR, path);
    std::string data;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ThrowSystemError(errno, path);
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const auto slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." +
                       path.substr(slash == std::string::npos ? 0 : slash + 1) + ".XXXXXX";
    FileDescriptor fd(::mkstemp(temp.data()));
    if (fd.Get() < 0) ThrowSystemError(errno, path);

    const auto fail = [&](int error) {
        ::unlink(temp.c_str());
        ThrowSystemError(error, path);
    };
    // Keep the permissions of the file being replaced (mkstemp makes it 0600).
    struct stat info {};
    const mode_t mode = ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0666 & ~[] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mask;
    }();
    ::fchmod(fd.Get(), mode);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.Get(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.Get()) != 0) fail(errno);
    if (fd.Close() != 0) fail(errno);
    if (::rename(temp.c_str(), path.c_str()) != 0) fail(errno);
}

}  // namespace bbx
