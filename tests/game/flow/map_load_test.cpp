// Loading a map: the world's order is the one adding every object in file
// order gives, and a map or a file beyond the limits is refused before
// anything is built.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/code_page.h"
#include "core/random.h"
#include "flow/game_data_errors.h"
#include "support/game_test_support.h"
#include "support/world_test_support.h"

using namespace gb;
using namespace gb::test_support;

namespace {

// What tells objects apart in a layer: the class, the place and the id.
struct TSeen {
    std::string Kind;
    float X;
    float Y;
    std::string Id;
    bool operator==(const TSeen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TSeen& s) {
    return out << s.Kind << "(" << s.X << ", " << s.Y << ", \"" << s.Id << "\")";
}

std::string KindOf(const TCos& object) {
    if (dynamic_cast<const TBohater*>(&object)) return "bohater";
    if (dynamic_cast<const TZaprzeg*>(&object)) return "zaprzeg";
    if (dynamic_cast<const TMurek*>(&object)) return "murek";
    if (const auto* s = dynamic_cast<const TStaticCos*>(&object)) return "scenery " + std::to_string(s->Kind);
    if (const auto* p = dynamic_cast<const TPostac*>(&object)) return "character " + std::to_string(p->Kind);
    return "?";
}

std::vector<TSeen> Seen(const TLista& list, std::int32_t first = 0) {
    std::vector<TSeen> seen;
    for (std::int32_t i = first; i < list.Count(TLista::ObjectLayer); ++i) {
        const TCos& object = list.Item(TLista::ObjectLayer, i);
        seen.push_back({KindOf(object), object.X, object.Y, object.Id});
    }
    return seen;
}

std::string Houses(int count, int size) {
    std::string houses;
    for (int i = 0; i < count; ++i)
        houses += "<cos type=\"dom\" x=\"" + std::to_string(i * size) + "\" y=\"0\" w=\"" + std::to_string(size) +
                  "\" h=\"" + std::to_string(size) + "\"/>";
    return houses;
}

std::string Trees(int count) {
    std::string trees;
    for (int i = 0; i < count; ++i) trees += "<cos type=\"drzewo\" x=\"-" + std::to_string(i + 1) + "\" y=\"-3\"/>";
    return trees;
}

std::string MessageOf(TGameBench& bench) {
    try {
        bench.Start();
    } catch (const bbx::Exception& error) {
        return std::string(error.ClassName()) + ": " + error.what();
    }
    return "loaded";
}

}  // namespace

// Everything at y = 2 shares its Y with the top wall of the house, so the
// order among equal Ys is what is tested.
TEST(MapLoad, PutsTheMapInTheOrderThatAddingOneByOneGives) {
    const std::string map = R"(
        <cos type="drzewo" id="a" x="1" y="2"/>
        <cos type="bohater" id="hero" x="3" y="2"/>
        <cos type="murek" x="2" y="2"/>
        <cos type="dom" x="4" y="2" w="6" h="5" entrance="left"/>
        <cos type="rodzic" id="mama" x="5" y="4"/>
        <cos type="choinka" id="b" x="1" y="2"/>
        <cos type="zaprzeg" id="sanie" x="0" y="6"/>
        <cos type="slup" x="8" y="2"/>
        <cos type="balwanek" id="c" x="12" y="6"/>)";
    TGameBench bench(GameData(map));
    bbx::RandSeed(4);
    auto game = bench.Start();

