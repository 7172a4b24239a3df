#include "app/replay_file.h"

#include <array>
#include <charconv>
#include <limits>
#include <system_error>

#include "core/binary_io.h"

namespace gb {
namespace {

struct TKindName {
    TReplayKind Kind;
    std::string_view Name;
    int Fields;  // after the name
};

// Fields after the name: the tick (or frame number) first.
constexpr std::array<TKindName, 9> kKinds{{
    {TReplayKind::Frame, "f", 2},
    {TReplayKind::KeyDown, "kd", 3},
    {TReplayKind::KeyUp, "ku", 3},
    {TReplayKind::MouseMove, "mm", 4},
    {TReplayKind::MouseDown, "md", 5},
    {TReplayKind::MouseUp, "mu", 5},
    {TReplayKind::Focus, "fo", 2},
    {TReplayKind::Activate, "ac", 1},
    {TReplayKind::Checkpoint, "c", 2},
}};

const TKindName& NameOf(TReplayKind kind) {
    for (const TKindName& entry : kKinds)
        if (entry.Kind == kind) return entry;
    return kKinds[0];
}

std::string Hex16(std::uint64_t value) {
    std::array<char, 16> digits{};
    for (int i = 15; i >= 0; --i, value >>= 4) digits[static_cast<std::size_t>(i)] = "0123456789abcdef"[value & 15];
    return std::string(digits.data(), digits.size());
}

// The fields of a line, split at single blanks; an empty field (two blanks,
// a blank at either end) is refused by the number and word checks.
std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t blank = line.find(' ', start);
        fields.push_back(line.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start));
        if (blank == std::string_view::npos) return fields;
        start = blank + 1;
    }
}

class TLineReader {
public:
    explicit TLineReader(std::size_t number) : Number(number) {}

    [[noreturn]] void Fail(const std::string& what) const {
        throw EReplayError("line " + std::to_string(Number) + ": " + what);
    }

    template <typename T>
    T Parse(std::string_view field, T least, T most, int base = 10) const {
        T value{};
        const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value, base);
        if (field.empty() || error != std::errc{} || end != field.data() + field.size() || value < least ||
            value > most || (field.size() > 1 && field[0] == '0' && base == 10) || field[0] == '-' ||
            field[0] == '+')
            Fail("\"" + Shown(field) + "\" is not a number from " + std::to_string(least) + " to " +
                 std::to_string(most));
        return value;
    }
    std::uint32_t Unsigned(std::string_view field, std::uint32_t most = std::numeric_limits<std::uint32_t>::max()) const {
        return Parse<std::uint32_t>(field, 0, most);
    }
    std::int32_t Coordinate(std::string_view field) const {
        // Pointer positions may lie outside the screen, a little.
        if (!field.empty() && field[0] == '-') return -Parse<std::int32_t>(field.substr(1), 1, 100000);
        return Parse<std::int32_t>(field, 0, 100000);
    }
    std::uint64_t Hash(std::string_view field) const {
        if (field.size() != 16) Fail("\"" + Shown(field) + "\" is not a hash of 16 hex digits");
        for (const char c : field)
            if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) Fail("\"" + Shown(field) + "\" is not a hash of 16 hex digits");
        std::uint64_t value = 0;
        std::from_chars(field.data(), field.data() + field.size(), value, 16);
        return value;
    }

    // At most 40 bytes of a field, control bytes and non-ASCII escaped.
    static std::string Shown(std::string_view field) {
        std::string shown;
        for (const char c : field.substr(0, 40)) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte >= 32 && byte < 127) shown += c;
            else shown += "\\x" + Hex16(byte).substr(14);
        }
        if (field.size() > 40) shown += "...";
        return shown;
    }

private:
    std::size_t Number;
};

