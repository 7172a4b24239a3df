// Feeds arbitrary bytes to the game as its "GameData.xml": the controller
// loads them the program's way, a part per frame, and plays one frame,
// update and drawing, on a platform without a display. It may refuse the
// file with its errors, but must never crash, hang or leak; once loaded, the
// object layer must hold the hero and the sleigh and no more than the map
// limit, and after a frame be in order of Y (the script's "init" may have
// placed objects anywhere before it).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/bbx_collection.h"
#include "core/errors.h"
#include "core/random.h"
#include "flow/game.h"
#include "runtime/display.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/null_presenter.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/zaprzeg.h"

namespace {

// A folder for the game's files, gone when the fuzzer ends.
class TDataFolder {
public:
    TDataFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "game_data_fuzzer.XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        Directory = pattern + "/";
        // Every model the world draws, one small sphere each.
        bbx::Tbbx_collection models;
        for (std::int32_t id = -11; id <= 25; ++id) {
            bbx::Tbbx_model* model = models.Add();
            model->ID = id;
            model->I1 = 8;
            model->I2 = 8;
            model->AddElement(bbx::MakeSphere(bbx::RGB(200, 100, 50), 0, 0, 0, 500));
        }
        models.SaveToFile(Directory + "models.bbx");
    }
    ~TDataFolder() { std::filesystem::remove_all(Directory); }
    TDataFolder(const TDataFolder&) = delete;
    TDataFolder& operator=(const TDataFolder&) = delete;

    std::string Directory;
};

// The shared services as the main window makes them.
struct TRig {
    TRig() : Display(Screen, &Text), Gfx(bbx::TPixelFormat::Rgb565, Text, 64, 0.1f), Sfx(Sound, Folder.Directory) {
        Screen.Recording = false;
        Display.Initialize();
        Sfx.LoadSounds();
        Gfx.Initialize(Folder.Directory);
    }

    TDataFolder Folder;
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

void CheckObjectLayer(gb::TGame& game, bool ordered) {
    const gb::TLista& list = game.Objects();
    const std::int32_t count = list.Count(gb::TLista::ObjectLayer);
    if (count > gb::TGame::MostMapObjects) std::abort();
    bool hero = false;
    bool sleigh = false;
    for (std::int32_t i = 0; i < count; ++i) {
        const gb::TCos& object = list.Item(gb::TLista::ObjectLayer, i);
        if (ordered && i > 0 && list.Item(gb::TLista::ObjectLayer, i - 1).Y > object.Y) std::abort();
        hero = hero || &object == &game.Hero();
        sleigh = sleigh || &object == &game.Sleigh();
    }
    // Riding, the hero is parked far off the map, but still in the layer.
    if (!hero || !sleigh) std::abort();
}

// Loads as the program does, drawing every frame, and plays one more.
void Play(TRig& rig) {
    gb::TGame game(rig.Services, gb::TGame::TLoading::InSteps);
    std::uint32_t now = 1000;
    while (game.IsLoading()) {
        if (game.Update(now += 16, 16)) return;
        game.Draw(rig.Display.Surface());
    }
    CheckObjectLayer(game, false);
    game.Update(now += 16, 16);
    game.Draw(rig.Display.Surface());
    CheckObjectLayer(game, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TRig rig;
    {
        std::ofstream file(rig.Folder.Directory + "GameData.xml", std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!file.flush()) std::abort();
    }
    // The same input places its doors and characters the same way each time.
    bbx::RandSeed(1);
    try {
        Play(rig);
    } catch (const bbx::Exception&) {
        // A refused file or a failing script action: what a player sees on
        // the error screen.
    }
    // What the sound layer recorded would pile up over the runs.
    rig.Sound.Log.clear();
    rig.Sound.Played.clear();
    rig.Sound.Stopped.clear();
    return 0;
}