    // The same objects added one by one in file order, the house's walls in
    // their order: along the top and bottom rows column by column, then down
    // both sides row by row; the door is where the loaded house has its gap.
    TWorldRig rig;
    const auto cell = [](int n) { return static_cast<float>(n * 48); };
    rig.Add<TStaticCos>(TLista::ObjectLayer, cell(1), cell(2), TStaticCos::Tree).Id = "a";
    rig.Add<TBohater>(TLista::ObjectLayer, cell(3), cell(2)).Id = "hero";
    rig.Add<TMurek>(TLista::ObjectLayer, cell(2), cell(2));
    int doorRow = -1;
    for (int row = 4; row <= 5; ++row)
        if (!game->Objects().ObjectAt(TLista::ObjectLayer, cell(4), cell(row))) doorRow = row;
    ASSERT_NE(doorRow, -1) << "the left wall has its door two cells or more from the corners";
    for (int i = 0; i < 6; ++i) {
        rig.Add<TMurek>(TLista::ObjectLayer, cell(4 + i), cell(2));
        rig.Add<TMurek>(TLista::ObjectLayer, cell(4 + i), cell(6));
    }
    for (int j = 1; j < 4; ++j) {
        if (2 + j != doorRow) rig.Add<TMurek>(TLista::ObjectLayer, cell(4), cell(2 + j));
        rig.Add<TMurek>(TLista::ObjectLayer, cell(9), cell(2 + j));
    }
    rig.Add<TPostac>(TLista::ObjectLayer, cell(5), cell(4), TPostac::Parent).Id = "mama";
    rig.Add<TStaticCos>(TLista::ObjectLayer, cell(1), cell(2), TStaticCos::ChristmasTree).Id = "b";
    rig.Add<TZaprzeg>(TLista::ObjectLayer, cell(0), cell(6)).Id = "sanie";
    rig.Add<TStaticCos>(TLista::ObjectLayer, cell(8), cell(2), TStaticCos::Post);
    rig.Add<TPostac>(TLista::ObjectLayer, cell(12), cell(6), TPostac::Snowman).Id = "c";

    // The rig's own hero, far above, comes first there.
    EXPECT_EQ(Seen(game->Objects()), Seen(rig.List, 1));
    EXPECT_EQ(game->Objects().Count(TLista::ObjectLayer), 8 + 2 * 6 + 2 * 3 - 1);  // the door is no wall
}

TEST(MapLimits, AMapBeyondTheObjectLimitIsRefusedBeforeAnythingIsBuilt) {
    // 126 of the largest houses make 503,496 wall blocks. The tree ahead of
    // them has a bad number: had building begun, that error would come first.
    TGameBench bench(
        GameData(kHeroAndSleigh + R"(<cos type="drzewo" x="jeden" y="1"/>)" + Houses(126, 1000)));
    bbx::RandSeed(7);
    const std::int32_t untouched = bbx::Random(1000);
    bbx::RandSeed(7);
    const std::string message = MessageOf(bench);
    EXPECT_NE(message.find("EGameDataError"), std::string::npos) << message;
    EXPECT_NE(message.find("503499"), std::string::npos) << message;  // with the hero, the sleigh and the tree
    EXPECT_NE(message.find(std::to_string(TGame::MostMapObjects)), std::string::npos) << message;
    EXPECT_EQ(bbx::Random(1000), untouched) << "no door was placed";
}

TEST(MapLimits, AMapOfExactlyTheMostObjectsLoads) {
    // 125 houses of 3996 cells each, the hero, the sleigh and 498 trees.
    static_assert(TGame::MostMapObjects == 125 * 3996 + 2 + 498);
    TGameBench atTheLimit(GameData(kHeroAndSleigh + Houses(125, 1000) + Trees(498)));
    auto game = atTheLimit.Start();
    EXPECT_EQ(game->Objects().Count(TLista::ObjectLayer), TGame::MostMapObjects - 125);  // less the doors
    game.reset();

    TGameBench oneMore(GameData(kHeroAndSleigh + Houses(125, 1000) + Trees(499)));
    EXPECT_NE(MessageOf(oneMore).find("EGameDataError"), std::string::npos);
}

TEST(MapLimits, HousesTheBuildingRefusesCountForNothing) {
    // Counted, its walls would be far beyond the limit; its own error, not
    // the limit's, tells the player what is wrong.
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="dom" x="0" y="5000" w="2000000" h="1000"/>)"));
    const std::string message = MessageOf(bench);
    EXPECT_NE(message.find(bbx::Pl<"dom jest za duży">()), std::string::npos) << message;
}