TReplayHeader ParseHeader(std::string_view line) {
    const TLineReader reader(1);
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() < 3 || f[0] != "GlimmerBay" || f[1] != "replay")
        reader.Fail("this is no GlimmerBay replay (the first line does not begin \"GlimmerBay replay\")");
    if (reader.Unsigned(f[2]) != TReplayHeader::FormatVersion)
        reader.Fail("replay format " + std::string(TLineReader::Shown(f[2])) + " is not known; this program reads format " +
                    std::to_string(TReplayHeader::FormatVersion));
    if (f.size() != 11 || f[3] != "version" || f[5] != "data" || f[7] != "seed" || f[9] != "start")
        reader.Fail("the header is not \"GlimmerBay replay 1 version V data HASH seed N start TICK\"");
    TReplayHeader header;
    if (f[4].empty() || f[4].size() > 64) reader.Fail("the program version is empty or too long");
    for (const char c : f[4])
        if (static_cast<unsigned char>(c) <= 32 || static_cast<unsigned char>(c) >= 127)
            reader.Fail("the program version holds a byte that is no printable ASCII");
    header.ProgramVersion = std::string(f[4]);
    header.DataHash = reader.Hash(f[6]);
    header.Seed = reader.Unsigned(f[8]);
    header.StartTick = reader.Unsigned(f[10]);
    return header;
}

}  // namespace

std::string FormatHeader(const TReplayHeader& header) {
    return "GlimmerBay replay " + std::to_string(TReplayHeader::FormatVersion) + " version " + header.ProgramVersion +
           " data " + Hex16(header.DataHash) + " seed " + std::to_string(header.Seed) + " start " +
           std::to_string(header.StartTick) + "\n";
}

std::string FormatRecord(const TReplayRecord& record) {
    const TKindName& kind = NameOf(record.Kind);
    std::string line = std::string(kind.Name) + " " + std::to_string(record.Tick);
    const auto add = [&line](auto value) { line += " " + std::to_string(value); };
    switch (record.Kind) {
        case TReplayKind::Frame:
        case TReplayKind::Focus: add(record.Code); break;
        case TReplayKind::KeyDown:
        case TReplayKind::KeyUp:
            add(record.Code);
            add(record.Shift);
            break;
        case TReplayKind::MouseMove:
            add(record.Shift);
            add(record.X);
            add(record.Y);
            break;
        case TReplayKind::MouseDown:
        case TReplayKind::MouseUp:
            add(record.Code);
            add(record.Shift);
            add(record.X);
            add(record.Y);
            break;
        case TReplayKind::Activate: break;
        case TReplayKind::Checkpoint: line += " " + Hex16(record.Hash); break;
    }
    return line + "\n";
}

std::string FormatEnd(std::uint32_t frames) { return "end " + std::to_string(frames) + "\n"; }

