// Building the world from the map of "GameData.xml": one object per cos
// element, and houses of wall blocks with a door.

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "core/code_page.h"
#include "core/random.h"
#include "core/real_format.h"
#include "flow/game.h"
#include "flow/game_data_errors.h"
#include "flow/game_data_numbers.h"
#include "runtime/data_file.h"
#include "runtime/display.h"
#include "runtime/gfx_matrix.h"
#include "runtime/rect.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/zaprzeg.h"

namespace gb {
namespace {

// Scenery and character kinds by type name, in the order of their kinds.
constexpr std::array<std::string_view, TStaticCos::KindCount> kSceneryTypes{
    "drzewo",        "choinka", "choinka spalona", "choinka duza", "slup",     "dom drewniany", "dom zolty",
    "dom niebieski", "kaplica", "plot",            "plot w glab",  "zywoplot", "latarnia",      "lawka",
    "stragan",       "kra",     "mala kra",        "skala",        "trzcina",  "pomost",        "brzeg",
    "brzeg w glab",  "lod"};
constexpr std::array<std::string_view, 5> kCharacterTypes{"rodzic", "dzieciak", "balwanek", "aniolek",
                                                          "dziadek mroz"};

// What a cos element's type makes; Variant is the kind of scenery or
// character.
struct TMapType {
    enum { Nothing, Hero, Wall, Scenery, Character, Sleigh, House } Kind = Nothing;
    std::uint32_t Variant = 0;
};

template <std::size_t N>
std::optional<std::uint32_t> KindOf(const std::array<std::string_view, N>& names, std::string_view type) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == type) return static_cast<std::uint32_t>(i);
    return std::nullopt;
}

TMapType MapTypeOf(std::string_view type) {
    if (type == "bohater") return {TMapType::Hero};
    if (type == "murek") return {TMapType::Wall};
    if (const auto scenery = KindOf(kSceneryTypes, type)) return {TMapType::Scenery, *scenery};
    if (const auto character = KindOf(kCharacterTypes, type)) return {TMapType::Character, *character};
    if (type == "zaprzeg") return {TMapType::Sleigh};
    if (type == "dom") return {TMapType::House};
    return {};
}

std::string Describe(const TXMLTag& element) {
    return bbx::Pl<"element cos type=\"">() + element.GetAttribute("type") + "\" id=\"" + element.GetAttribute("id") +
           "\"";
}

// Houses larger than this, or placed farther out, are taken for a slip of
// the pen: their walls would exhaust memory or overflow the cell numbers.
constexpr std::int32_t kLargestHouse = 1000;
constexpr std::int32_t kFarthestHouse = 1000000;

// Where the door lies along a wall `span` cells long: never in the two cells
// nearest a corner when the wall has room for that; a wall shorter than 4
// cells gets its door in its middle cell.
std::int32_t DoorOffset(std::int32_t span) { return span >= 4 ? 2 + bbx::Random(span - 4) : (span - 1) / 2; }

bool FitsLargestHouse(std::int32_t w, std::int32_t h) { return w <= kLargestHouse && h <= kLargestHouse; }

// How many objects the element makes; a house counts all its walls, its
// door left in. A house that building refuses counts none, so that its own
// error is the one shown.
std::int64_t ObjectsMadeBy(const TXMLTag& element) {
    const TMapType what = MapTypeOf(element.GetAttribute("type"));
    if (what.Kind != TMapType::House) return what.Kind == TMapType::Nothing ? 0 : 1;
    const auto w = bbx::ParseInt(element.GetAttribute("w"));
    const auto h = bbx::ParseInt(element.GetAttribute("h"));
    if (!w || !h || !FitsLargestHouse(*w, *h)) return 0;
    return 2 * std::int64_t{std::max(*w, 0)} + 2 * std::int64_t{std::max(*h - 2, 0)};
}