TEST(MapLimits, AGameDataFileBeyondTheSizeLimitIsRefused) {
    const std::string data = GameData(kHeroAndSleigh);
    const auto padded = [&data](std::uintmax_t size) {
        return data + "<!--" + std::string(static_cast<std::size_t>(size) - data.size() - 7, ' ') + "-->";
    };
    TGameBench atTheLimit(padded(TGame::MostGameDataBytes));
    EXPECT_EQ(MessageOf(atTheLimit), "loaded");

    TGameBench beyond(padded(TGame::MostGameDataBytes + 1));
    const std::string message = MessageOf(beyond);
    EXPECT_NE(message.find("EGameDataError"), std::string::npos) << message;
    EXPECT_NE(message.find(std::to_string(TGame::MostGameDataBytes + 1)), std::string::npos) << message;
}

TEST(MapLimits, AGameDataThatIsNotAPlainFileIsRefusedWithoutWaiting) {
    TGameBench pipe(GameData(kHeroAndSleigh));
    pipe.Data.Remove("GameData.xml");
    ASSERT_EQ(::mkfifo(pipe.Data.File("GameData.xml").c_str(), 0600), 0);
    EXPECT_NE(MessageOf(pipe).find(bbx::Pl<"nie jest zwykłym plikiem">()), std::string::npos);

    TGameBench folder(GameData(kHeroAndSleigh));
    folder.Data.Remove("GameData.xml");
    std::filesystem::create_directory(folder.Data.File("GameData.xml"));
    EXPECT_NE(MessageOf(folder).find(bbx::Pl<"nie jest zwykłym plikiem">()), std::string::npos);

    // Through a link to a plain file it is read as ever.
    TGameBench linked(GameData(kHeroAndSleigh));
    std::filesystem::rename(linked.Data.File("GameData.xml"), linked.Data.File("real.xml"));
    std::filesystem::create_symlink(linked.Data.File("real.xml"), linked.Data.File("GameData.xml"));
    EXPECT_EQ(MessageOf(linked), "loaded");
}

namespace {

// Twenty of the largest houses: 79,900 wall blocks, several steps of
// loading (a step ends with the house under way when its budget runs out).
const std::string kBigMap = kHeroAndSleigh + Houses(20, 1000);
constexpr std::int32_t kLargestHouseWalls = 3996;
const std::string kInitMark = R"(<trigger event="init"><action type="set" name="started" value="yes"/></trigger>)";

std::unique_ptr<TGame> StartInSteps(TGameBench& bench) {
    return std::make_unique<TGame>(bench.Services, TGame::TLoading::InSteps);
}

}  // namespace

TEST(LoadingInSteps, BuildsTheSameWorldOverSeveralUpdatesAndStartsOnlyAtTheEnd) {
    TGameBench atOnceBench(GameData(kBigMap, kInitMark));
    bbx::RandSeed(11);
    const std::vector<TSeen> expected = Seen(atOnceBench.Start()->Objects());

    TGameBench bench(GameData(kBigMap, kInitMark));
    bbx::RandSeed(11);
    auto game = StartInSteps(bench);
    EXPECT_TRUE(game->IsLoading());
    EXPECT_EQ(game->Objects().Count(TLista::ObjectLayer), 0);
    EXPECT_DOUBLE_EQ(game->LoadProgress(), 0);

    std::uint32_t now = 1000;
    int updates = 0;
    std::int32_t built = 0;
    double progress = 0;
    while (game->IsLoading()) {
        ASSERT_LT(updates, 100) << "loading never ends";
        EXPECT_EQ(game->Variables().GetValue("started"), "") << "the script starts once the map is there";
        EXPECT_FALSE(bench.Sound.MusicPlaying);
        EXPECT_FALSE(game->Update(now += 16, 16));
        ++updates;
        EXPECT_LE(game->Objects().Count(TLista::ObjectLayer) - built, TGame::LoadStepBudget + kLargestHouseWalls);
        built = game->Objects().Count(TLista::ObjectLayer);
        EXPECT_GE(game->LoadProgress(), progress);
        progress = game->LoadProgress();
    }
    EXPECT_GT(updates, 2);
    EXPECT_EQ(Seen(game->Objects()), expected);
    EXPECT_EQ(game->Variables().GetValue("started"), "yes");
    EXPECT_TRUE(bench.Sound.MusicPlaying);
    EXPECT_DOUBLE_EQ(game->LoadProgress(), 1);
    EXPECT_EQ(game->CameraX(), 480 - 400);
    game->Update(now += 16, 16);  // and plays on
    EXPECT_EQ(game->CameraY(), 480 - 300);
}

