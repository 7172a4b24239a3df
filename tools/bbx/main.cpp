// bbx: inspect, convert and render model files from the command line.
//   bbx info FILE
//   bbx dump FILE [-o OUT.json]
//   bbx build IN.json -o OUT.bbx
//   bbx render FILE (--id N | --index I) [--yaw A] [--pitch B] [--zoom R] [--size WxH] -o OUT.png|OUT.svg
//   bbx thumbnail FILE OUT.png [--size N] [--id N | --index I] [--yaw A] [--pitch B] [--zoom R]

#include <algorithm>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "bbx/bbx_json.h"
#include "bbx/checked_output.h"
#include "bbx/image_output.h"
#include "bbx/safe_text.h"
#include "core/bbx_collection.h"
#include "core/binary_io.h"
#include "core/code_page.h"
#include "core/errors.h"
#include "core/png_image.h"
#include "core/real_format.h"
#include "core/render_model.h"
#include "core/rounding.h"
#include "core/software_canvas.h"

namespace {

using namespace bbx;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: bbx info FILE\n"
    "       bbx dump FILE [-o OUT.json]\n"
    "       bbx build IN.json -o OUT.bbx\n"
    "       bbx render FILE (--id N | --index I) [--yaw A] [--pitch B] [--zoom R] [--size WxH] -o OUT.png|OUT.svg\n"
    "       bbx thumbnail FILE OUT.png [--size N] [--id N | --index I] [--yaw A] [--pitch B] [--zoom R]\n"
    "       bbx --help | --version\n";

struct UsageError {
    std::string Message;
};

// A failure tied to one file, reported as "FILE: reason".
struct FileError {
    std::string File;
    std::string Reason;
};

struct Options {
    std::vector<std::string> Positional;
    std::optional<std::string> Output;
    std::optional<std::int32_t> Id, Index;
    float Yaw = 0.3f, Pitch = 0.3f, Zoom = 180;
    std::optional<std::pair<int, int>> Size;
};

template <typename T>
T ParseNumber(const std::string& option, const std::string& text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        throw UsageError{option + " expects a number, not '" + text + "'"};
    return value;
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw UsageError{arg + " needs a value"};
            return argv[++i];
        };
        if (arg == "-o") o.Output = value();
        else if (arg == "--id") o.Id = ParseNumber<std::int32_t>(arg, value());
        else if (arg == "--index") o.Index = ParseNumber<std::int32_t>(arg, value());
        else if (arg == "--yaw") o.Yaw = ParseNumber<float>(arg, value());
        else if (arg == "--pitch") o.Pitch = ParseNumber<float>(arg, value());
        else if (arg == "--zoom") o.Zoom = ParseNumber<float>(arg, value());
        else if (arg == "--size") {
            const std::string s = value();
            const auto x = s.find('x');  // "N" alone is NxN
            const int w = ParseNumber<int>(arg, s.substr(0, x));
            const int h = x == std::string::npos ? w : ParseNumber<int>(arg, s.substr(x + 1));
            if (w < 1 || h < 1 || w > 16384 || h > 16384) throw UsageError{"--size must be from 1x1 to 16384x16384"};
            o.Size = {w, h};
        } else if (!arg.empty() && arg[0] == '-' && arg != "-") throw UsageError{"unknown option " + arg};
        else o.Positional.push_back(arg);
    }
    return o;
}

// Runs a file operation, turning its input/output error into a FileError.
template <typename Operation>
void OnFile(const std::string& path, Operation operation) {
    try {
        operation();
    } catch (const EInOutError& e) {
        // System errors already begin with the path; it is said once.
        std::string reason = Cp1250ToUtf8(e.what());
        if (reason.rfind(path + ": ", 0) == 0) reason.erase(0, path.size() + 2);
        throw FileError{path, reason};
    }
}

Tbbx_collection LoadModels(const std::string& path) {
    Tbbx_collection collection;
    OnFile(path, [&] { collection.LoadFromBytes(tool::ReadInputFile(path)); });
    return collection;
}

