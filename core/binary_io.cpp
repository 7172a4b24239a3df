#include "core/binary_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#include "core/errors.h"
#include "core/file_descriptor.h"

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

std::string ReadWholeFile(const std::string& path) {
    TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) ThrowSystemError(errno, path);
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) ThrowSystemError(errno, path);
    if (S_ISDIR(info.st_mode)) ThrowSystemError(EISDIR, path);
    std::string data;
    if (!ReadToEnd(fd.Get(), data)) ThrowSystemError(errno, path);
    return data;
}

}  // namespace bbx