TEST(LoadingInSteps, ShowsItsProgressOnceItHasTakenHalfASecond) {
    TGameBench bench(GameData(kBigMap));
    auto game = StartInSteps(bench);
    // The bar's colour at its middle row: 'r' where it is red (the part
    // done), 'g' grey (the part to do), '-' black.
    const auto bar = [&bench, &game](int x) {
        TSurface& screen = bench.Screen();
        game->Draw(screen);
        const bbx::TColor color = screen.Buffer().UnmapPixel(screen.Pixel(x, 300));
        const int red = static_cast<int>(color & 0xFF);
        const int green = static_cast<int>(color >> 8 & 0xFF);
        if (red == 0 && green == 0) return '-';
        return red > 2 * green ? 'r' : 'g';
    };
    // Lit pixels in the line of text above the bar.
    const auto caption = [&bench, &game] {
        TSurface& screen = bench.Screen();
        game->Draw(screen);
        int lit = 0;
        for (int y = 250; y < 290; ++y)
            for (int x = 250; x < 550; ++x) lit += screen.Pixel(x, y) != 0;
        return lit;
    };
    game->Update(1000, 16);
    EXPECT_EQ(bar(201), '-') << "nothing shows in the first half second";
    EXPECT_EQ(caption(), 0);
    game->Update(1000 + TGame::LoadProgressDelay, 16);
    ASSERT_TRUE(game->IsLoading());
    const double progress = game->LoadProgress();
    ASSERT_GT(progress, 0.1);
    ASSERT_LT(progress, 0.9);
    const int end = 200 + static_cast<int>(progress * 400);
    EXPECT_EQ(bar(201), 'r');
    EXPECT_EQ(bar(end - 2), 'r');
    EXPECT_EQ(bar(end + 2), 'g');
    EXPECT_EQ(bar(598), 'g');
    EXPECT_EQ(bar(602), '-');
    EXPECT_GT(caption(), 0);
}

TEST(LoadingInSteps, InputWaitsAndEscGivesTheLoadingUp) {
    TGameBench bench(GameData(kBigMap));
    auto game = StartInSteps(bench);
    game->Update(1000, 16);
    for (TVirtualKey key : {TVirtualKey{vk::Return}, TVirtualKey{vk::Space}, TVirtualKey{'2'}}) Press(*game, key);
    game->MouseDown(TMouseButton::Left, 0, 100, 100);
    game->MouseUp(TMouseButton::Left, 0, 100, 100);
    game->Accelerate(1016, 16);
    game->TurnLeft(1016, 16);
    EXPECT_FALSE(game->IsRiding());
    EXPECT_FALSE(game->Update(1032, 16)) << "it loads on";

    Press(*game, vk::Escape);
    EXPECT_TRUE(game->Update(1048, 16));
    EXPECT_TRUE(game->IsLoading()) << "nothing more was built";
}

