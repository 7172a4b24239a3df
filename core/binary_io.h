#pragma once
// Little-endian reading and writing of the model file's fields, whatever the
// host's byte order. Floats travel as their exact 32-bit patterns.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bbx {

class TBinaryReader {
public:
    explicit TBinaryReader(std::string_view data) : Data(data) {}

    std::uint64_t Remaining() const { return Data.size() - Pos; }
    bool AtEnd() const { return Pos == Data.size(); }

    // Each read past the end raises the read error.
    std::uint32_t ReadUInt32();
    std::int32_t ReadInt32() { return static_cast<std::int32_t>(ReadUInt32()); }
    float ReadSingle();
    std::string ReadBytes(std::size_t n);

private:
    std::string_view Data;
    std::size_t Pos = 0;
};

class TBinaryWriter {
public:
    void WriteUInt32(std::uint32_t v);
    void WriteInt32(std::int32_t v) { WriteUInt32(static_cast<std::uint32_t>(v)); }
    void WriteSingle(float v);
    void WriteBytes(std::string_view bytes) { Data.append(bytes); }
    const std::string& Bytes() const { return Data; }

private:
    std::string Data;
};

// The whole file, or EInOutError with the system's code and message.
std::string ReadWholeFile(const std::string& path);

// Saves the bytes as the file's new contents, keeping what makes it the
// file it is. A symbolic link is followed and its target saved. The file is
// replaced by a complete new one (written beside it, synced, renamed over it)
// when that keeps everything: its folder is writable, it has one link, and
// owner, group, mode and extended attributes (ACLs among them) carry over.
// Otherwise it is written in place, after a full synced backup copy has been
// made beside it or, in a read-only folder, in the user's cache folder
// ($XDG_CACHE_HOME or ~/.cache, in a folder named after the program); the
// copy is removed once the new contents are complete and synced. A failed
// save leaves the old contents in the file or in that copy, and its message
// names the copy. A file the user may not write (access W_OK) is refused
// with "Permission denied". Implemented in file_save.cpp.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace bbx
