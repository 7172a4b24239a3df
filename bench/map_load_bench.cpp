// Starting a game on a map of big houses: reading "GameData.xml", building
// every wall block and putting them in the world's drawing order. Target: a
// hundred houses of 1000 x 1000 cells (399,600 wall blocks) under 2 s of CPU.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "flow/game.h"
#include "runtime/display.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/null_presenter.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"
#include "world/gfx.h"
#include "world/lista.h"

namespace {

std::string HousesMap(int houses) {
    std::string map = R"(<gamedata><map><cos type="bohater" x="-5" y="-5"/><cos type="zaprzeg" x="-10" y="-5"/>)";
    for (int i = 0; i < houses; ++i)
        map += R"(<cos type="dom" x=")" + std::to_string(i % 10 * 1000) + R"(" y=")" + std::to_string(i / 10 * 1000) +
               R"(" w="1000" h="1000" entrance="top"/>)";
    return map + "</map></gamedata>";
}

// A folder of its own with the map, gone at the end; the sprite bank reads
// the shipped models.
class TMapFolder {
public:
    explicit TMapFolder(const std::string& gameData) {
        std::string pattern = (std::filesystem::temp_directory_path() / "map_load_bench.XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no temporary folder");
        Directory = pattern + "/";
        std::ofstream(Directory + "GameData.xml", std::ios::binary) << gameData;
    }
    ~TMapFolder() { std::filesystem::remove_all(Directory); }
    TMapFolder(const TMapFolder&) = delete;
    TMapFolder& operator=(const TMapFolder&) = delete;

    std::string Directory;
};

struct TLoadRig {
    explicit TLoadRig(const std::string& gameData)
        : Folder(gameData), Display(Screen, &Text), Gfx(bbx::TPixelFormat::Xrgb8888, Text), Sfx(Sound, Folder.Directory) {
        Screen.Recording = false;
        Display.SetBitsPerPixel(32);
        Display.Initialize();
        Gfx.Initialize(BBX_MODELS_DIRECTORY);
    }

    TMapFolder Folder;
    gb::TNullPresenter Screen;
    gb::TBoxTextRenderer Text{6, 12};
    gb::TRecordingSoundLayer Sound;
    gb::TDisplay Display;
    gb::TGfx Gfx;
    gb::TSfx Sfx;
    std::int32_t MouseX = 400;
    std::int32_t MouseY = 300;
    const gb::TScreenServices Services{Display, Gfx, Sfx, Folder.Directory, MouseX, MouseY};
};

// Twice the houses must take about twice as long.
void BM_StartGameOnHouses(benchmark::State& state) {
    TLoadRig rig(HousesMap(static_cast<int>(state.range(0))));
    std::int64_t walls = 0;
    for (auto _ : state) {
        auto game = std::make_unique<gb::TGame>(rig.Services);
        walls = game->Objects().Count(gb::TLista::ObjectLayer) - 2;
        state.PauseTiming();  // freeing the world is not loading
        game.reset();
        state.ResumeTiming();
    }
    state.counters["walls"] = static_cast<double>(walls);
}
BENCHMARK(BM_StartGameOnHouses)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