TEST(LoadingInSteps, AnErrorInALaterStepIsRaisedOnceAndThenTheGameEnds) {
    TGameBench bench(GameData(kBigMap + R"(<cos type="drzewo" x="jeden" y="1"/>)"));
    auto game = StartInSteps(bench);
    std::uint32_t now = 1000;
    int updates = 0;
    bool raised = false;
    try {
        for (; updates < 100; ++updates) ASSERT_FALSE(game->Update(now += 16, 16));
    } catch (const bbx::EConvertError&) {
        raised = true;
    }
    EXPECT_TRUE(raised);
    EXPECT_GT(updates, 2) << "in the last step, after the houses";
    EXPECT_TRUE(game->Update(now += 16, 16)) << "the menu comes back after the error";

    TGameBench heroless(GameData(R"(<cos type="zaprzeg" x="1" y="1"/>)"));
    auto lost = StartInSteps(heroless);
    EXPECT_THROW(lost->Update(1000, 16), EGameDataError);
    EXPECT_TRUE(lost->Update(1016, 16));

    // What the file and the count show is refused at once, as ever.
    TGameBench tooMany(GameData(kHeroAndSleigh + Houses(126, 1000)));
    EXPECT_THROW(StartInSteps(tooMany), EGameDataError);
}

TEST(MapLoad, VillageSceneryByItsNamesAndEachVillagersLook) {
    const std::string map = kHeroAndSleigh + R"(
        <cos type="dom drewniany" id="dom" x="10" y="10"/>
        <cos type="kaplica" id="kaplica" x="20.5" y="10.5"/>
        <cos type="brzeg" id="brzeg" x="3" y="30"/>
        <cos type="dzieciak" id="ola" x="5" y="5" wyglad="2"/>
        <cos type="rodzic" id="mama" x="6" y="5" wyglad="7"/>
        <cos type="dzieciak" id="jas" x="7" y="5"/>)";
    TGameBench bench(GameData(map));
    auto game = bench.Start();
    const auto scenery = [&game](const char* id) {
        const auto* s = dynamic_cast<const TStaticCos*>(game->Objects().FindById(id));
        return s ? static_cast<std::int64_t>(s->Kind) : -1;
    };
    EXPECT_EQ(scenery("dom"), TStaticCos::TimberHouse);
    EXPECT_EQ(scenery("kaplica"), TStaticCos::Chapel);
    EXPECT_EQ(scenery("brzeg"), TStaticCos::ShoreBank);
    const auto look = [&game](const char* id) {
        const auto* p = dynamic_cast<const TPostac*>(game->Objects().FindById(id));
        return p ? static_cast<std::int64_t>(p->Look) : -1;
    };
    EXPECT_EQ(look("ola"), 2);
    EXPECT_EQ(look("mama"), 7);
    EXPECT_EQ(look("jas"), 0) << "no look named: the first";
}

TEST(MapLoad, ALookThatIsNotACountIsRefusedWithItsElement) {
    for (const char* bad : {"-1", "dwa"}) {
        TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="dzieciak" id="ola" x="5" y="5" wyglad=")" + bad +
                                  R"("/>)"));
        const std::string message = MessageOf(bench);
        EXPECT_NE(message.find("wyglad"), std::string::npos) << message;
        EXPECT_NE(message.find("ola"), std::string::npos) << message;
    }
}

TEST(MapLoad, TheBaysIceLiesInTheGroundLayerAndBlocksNothing) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="lod" id="lod" x="3" y="3"/><cos type="lod" x="4" y="3"/>
        <cos type="kra" id="kra" x="3" y="3"/>)"));
    auto game = bench.Start();
    const TLista& world = game->Objects();
    ASSERT_EQ(world.Count(TLista::GroundLayer), 2);
    std::vector<float> columns;
    for (std::int32_t i = 0; i < 2; ++i) {
        const auto& ice = dynamic_cast<const TStaticCos&>(world.Item(TLista::GroundLayer, i));
        EXPECT_EQ(ice.Kind, TStaticCos::IceSheet);
        EXPECT_FLOAT_EQ(ice.Y, 3 * 48);
        columns.push_back(ice.X);
    }
    std::sort(columns.begin(), columns.end());
    EXPECT_EQ(columns, (std::vector<float>{3 * 48, 4 * 48}));
    EXPECT_EQ(world.FindById("lod"), nullptr) << "not in the object layer";
    EXPECT_NE(world.FindById("kra"), nullptr) << "a floe still stands in the way";
    EXPECT_EQ(world.HitTest(TLista::ObjectLayer, 12, nullptr, 4 * 48, 3 * 48), nullptr) << "walking over the ice";
}