// Before a byte is read: a file beyond the limit would take long to read
// and build, and one that is not a plain file (a pipe, a device) might
// never end. A missing file is left to the reading, which names the
// system's error.
void RefuseOversizedGameData(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) return;
    if (!std::filesystem::is_regular_file(status))
        throw EGameDataError(bbx::Pl<"GameData.xml nie jest zwykłym plikiem, więc gra go nie czyta.">());
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > TGame::MostGameDataBytes)
        throw EGameDataError(bbx::Pl<"GameData.xml ma ">() + std::to_string(size) +
                             bbx::Pl<" bajtów, a może mieć najwyżej ">() + std::to_string(TGame::MostGameDataBytes) +
                             " (" + std::to_string(TGame::MostGameDataBytes >> 20) + " MB).");
}

// The loading's progress bar, across the middle of the screen.
constexpr TRect kProgressBar{200, 292, 600, 308};
constexpr int kWhite = 1;

}  // namespace

void TGame::LoadGameData() {
    RefuseOversizedGameData(Services.Directory + "GameData.xml");
    Document = LoadDataFile(Services.Directory, "GameData.xml");
    std::int64_t objects = 0;
    for (std::int32_t i = 0; i < Document->ChildCount(); ++i) {
        if (!Document->IsTag(i, "gamedata")) continue;
        const auto& gamedata = static_cast<const TXMLTag&>(Document->Child(i));
        if (const TXMLTag* map = gamedata.FindTag("map"))
            for (std::int32_t j = 0; j < map->ChildCount(); ++j)
                if (map->IsTag(j, "cos")) {
                    const auto& element = static_cast<const TXMLTag&>(map->Child(j));
                    Loading.Elements.push_back(&element);
                    objects += ObjectsMadeBy(element);
                }
        Triggers = gamedata.FindTag("triggers");
    }
    Loading.Work = static_cast<std::int64_t>(Loading.Elements.size()) + objects;
    if (objects > MostMapObjects)
        throw EGameDataError(bbx::Pl<"GameData.xml: mapa tworzy ">() + std::to_string(objects) +
                             bbx::Pl<" obiektów (dom liczy się ze wszystkimi ścianami), a może ich być najwyżej ">() +
                             std::to_string(MostMapObjects) + ".");
    World->Reserve(TLista::ObjectLayer, static_cast<std::size_t>(objects));
}

bool TGame::BuildMapObjects(std::int64_t budget) {
    while (Loading.Next < Loading.Elements.size() && budget > 0) {
        const std::size_t before = Loading.Built.size();
        LoadMapObject(*Loading.Elements[Loading.Next++]);
        const auto work = 1 + static_cast<std::int64_t>(Loading.Built.size() - before);
        budget -= work;
        Loading.Done += work;
    }
    World->AddAll(std::exchange(Loading.Built, {}), TLista::ObjectLayer);
    if (Loading.Next < Loading.Elements.size()) return false;
    Loading = {};
    return true;
}

void TGame::RequireHeroAndSleigh() const {
    if (!HeroObject)
        throw EGameDataError(bbx::Pl<"GameData.xml: na mapie nie ma bohatera (element cos type=\"bohater\"), "
                                     "a bez niego nie da się grać.">());
    if (!SleighObject)
        throw EGameDataError(bbx::Pl<"GameData.xml: na mapie nie ma zaprzęgu (element cos type=\"zaprzeg\"), "
                                     "a bez niego nie da się grać.">());
}

double TGame::LoadProgress() const {
    if (!IsLoading()) return 1;
    return Loading.Work > 0 ? std::min(1.0, static_cast<double>(Loading.Done) / static_cast<double>(Loading.Work)) : 0;
}

void TGame::DrawLoadProgress(TSurface& target) const {
    if (Loading.LastTick - Loading.StartTick < LoadProgressDelay) return;
    const int percent = static_cast<int>(LoadProgress() * 100);
    Services.Gfx.Font.DrawText(target, TDisplay::ScreenWidth / 2, kProgressBar.Top - 8,
                               bbx::Pl<"Wczytywanie mapy... ">() + std::to_string(percent) + "%", 0.5f, 1, kWhite);
    const TSurface& track = Services.Gfx.GreyImage;
    TileDraw(target, track, kProgressBar, false, track.ClientRect());
    const TSurface& done = Services.Gfx.RedImage;
    const int width = static_cast<int>(LoadProgress() * kProgressBar.Width());
    TileDraw(target, done, Bounds(kProgressBar.Left, kProgressBar.Top, width, kProgressBar.Height()), false,
             done.ClientRect());
}

