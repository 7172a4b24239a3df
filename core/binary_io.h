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

// Writes the file so that it is either wholly replaced or left as it was: the
// bytes go to a temporary file beside it, which is renamed over the target
// only once everything is written and flushed.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace bbx