TReplay ParseReplay(std::string_view text) {
    TReplay replay;
    if (text.empty()) throw EReplayError("the file is empty");
    std::size_t start = 0;
    std::size_t number = 0;
    bool ended = false;
    std::uint32_t lastFrameTick = 0;
    std::uint32_t lastCheckpoint = 0;
    while (start < text.size()) {
        ++number;
        const std::size_t newline = text.find('\n', start);
        const TLineReader reader(number);
        if (newline == std::string_view::npos) reader.Fail("the last line has no line end: the file was cut short");
        const std::string_view line = text.substr(start, newline - start);
        start = newline + 1;
        if (number == 1) {
            replay.Header = ParseHeader(line);
            continue;
        }
        if (ended) reader.Fail("nothing may follow the \"end\" line");
        const std::vector<std::string_view> f = Fields(line);
        if (f[0] == "end") {
            if (f.size() != 2) reader.Fail("the end line is not \"end FRAMES\"");
            if (reader.Unsigned(f[1]) != replay.Frames)
                reader.Fail("the end line counts " + std::string(f[1]) + " frames, the file holds " +
                            std::to_string(replay.Frames) + ": records are missing");
            ended = true;
            continue;
        }
        const TKindName* kind = nullptr;
        for (const TKindName& entry : kKinds)
            if (entry.Name == f[0]) kind = &entry;
        if (!kind) reader.Fail("\"" + TLineReader::Shown(f[0]) + "\" is no record of a replay");
        if (static_cast<int>(f.size()) != kind->Fields + 1)
            reader.Fail("a \"" + std::string(kind->Name) + "\" record has " + std::to_string(kind->Fields) +
                        " fields, this one " + std::to_string(f.size() - 1));
        TReplayRecord record;
        record.Kind = kind->Kind;
        record.Tick = reader.Unsigned(f[1]);
        switch (record.Kind) {
            case TReplayKind::Frame:
                // Ticks run forward, wrapping at 2^32 as the tick count does:
                // a step back of more than half the range is a wrap.
                if (replay.Frames > 0 && record.Tick - lastFrameTick > 0x80000000u)
                    reader.Fail("the frame's tick " + std::to_string(record.Tick) + " goes back from " +
                                std::to_string(lastFrameTick));
                record.Code = reader.Unsigned(f[2], held::All);
                lastFrameTick = record.Tick;
                ++replay.Frames;
                break;
            case TReplayKind::KeyDown:
            case TReplayKind::KeyUp:
                record.Code = reader.Unsigned(f[2], std::numeric_limits<TVirtualKey>::max());
                record.Shift = static_cast<TShiftState>(reader.Unsigned(f[3], std::numeric_limits<TShiftState>::max()));
                break;
            case TReplayKind::MouseMove:
                record.Shift = static_cast<TShiftState>(reader.Unsigned(f[2], std::numeric_limits<TShiftState>::max()));
                record.X = reader.Coordinate(f[3]);
                record.Y = reader.Coordinate(f[4]);
                break;
            case TReplayKind::MouseDown:
            case TReplayKind::MouseUp:
                record.Code = reader.Unsigned(f[2], 2);
                record.Shift = static_cast<TShiftState>(reader.Unsigned(f[3], std::numeric_limits<TShiftState>::max()));
                record.X = reader.Coordinate(f[4]);
                record.Y = reader.Coordinate(f[5]);
                break;
            case TReplayKind::Focus: record.Code = reader.Unsigned(f[2], 1); break;
            case TReplayKind::Activate: break;
            case TReplayKind::Checkpoint:
                if (record.Tick != replay.Frames)
                    reader.Fail("the checkpoint of frame " + std::to_string(record.Tick) + " does not follow frame " +
                                std::to_string(record.Tick) + " (it follows frame " + std::to_string(replay.Frames) +
                                ")");
                if (record.Tick < lastCheckpoint) reader.Fail("checkpoints go back");
                lastCheckpoint = record.Tick;
                record.Hash = reader.Hash(f[2]);
                break;
        }
        replay.Records.push_back(record);
    }
    if (!ended) throw EReplayError("line " + std::to_string(number + 1) + ": the \"end\" line is missing: the file was cut short");
    return replay;
}

TReplay LoadReplay(const std::filesystem::path& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) throw EReplayError(path.string() + ": no such file");
    if (!std::filesystem::is_regular_file(status)) throw EReplayError(path.string() + ": not a regular file");
    if (std::filesystem::file_size(path, error) > MostReplayBytes)
        throw EReplayError(path.string() + ": larger than " + std::to_string(MostReplayBytes >> 20) + " MiB");
    std::string text;
    try {
        text = bbx::ReadWholeFile(path.string());
    } catch (const bbx::Exception& e) {
        throw EReplayError(path.string() + ": " + e.what());
    }
    try {
        return ParseReplay(text);
    } catch (const EReplayError& e) {
        throw EReplayError(path.string() + ": " + e.what());
    }
}

std::uint64_t HashBytes(std::string_view bytes, std::uint64_t hash) {
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::uint64_t DataFilesHash(const std::string& directory) {
    std::uint64_t hash = HashBytes("GlimmerBay data");
    for (const char* name : {"GameData.xml", "models.bbx", "Credits.xml", "Config.xml"}) {
        std::string bytes;
        try {
            bytes = bbx::ReadWholeFile(directory + name);
        } catch (const bbx::Exception&) {
            // A missing file hashes as an empty one; the game reports it.
        }
        hash = HashBytes(name, hash);
        hash = HashBytes(std::to_string(bytes.size()), hash);
        hash = HashBytes(bytes, hash);
    }
    return hash;
}

}  // namespace gb