void WriteOutput(const std::string& path, const std::string& bytes) {
    OnFile(path, [&] {
        const tool::TSignalsHeld held;
        WriteWholeFile(path, bytes);
    });
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int Info(const Options& o) {
    if (o.Positional.size() != 1 || o.Output) throw UsageError{"info takes one FILE"};
    const std::string& file = o.Positional[0];
    const Tbbx_collection models = LoadModels(file);
    std::cout << "index\tname\tid\ti1\ti2\telements\tspheres\n";
    // Models a render would refuse are listed too, and then named on stderr.
    std::vector<std::string> refused;
    for (std::int32_t i = 0; i < models.Count(); ++i) {
        const Tbbx_model& m = *models.Items(i);
        std::cout << i << '\t' << Cp1250ToUtf8(m.Name) << '\t' << m.ID << '\t' << FormatReal(m.I1, '.') << '\t'
                  << FormatReal(m.I2, '.') << '\t' << m.Count() << '\t' << RenderSphereCount(m) << '\n';
        try {
            CheckSphereLimit(m);
        } catch (const ETooManySpheres& e) {
            refused.push_back("model " + std::to_string(i) + ": " + Cp1250ToUtf8(e.what()));
        }
    }
    for (const std::string& line : refused) std::cerr << "bbx: " << tool::OneLine(file + ": " + line) << '\n';
    return refused.empty() ? 0 : kExitFailure;
}

int Dump(const Options& o) {
    if (o.Positional.size() != 1) throw UsageError{"dump takes one FILE"};
    const std::string json = tool::CollectionToJson(LoadModels(o.Positional[0]));
    if (o.Output) WriteOutput(*o.Output, json);
    else std::cout << json;
    return 0;
}

int Build(const Options& o) {
    if (o.Positional.size() != 1 || !o.Output) throw UsageError{"build takes IN.json and -o OUT.bbx"};
    const std::string& in = o.Positional[0];
    std::string text;
    OnFile(in, [&] { text = tool::ReadInputFile(in); });
    Tbbx_collection models;
    try {
        tool::CollectionFromJson(text, models);
    } catch (const tool::JsonError& e) {
        throw FileError{in, e.what()};
    }
    OnFile(*o.Output, [&] {
        const tool::TSignalsHeld held;
        models.SaveToFile(*o.Output);
    });
    return 0;
}

// The model --id or --index names; never null.
const Tbbx_model* ChosenModel(const Tbbx_collection& models, const std::string& file, const Options& o) {
    const Tbbx_model* model = nullptr;
    if (o.Id) model = models.FindById(*o.Id);
    else if (*o.Index >= 0 && *o.Index < models.Count()) model = models.Items(*o.Index);
    if (!model)
        throw FileError{file, o.Id ? "no model with id " + std::to_string(*o.Id)
                                   : "no model at index " + std::to_string(*o.Index)};
    return model;
}

int Render(const Options& o) {
    if (o.Positional.size() != 1 || !o.Output || o.Id.has_value() == o.Index.has_value())
        throw UsageError{"render takes FILE, one of --id or --index, and -o OUT.png|OUT.svg"};
    const bool svg = EndsWith(*o.Output, ".svg");
    if (!svg && !EndsWith(*o.Output, ".png")) throw UsageError{"the output must end in .png or .svg"};
    const std::string& file = o.Positional[0];
    const Tbbx_collection models = LoadModels(file);
    const Tbbx_model* model = ChosenModel(models, file, o);

    int width, height;
    if (o.Size) {
        std::tie(width, height) = *o.Size;
    } else {
        // Checked before rounding: a NaN or huge size has no integer.
        const auto side = [](float v) { return std::isfinite(v) && v >= 0.5f && v <= 16384.5f; };
        const std::int64_t w = side(model->I1) ? RoundHalfEven(model->I1) : 0;
        const std::int64_t h = side(model->I2) ? RoundHalfEven(model->I2) : 0;
        if (w < 1 || h < 1 || w > 16384 || h > 16384)
            throw FileError{file, "the model's sprite size is " + FormatReal(model->I1, '.') + "x" +
                                      FormatReal(model->I2, '.') + "; give --size"};
        width = static_cast<int>(w), height = static_cast<int>(h);
    }
    try {
        CheckSphereLimit(*model);
    } catch (const ETooManySpheres& e) {
        throw FileError{file, Cp1250ToUtf8(e.what())};
    }
    if (svg) {
        tool::SvgCanvas canvas(width, height);
        RenderModel(*model, canvas, width, height, o.Yaw, o.Pitch, o.Zoom);
        WriteOutput(*o.Output, canvas.Document());
    } else {
        TPixelBuffer buffer(width, height, TPixelFormat::Xrgb8888);
        TSoftwareCanvas canvas(buffer);
        RenderModel(*model, canvas, width, height, o.Yaw, o.Pitch, o.Zoom);
        WriteOutput(*o.Output, EncodePng(buffer, TPngAlpha::ZeroTransparent));
    }
    return 0;
}

constexpr int kThumbnailSide = 128;

// The model (the first one unless --id or --index names another) fitted into
// a square of --size pixels: its sprite's longer side fills the square and
// the projection scale grows with it.
int Thumbnail(const Options& o) {
    if (o.Positional.size() != 2 || o.Output || (o.Id && o.Index))
        throw UsageError{"thumbnail takes FILE and OUT.png, and at most one of --id or --index"};
    if (!EndsWith(o.Positional[1], ".png")) throw UsageError{"the thumbnail must end in .png"};
    const std::string& file = o.Positional[0];
    const Tbbx_collection models = LoadModels(file);
    if (models.Count() == 0) throw FileError{file, "holds no model"};
    Options picture = o;
    if (!o.Id) picture.Index = o.Index.value_or(0);
    const Tbbx_model* model = ChosenModel(models, file, picture);
    const auto extent = [](float v) { return std::isfinite(v) && v >= 1 ? static_cast<double>(v) : 1.0; };
    const int side = o.Size ? std::max(o.Size->first, o.Size->second) : kThumbnailSide;
    const double scale = side / std::max(extent(model->I1), extent(model->I2));
    picture.Positional = {file};
    picture.Output = o.Positional[1];
    picture.Size = {side, side};
    picture.Zoom = static_cast<float>(o.Zoom * scale);
    return Render(picture);
}

}  // namespace

