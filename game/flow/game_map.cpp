// Building the world from the map of "GameData.xml": one object per cos
// element, and houses of wall blocks with a door.

#include <array>
#include <memory>
#include <string>

#include "core/code_page.h"
#include "core/random.h"
#include "flow/game.h"
#include "flow/game_data_errors.h"
#include "flow/game_data_numbers.h"
#include "runtime/data_file.h"
#include "world/bohater.h"
#include "world/lista.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/static_cos.h"
#include "world/zaprzeg.h"

namespace gb {
namespace {

// Scenery and character kinds by type name, in the order of their kinds.
constexpr std::array<std::string_view, 5> kSceneryTypes{"drzewo", "choinka", "choinka spalona", "choinka duza",
                                                        "slup"};
constexpr std::array<std::string_view, 5> kCharacterTypes{"rodzic", "dzieciak", "balwanek", "aniolek",
                                                          "dziadek mroz"};

template <std::size_t N>
int KindOf(const std::array<std::string_view, N>& names, std::string_view type) {
    for (std::size_t i = 0; i < N; ++i)
        if (names[i] == type) return static_cast<int>(i);
    return -1;
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

}  // namespace

void TGame::LoadGameData() {
    Document = LoadDataFile(Services.Directory, "GameData.xml");
    for (std::int32_t i = 0; i < Document->ChildCount(); ++i) {
        if (!Document->IsTag(i, "gamedata")) continue;
        const auto& gamedata = static_cast<const TXMLTag&>(Document->Child(i));
        LoadMap(gamedata);
        Triggers = gamedata.FindTag("triggers");
    }
    if (!HeroObject)
        throw EGameDataError(bbx::Pl<"GameData.xml: na mapie nie ma bohatera (element cos type=\"bohater\"), "
                                     "a bez niego nie da się grać.">());
    if (!SleighObject)
        throw EGameDataError(bbx::Pl<"GameData.xml: na mapie nie ma zaprzęgu (element cos type=\"zaprzeg\"), "
                                     "a bez niego nie da się grać.">());
}

void TGame::LoadMap(const TXMLTag& gamedata) {
    const TXMLTag* map = gamedata.FindTag("map");
    if (!map) return;
    for (std::int32_t i = 0; i < map->ChildCount(); ++i)
        if (map->IsTag(i, "cos")) LoadMapObject(static_cast<const TXMLTag&>(map->Child(i)));
}

void TGame::LoadMapObject(const TXMLTag& element) {
    const std::string type = element.GetAttribute("type");
    if (type == "dom") {
        BuildHouse(element);
        return;
    }
    std::unique_ptr<TCos> object;
    if (type == "bohater") {
        auto hero = std::make_unique<TBohater>(Context);
        HeroObject = hero.get();
        object = std::move(hero);
    } else if (type == "murek") {
        object = std::make_unique<TMurek>(Context);
    } else if (const int scenery = KindOf(kSceneryTypes, type); scenery >= 0) {
        object = std::make_unique<TStaticCos>(Context, static_cast<std::uint32_t>(scenery));
    } else if (const int character = KindOf(kCharacterTypes, type); character >= 0) {
        object = std::make_unique<TPostac>(Context, static_cast<std::uint32_t>(character));
    } else if (type == "zaprzeg") {
        auto sleigh = std::make_unique<TZaprzeg>(Context);
        SleighObject = sleigh.get();
        object = std::move(sleigh);
    } else {
        return;
    }
    const std::string owner = Describe(element);
    object->Id = element.GetAttribute("id");
    object->X = static_cast<float>(DecimalAttribute(element, "x", owner) * MapCellSize);
    object->Y = static_cast<float>(DecimalAttribute(element, "y", owner) * MapCellSize);
    World->Add(std::move(object), TLista::ObjectLayer);
}

void TGame::BuildHouse(const TXMLTag& element) {
    const std::string owner = Describe(element);
    const std::int32_t x = IntAttribute(element, "x", owner);
    const std::int32_t y = IntAttribute(element, "y", owner);
    const std::int32_t w = IntAttribute(element, "w", owner);
    const std::int32_t h = IntAttribute(element, "h", owner);
    const std::string entrance = element.GetAttribute("entrance");
    if (w > kLargestHouse || h > kLargestHouse || x > kFarthestHouse || x < -kFarthestHouse ||
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
    World->Add(std::move(block), TLista::ObjectLayer);
}

}  // namespace gb
