// Starting a game on a map of big houses: reading "GameData.xml", building
// every wall block and putting them in the world's drawing order. Target: a
// hundred houses of 1000 x 1000 cells (399,500 wall blocks) under 2 s of CPU.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
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

// Rows of ten houses, from the top row down, or from the bottom row up: then
// every part loaded goes before all the walls already there.
std::string HousesMap(int houses, bool bottomUp = false) {
    std::string map = R"(<gamedata><map><cos type="bohater" x="-5" y="-5"/><cos type="zaprzeg" x="-10" y="-5"/>)";
    for (int n = 0; n < houses; ++n) {
        const int i = bottomUp ? houses - 1 - n : n;
        map += R"(<cos type="dom" x=")" + std::to_string(i % 10 * 1000) + R"(" y=")" + std::to_string(i / 10 * 1000) +
               R"(" w="1000" h="1000" entrance="top"/>)";
    }
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

double ThreadCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The same map loaded the program's way, a part per frame: the whole
// loading, and the CPU time of its longest frame (target: under 16 ms, one
// frame at 60 Hz), also when every part goes before the walls of the parts
// before it.
void BM_LoadHousesInSteps(benchmark::State& state) {
    TLoadRig rig(HousesMap(static_cast<int>(state.range(0)), state.range(1) != 0));
    double slowest = 0;
    int steps = 0;
    for (auto _ : state) {
        auto game = std::make_unique<gb::TGame>(rig.Services, gb::TGame::TLoading::InSteps);
        std::uint32_t now = 1000;
        for (steps = 0; game->IsLoading(); ++steps) {
            const double start = ThreadCpuMilliseconds();
            game->Update(now += 16, 16);
            slowest = std::max(slowest, ThreadCpuMilliseconds() - start);
        }
        state.PauseTiming();
        game.reset();
        state.ResumeTiming();
    }
    state.counters["steps"] = steps;
    state.counters["slowest_step_ms"] = slowest;
}
BENCHMARK(BM_LoadHousesInSteps)
    ->ArgsProduct({{100}, {0, 1}})
    ->ArgNames({"houses", "bottom_up"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