static int Run(int argc, char** argv) {
    try {
        if (argc < 2) throw UsageError{"no command given"};
        const std::string command = argv[1];
        if (command == "-h" || command == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (command == "--version") {
            std::cout << "bbx " << BBX_VERSION << '\n';
            return 0;
        }
        const Options options = ParseOptions(argc, argv);
        if (command == "info") return Info(options);
        if (command == "dump") return Dump(options);
        if (command == "build") return Build(options);
        if (command == "render") return Render(options);
        if (command == "thumbnail") return Thumbnail(options);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& e) {
        std::cerr << "bbx: " << tool::OneLine(e.Message) << '\n' << kUsage;
        return kExitUsage;
    } catch (const FileError& e) {
        std::cerr << "bbx: " << tool::OneLine(e.File + ": " + e.Reason) << '\n';
        return kExitFailure;
    } catch (const std::exception& e) {
        std::cerr << "bbx: " << tool::OneLine(e.what()) << '\n';
        return kExitFailure;
    }
}

int main(int argc, char** argv) {
    // A file-size limit then fails the write, which is reported, instead of
    // killing the program with its output cut.
    std::signal(SIGXFSZ, SIG_IGN);
    const int status = Run(argc, argv);
    if (const std::string lost = tool::CloseStandardOutput(); !lost.empty()) {
        std::cerr << "bbx: standard output: " << lost << '\n';
        return kExitFailure;
    }
    return status;
}