void TGame::LoadMapObject(const TXMLTag& element) {
    const std::string type = element.GetAttribute("type");
    const TMapType what = MapTypeOf(type);
    if (what.Kind == TMapType::House) {
        BuildHouse(element);
        return;
    }
    std::unique_ptr<TCos> object;
    switch (what.Kind) {
        case TMapType::Hero: object = std::make_unique<TBohater>(Context); break;
        case TMapType::Wall: object = std::make_unique<TMurek>(Context); break;
        case TMapType::Scenery: object = std::make_unique<TStaticCos>(Context, what.Variant); break;
        case TMapType::Character: object = std::make_unique<TPostac>(Context, what.Variant); break;
        case TMapType::Sleigh: object = std::make_unique<TZaprzeg>(Context); break;
        case TMapType::House:
        case TMapType::Nothing: return;
    }
    const std::string owner = Describe(element);
    object->Id = element.GetAttribute("id");
    object->X = static_cast<float>(DecimalAttribute(element, "x", owner) * MapCellSize);
    object->Y = static_cast<float>(DecimalAttribute(element, "y", owner) * MapCellSize);
    if (what.Kind == TMapType::Character) {
        // Which of its kind's looks a parent or child wears; any other
        // character has one look.
        const auto look = OptionalIntAttribute(element, "wyglad", owner);
        if (look && *look < 0)
            throw EGameDataError("GameData.xml: " + owner + bbx::Pl<": atrybut wyglad=\"">() + std::to_string(*look) +
                                 bbx::Pl<"\" nie może być ujemny.">());
        static_cast<TPostac&>(*object).Look = static_cast<std::uint32_t>(look.value_or(0));
    }
    // Only an object that is kept becomes the hero or the sleigh: one whose
    // number is bad goes with the error.
    if (what.Kind == TMapType::Hero) HeroObject = static_cast<TBohater*>(object.get());
    if (what.Kind == TMapType::Sleigh) SleighObject = static_cast<TZaprzeg*>(object.get());
    if (what.Kind == TMapType::Scenery && what.Variant == TStaticCos::IceSheet) {
        World->Add(std::move(object), TLista::GroundLayer);
        return;
    }
    Loading.Built.push_back(std::move(object));
}

void TGame::BuildHouse(const TXMLTag& element) {
    const std::string owner = Describe(element);
    const std::int32_t x = IntAttribute(element, "x", owner);
    const std::int32_t y = IntAttribute(element, "y", owner);
    const std::int32_t w = IntAttribute(element, "w", owner);
    const std::int32_t h = IntAttribute(element, "h", owner);
    const std::string entrance = element.GetAttribute("entrance");
    if (!FitsLargestHouse(w, h) || x > kFarthestHouse || x < -kFarthestHouse ||
        y > kFarthestHouse || y < -kFarthestHouse)
        throw EGameDataError("GameData.xml: " + owner + bbx::Pl<": dom jest za duży albo leży za daleko "
                                                                "(najwyżej 1000 na 1000 pól, do miliona pól od środka mapy).">());

    std::int32_t doorColumn = 0;
    std::int32_t doorRow = 0;
    if (entrance == "top" || entrance == "bottom") {
        doorColumn = x + DoorOffset(w);
        doorRow = entrance == "top" ? y : y + h - 1;
    } else {
        doorRow = y + DoorOffset(h);
        doorColumn = entrance == "left" ? x : x + w - 1;
    }

    const auto wall = [&](std::int32_t column, std::int32_t row) {
        if (column != doorColumn || row != doorRow) AddWall(column, row);
    };
    for (std::int32_t i = 0; i < w; ++i) {
        wall(x + i, y);
        wall(x + i, y + h - 1);
    }
    for (std::int32_t j = 1; j < h - 1; ++j) {
        wall(x, y + j);
        wall(x + w - 1, y + j);
    }
}

void TGame::AddWall(std::int32_t column, std::int32_t row) {
    auto block = std::make_unique<TMurek>(Context);
    block->X = static_cast<float>(column) * MapCellSize;
    block->Y = static_cast<float>(row) * MapCellSize;
    Loading.Built.push_back(std::move(block));
}

}  // namespace gb
