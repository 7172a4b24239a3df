#include "app/game_state_hash.h"

#include <bit>
#include <string>
#include <typeinfo>

#include "app/frm_main.h"
#include "app/replay_file.h"
#include "flow/game.h"
#include "flow/intro.h"
#include "flow/menu.h"
#include "world/bohater.h"
#include "world/cos.h"
#include "world/lista.h"
#include "world/zaprzeg.h"

namespace gb {
namespace {

class THasher {
public:
    void Add(std::string_view text) {
        Add(static_cast<std::uint64_t>(text.size()));
        Value = HashBytes(text, Value);
    }
    void Add(std::uint64_t number) {
        char bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(number >> (8 * i));
        Value = HashBytes(std::string_view(bytes, 8), Value);
    }
    void Add(std::int32_t number) { Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(number))); }
    void Add(std::uint32_t number) { Add(static_cast<std::uint64_t>(number)); }
    void Add(float number) { Add(std::bit_cast<std::uint32_t>(number)); }
    void Add(bool flag) { Add(static_cast<std::uint64_t>(flag)); }
    std::uint64_t Value = HashBytes("");
};

void AddGame(THasher& hasher, TGame& game) {
    hasher.Add(game.IsLoading());
    if (game.IsLoading()) return;
    hasher.Add(game.Mode());
    hasher.Add(game.Band());
    hasher.Add(game.CameraX());
    hasher.Add(game.CameraY());
    hasher.Add(game.QuitRequested());
    for (int line = 0; line < TGame::NarrationLines; ++line) hasher.Add(game.Narration(line));
    for (int pointer = 1; pointer <= TGame::PointerCount; ++pointer) hasher.Add(game.PointerTarget(pointer));
    for (std::int32_t i = 0; i < game.Variables().Count(); ++i) {
        hasher.Add(game.Variables().Item(i).Name);
        hasher.Add(game.Variables().Item(i).Value);
    }
    hasher.Add(game.Timers().Count());
    const TBohater& hero = game.Hero();
    for (const std::int32_t count : {hero.Presents, hero.Rods, hero.Baubles}) hasher.Add(count);
    hasher.Add(hero.Item);
    hasher.Add(hero.Command);
    hasher.Add(hero.Health);
    hasher.Add(hero.Goodness);
    hasher.Add(game.Sleigh().Ridden);
    const TLista& world = game.Objects();
    for (std::int32_t layer = 0; layer < TLista::LayerCount; ++layer) {
        hasher.Add(world.Count(layer));
        for (std::int32_t i = 0; i < world.Count(layer); ++i) {
            const TCos& object = world.Item(layer, i);
            hasher.Add(std::string_view(typeid(object).name()));
            hasher.Add(object.Id);
            hasher.Add(object.X);
            hasher.Add(object.Y);
            hasher.Add(object.Angle);
            hasher.Add(object.Speed);
        }
    }
}

}  // namespace

std::uint64_t GameStateHash(const TfrmMain& form) {
    THasher hasher;
    hasher.Add(form.MouseX());
    hasher.Add(form.MouseY());
    hasher.Add(!form.ErrorText().empty());
    hasher.Add(form.Paused());
    if (auto* game = dynamic_cast<TGame*>(form.Game())) {
        hasher.Add(std::string_view("game"));
        AddGame(hasher, *game);
    } else if (form.Menu()) {
        hasher.Add(std::string_view("menu"));
    } else if (form.Intro()) {
        hasher.Add(std::string_view("intro"));
    } else {
        hasher.Add(std::string_view("none"));
    }
    return hasher.Value;
}

}  // namespace gb
