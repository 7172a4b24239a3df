// The game controller on small test maps: building the world, houses and
// doors, the camera, the bands, input, and what a frame draws.

#include <gtest/gtest.h>

#include <cstdlib>
#include <numbers>
#include <optional>
#include <set>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/random.h"
#include "core/real_format.h"
#include "flow/game_data_errors.h"
#include "support/game_test_support.h"
#include "support/polish_locale.h"

using namespace gb;
using namespace gb::test_support;

namespace {

std::vector<const TCos*> Layer(TGame& game, int layer) {
    std::vector<const TCos*> objects;
    for (int i = 0; i < game.Objects().Count(layer); ++i) objects.push_back(&game.Objects().Item(layer, i));
    return objects;
}

// The cells of the wall blocks, as (column, row).
std::set<std::pair<int, int>> WallCells(TGame& game) {
    std::set<std::pair<int, int>> cells;
    for (const TCos* object : Layer(game, TLista::ObjectLayer))
        if (dynamic_cast<const TMurek*>(object))
            cells.emplace(static_cast<int>(object->X) / 48, static_cast<int>(object->Y) / 48);
    return cells;
}

std::string House(const std::string& attributes) { return kHeroAndSleigh + "<cos type=\"dom\" " + attributes + "/>"; }

}  // namespace

TEST(GameMap, CreatesEveryKindOfThingWithItsIdAndPlace) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(
        <cos type="murek" x="1" y="1"/>
        <cos type="drzewo" id="d" x="2.5" y="3"/>
        <cos type="choinka" x="3" y="3"/>
        <cos TYPE="Choinka Spalona" x="4" y="3"/>
        <cos type="choinka duza" x="5" y="3"/>
        <cos type="slup" x="6" y="3"/>
        <cos type="rodzic" id="Mama" x="1" y="5"/>
        <cos type="dzieciak" x="2" y="5"/>
        <cos type="balwanek" x="3" y="5"/>
        <cos type="aniolek" x="4" y="5"/>
        <cos type="dziadek mroz" x="5" y="5"/>
        <cos type="krasnal" id="nic" x="7" y="7"/>
        <other type="drzewo" x="8" y="8"/>)"));
    auto game = bench.Start();
    const auto objects = Layer(*game, TLista::ObjectLayer);
    ASSERT_EQ(objects.size(), 13u);  // hero, sleigh and 11 things; the unknown type and the other tag make none

    const TCos* tree = game->Objects().FindById("d");
    ASSERT_NE(tree, nullptr);
    EXPECT_FLOAT_EQ(tree->X, 120);  // 2.5 cells
    EXPECT_FLOAT_EQ(tree->Y, 144);
    // Ids and types arrive in lower case, whatever the file says.
    EXPECT_NE(game->Objects().FindById("mama"), nullptr);
    EXPECT_EQ(game->Objects().FindById("nic"), nullptr);

    std::vector<std::uint32_t> scenery;
    std::vector<std::uint32_t> characters;
    int walls = 0;
    for (const TCos* object : objects) {
        if (const auto* s = dynamic_cast<const TStaticCos*>(object)) scenery.push_back(s->Kind);
        if (const auto* p = dynamic_cast<const TPostac*>(object)) characters.push_back(p->Kind);
        if (dynamic_cast<const TMurek*>(object)) ++walls;
    }
    std::sort(scenery.begin(), scenery.end());
    std::sort(characters.begin(), characters.end());
    EXPECT_EQ(scenery, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(characters, (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(walls, 1);
    EXPECT_EQ(&game->Hero(), game->Objects().FindById("hero"));
    EXPECT_EQ(&game->Sleigh(), game->Objects().FindById("sanie"));
}

// The program reads the map's decimals with the separator of the user's
// locale, and with a point whatever the locale.
class GameMapNumbers : public ::testing::Test {
protected:
    ~GameMapNumbers() override { bbx::UseDecimalSeparator(std::nullopt); }
    // As the program starts under the locale.
    static void StartUnder(const char* locale) {
        ::setenv("LC_ALL", locale, 1);
        bbx::UseDecimalSeparator(bbx::UserDecimalSeparator());
    }
    static float TreeX(const std::string& x) {
        TGameBench bench(GameData(kHeroAndSleigh + "<cos type=\"drzewo\" id=\"d\" x=\"" + x + "\" y=\"3\"/>"));
        auto game = bench.Start();
        return game->Objects().FindById("d")->X;
    }

    const test_support::TLocaleEnvironment Environment;
};

TEST_F(GameMapNumbers, UnderAPolishLocaleACommaOrAPointSeparatesTheDecimals) {
    const std::string missing = test_support::EnsurePolishLocale();
    if (!missing.empty()) GTEST_SKIP() << missing;
    StartUnder(test_support::kPolishLocale);
    EXPECT_FLOAT_EQ(TreeX("1,5"), 72);
    EXPECT_FLOAT_EQ(TreeX("1.5"), 72);
    EXPECT_FLOAT_EQ(TreeX("-0,25"), -12);
}

TEST_F(GameMapNumbers, UnderTheCLocaleOnlyAPointDoes) {
    StartUnder("C");
    EXPECT_FLOAT_EQ(TreeX("1.5"), 72);
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="drzewo" x="1,5" y="3"/>)"));
    EXPECT_THROW(bench.Start(), bbx::EConvertError);
}

TEST(GameMap, EveryGamedataElementAddsItsMapAndTheLastOneGivesTheScript) {
    const std::string file = "<gamedata><map>" + kHeroAndSleigh +
                             R"(</map><triggers><trigger event="init"><action type="set" name="a" value="1"/>
        </trigger></triggers></gamedata><gamedata><map><cos type="drzewo" id="t" x="1" y="1"/></map>
        <triggers><trigger event="init"><action type="set" name="b" value="2"/></trigger></triggers></gamedata>)";
    TGameBench bench(file);
    auto game = bench.Start();
    EXPECT_NE(game->Objects().FindById("t"), nullptr);
    EXPECT_EQ(game->Variables().GetValue("a"), "");
    EXPECT_EQ(game->Variables().GetValue("b"), "2");
}

TEST(GameMap, HousesAreRingsOfWallsWithOneDoorAwayFromTheCorners) {
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        bbx::RandSeed(seed);
        TGameBench bench(GameData(House(R"(x="10" y="5" w="6" h="5" entrance="top")")));
        auto game = bench.Start();
        const auto cells = WallCells(*game);
        ASSERT_EQ(cells.size(), 17u);  // 6 + 6 + 3 + 3 walls, less the door
        int doors = 0;
        for (int column = 10; column <= 15; ++column) {
            EXPECT_TRUE(cells.contains({column, 9}));
            if (!cells.contains({column, 5})) {
                ++doors;
                EXPECT_TRUE(column == 12 || column == 13) << column;
            }
        }
        EXPECT_EQ(doors, 1);
        // Inside stays empty.
        for (int column = 11; column <= 14; ++column)
            for (int row = 6; row <= 8; ++row) EXPECT_FALSE(cells.contains({column, row}));
    }
}

TEST(GameMap, DoorsGoInTheWallTheEntranceNamesAndElseOnTheRight) {
    struct Case {
        const char* entrance;
        std::pair<int, int> door;  // with w = h = 5 every wall has one door place
    };
    for (const Case& c : {Case{"entrance=\"bottom\"", {2, 4}}, Case{"entrance=\"LEFT\"", {0, 2}},
                          Case{"entrance=\"Top\"", {2, 0}}, Case{"entrance=\"right\"", {4, 2}},
                          Case{"entrance=\"north\"", {4, 2}}, Case{"", {4, 2}}}) {
        TGameBench bench(GameData(House(std::string("x=\"0\" y=\"0\" w=\"5\" h=\"5\" ") + c.entrance)));
        auto game = bench.Start();
        const auto cells = WallCells(*game);
        EXPECT_EQ(cells.size(), 15u) << c.entrance;
        EXPECT_FALSE(cells.contains(c.door)) << c.entrance;
    }
}

TEST(GameMap, ShortDoorWallsGetTheDoorInTheirMiddle) {
    // A 3 x 3 hut with its door on the left: the middle of that wall.
    TGameBench left(GameData(House(R"(x="0" y="0" w="3" h="3" entrance="left")")));
    auto hut = left.Start();
    EXPECT_EQ(WallCells(*hut).size(), 7u);
    EXPECT_FALSE(WallCells(*hut).contains({0, 1}));
    // Two cells wide with the door at the bottom: the first of the two.
    TGameBench bottom(GameData(House(R"(x="0" y="0" w="2" h="4" entrance="bottom")")));
    auto shed = bottom.Start();
    EXPECT_FALSE(WallCells(*shed).contains({0, 3}));
    EXPECT_TRUE(WallCells(*shed).contains({1, 3}));
}

TEST(GameMap, RefusesWhatCannotBePlayed) {
    const auto message = [](const std::string& file) {
        TGameBench bench(file);
        try {
            bench.Start();
        } catch (const bbx::Exception& e) {
            return std::string(e.ClassName()) + ": " + e.what();
        }
        return std::string("no error");
    };
    EXPECT_NE(message(GameData(R"(<cos type="zaprzeg" x="1" y="1"/>)")).find("EGameDataError"), std::string::npos);
    EXPECT_NE(message(GameData(R"(<cos type="zaprzeg" x="1" y="1"/>)")).find(bbx::Pl<"nie ma bohatera">()),
              std::string::npos);
    EXPECT_NE(message(GameData(R"(<cos type="bohater" x="1" y="1"/>)")).find(bbx::Pl<"nie ma zaprzęgu">()),
              std::string::npos);
    EXPECT_NE(message(GameData(kHeroAndSleigh + R"(<cos type="drzewo" x="jeden" y="1"/>)")).find("EConvertError"),
              std::string::npos);
    EXPECT_NE(message(GameData(kHeroAndSleigh + R"(<cos type="drzewo" x="1"/>)")).find("brak atrybutu y"),
              std::string::npos);
    EXPECT_NE(message(GameData(House(R"(x="1.5" y="0" w="5" h="5")"))).find("EConvertError"), std::string::npos);
    EXPECT_NE(message(GameData(House(R"(x="0" y="0" w="5000000" h="5")"))).find("EGameDataError"),
              std::string::npos);
    EXPECT_NE(message("<nothing/>").find(bbx::Pl<"nie ma bohatera">()), std::string::npos);

    TGameBench missing(GameData(kHeroAndSleigh));
    missing.Data.Remove("GameData.xml");
    EXPECT_THROW(missing.Start(), bbx::EInOutError);
}

TEST(GameCamera, KeepsTheHeroOrTheRiddenSleighInTheMiddle) {
    TGameBench bench(GameData(R"(<cos type="bohater" x="2.5" y="1"/><cos type="zaprzeg" x="-3" y="2"/>)"));
    auto game = bench.Start();
    EXPECT_EQ(game->CameraX(), 120 - 400);
    EXPECT_EQ(game->CameraY(), 48 - 300);
    game->SetRiding(true);
    std::uint32_t now = 1000;
    Play(*game, now, 10);
    EXPECT_EQ(game->CameraX(), -144 - 400);
    EXPECT_EQ(game->CameraY(), 96 - 300);
}

TEST(GameCamera, ShakesWhileAnExplosionIsOnTheView) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="choinka" id="c" x="11" y="10"/>)"));
    auto game = bench.Start();
    auto& tree = static_cast<TStaticCos&>(*game->Objects().FindById("c"));
    tree.Fuse = 5;
    std::uint32_t now = 1000;
    std::set<std::pair<int, int>> offsets;
    for (int frame = 0; frame < 40; ++frame) {
        Play(*game, now, 10);
        const int dx = game->CameraX() - (480 - 400);
        const int dy = game->CameraY() - (480 - 300);
        EXPECT_GE(dx, -5);
        EXPECT_LE(dx, 4);
        EXPECT_GE(dy, -5);
        EXPECT_LE(dy, 4);
        offsets.emplace(dx, dy);
    }
    EXPECT_GT(offsets.size(), 5u);
    Play(*game, now, 1000);  // the explosion is over
    EXPECT_EQ(game->CameraX(), 80);
    EXPECT_EQ(game->CameraY(), 180);
}

TEST(GameBands, SlideInWithTheFilmAndOutAfterIt) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="mode" index="1"/>
        <action type="timer" id="t" time="1"/></trigger>
        <trigger event="timer" id="t"><action type="mode" index="0"/></trigger>)"));
    auto game = bench.Start();
    std::uint32_t now = 10000;
    Play(*game, now, 100);
    EXPECT_FLOAT_EQ(game->Band(), 17.5f);
    Play(*game, now, 330);  // 430 ms in all: the full 75
    EXPECT_FLOAT_EQ(game->Band(), 75);
    Play(*game, now, 570);  // the film ends in this frame, after the bands moved
    ASSERT_EQ(game->Mode(), TGame::PlayMode);
    EXPECT_FLOAT_EQ(game->Band(), 75);
    Play(*game, now, 10);
    EXPECT_FLOAT_EQ(game->Band(), 73.25f);
    Play(*game, now, 500);
    EXPECT_FLOAT_EQ(game->Band(), 0);
}

TEST(GameInput, EnterSendsTheHeroToANearSleighAndLetsHimOutWhenItIsSlow) {
    TGameBench bench(GameData(R"(<cos type="bohater" x="10" y="10"/><cos type="zaprzeg" x="14" y="10"/>)"));
    auto game = bench.Start();
    Press(*game, vk::Return);  // 192 pixels: near enough
    EXPECT_EQ(game->Hero().Command, TBohater::BoardSleigh);
    EXPECT_EQ(game->Hero().Target, &game->Sleigh());
    std::uint32_t now = 10000;
    Play(*game, now, 3000);
    ASSERT_TRUE(game->IsRiding());

    TZaprzeg& sleigh = game->Sleigh();
    sleigh.Speed = 0.2f;
    Press(*game, vk::Return);  // too fast to get out
    EXPECT_TRUE(game->IsRiding());
    sleigh.Speed = -0.3f;  // reversing counts as slow
    Press(*game, vk::Return);
    EXPECT_FALSE(game->IsRiding());
    EXPECT_LT(game->Hero().X, 1000);

    game->Hero().X = sleigh.X - 200;  // exactly 200 pixels away
    game->Hero().Y = sleigh.Y;
    Press(*game, vk::Return);
    EXPECT_EQ(game->Hero().Command, TBohater::NoCommand);
}

TEST(GameInput, ArrowsDriveOnlyWhileRidingAndSpaceBrakes) {
    TGameBench bench(GameData(kHeroAndSleigh));
    auto game = bench.Start();
    game->Accelerate(0, 100);
    EXPECT_FLOAT_EQ(game->Sleigh().Speed, 0);
    game->SetRiding(true);
    std::uint32_t now = 10000;  // a sleigh is stunned until its clock passes 1500
    Play(*game, now, 20);
    game->Accelerate(0, 1000);
    EXPECT_FLOAT_EQ(game->Sleigh().Speed, 0.25f);
    game->TurnLeft(0, 100);
    EXPECT_NEAR(game->Sleigh().Angle, 0.25f, 1e-6);
    game->TurnRight(0, 40);
    EXPECT_NEAR(game->Sleigh().Angle, 0.15f, 1e-6);
    game->Brake(0, 1000);
    EXPECT_NEAR(game->Sleigh().Speed, 0.125f, 1e-6);

    const int before = bench.Sound.PlayCount("sfx/03.wav");
    Press(*game, vk::Space);  // slow: brakes without the squeal
    EXPECT_EQ(bench.Sound.PlayCount("sfx/03.wav"), before);
    TZaprzeg& sleigh = game->Sleigh();
    sleigh.Speed = 0.8f;
    TVirtualKey space = vk::Space;
    game->KeyDown(space, 0);
    EXPECT_TRUE(sleigh.Braking);
    EXPECT_EQ(bench.Sound.PlayCount("sfx/03.wav"), before + 1);
    game->KeyDown(space, 0);  // already braking: no second squeal
    EXPECT_EQ(bench.Sound.PlayCount("sfx/03.wav"), before + 1);
    game->KeyUp(space, 0);
    EXPECT_FALSE(sleigh.Braking);
}

TEST(GameInput, FilmAndTextScreenIgnoreAllButEscAndEscEndsTheGame) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="mode" index="1"/></trigger>)"));
    auto game = bench.Start();
    TVirtualKey space = vk::Space;
    game->KeyDown(space, 0);  // on foot in play mode this would brake
    EXPECT_FALSE(game->Sleigh().Braking);
    Press(*game, '2');
    EXPECT_EQ(game->Hero().Item, 0u);
    game->MouseDown(TMouseButton::Left, 0, 100, 100);
    EXPECT_EQ(game->Hero().Command, TBohater::NoCommand);
    std::uint32_t now = 1000;
    EXPECT_FALSE(game->Update(now, 10));
    Press(*game, vk::Escape);
    EXPECT_TRUE(game->Update(now + 10, 10));
}

TEST(GameInput, SpaceOnFootStillBrakesAndOnlyPlayModeReleasesIt) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="timer" id="film" time="0"/>
        </trigger><trigger event="timer" id="film"><action type="mode" index="1"/></trigger>)"));
    auto game = bench.Start();
    TVirtualKey space = vk::Space;
    game->KeyDown(space, 0);
    EXPECT_TRUE(game->Sleigh().Braking);
    std::uint32_t now = 1000;
    Play(*game, now, 10);
    ASSERT_EQ(game->Mode(), TGame::CinematicMode);
    game->KeyUp(space, 0);
    EXPECT_TRUE(game->Sleigh().Braking);
}

TEST(GameInput, DigitsChooseTheItem) {
    TGameBench bench(GameData(kHeroAndSleigh));
    auto game = bench.Start();
    Press(*game, '4');
    EXPECT_EQ(game->Hero().Item, 3u);
    Press(*game, '1');
    EXPECT_EQ(game->Hero().Item, 0u);
    Press(*game, '5');
    EXPECT_EQ(game->Hero().Item, 0u);
}

TEST(GameInput, MouseButtonsWalkUseAndStop) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="dzieciak" id="k" x="12" y="10"/>)"));
    auto game = bench.Start();
    // The camera is at (80, 180): screen (100, 50) is world (180, 230).
    game->MouseDown(TMouseButton::Left, 0, 100, 50);
    game->MouseUp(TMouseButton::Left, 0, 100, 50);
    EXPECT_EQ(game->Hero().Command, TBohater::Walk);
    EXPECT_EQ(game->Hero().TargetX, 180);
    EXPECT_EQ(game->Hero().TargetY, 230);
    EXPECT_EQ(game->Hero().Target, nullptr);

    const TCos& child = *game->Objects().FindById("k");
    const int childX = static_cast<int>(child.X) - game->CameraX();
    const int childY = static_cast<int>(child.Y) - game->CameraY();
    game->MouseDown(TMouseButton::Right, 0, childX, childY);
    game->MouseUp(TMouseButton::Right, 0, childX, childY);
    EXPECT_EQ(game->Hero().Command, TBohater::WalkAndUse);
    EXPECT_EQ(game->Hero().Target, &child);

    game->MouseDown(TMouseButton::Middle, 0, 10, 10);
    EXPECT_EQ(game->Hero().Command, TBohater::NoCommand);
    game->MouseUp(TMouseButton::Middle, 0, 10, 10);

    // No mouse commands while riding.
    game->SetRiding(true);
    game->MouseDown(TMouseButton::Left, 0, 100, 50);
    EXPECT_EQ(game->Hero().Command, TBohater::NoCommand);
}

TEST(GameInput, AHeldButtonKeepsReAimingAtThePointerUntilReleased) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="timer" id="film" time="1"/>
        </trigger><trigger event="timer" id="film"><action type="mode" index="1"/></trigger>)"));
    auto game = bench.Start();
    game->MouseDown(TMouseButton::Left, 0, 400, 200);
    std::uint32_t now = 10000;
    bench.MouseX = 500;
    int camera = game->CameraX();
    Play(*game, now, 10);
    EXPECT_EQ(game->Hero().TargetX, 500 + camera);
    // A film does not let go of a button that is already held.
    Play(*game, now, 1000);
    ASSERT_EQ(game->Mode(), TGame::CinematicMode);
    bench.MouseX = 600;
    camera = game->CameraX();
    Play(*game, now, 10);
    EXPECT_EQ(game->Hero().TargetX, 600 + camera);
    game->MouseUp(TMouseButton::Left, 0, 0, 0);
    bench.MouseX = 700;
    camera = game->CameraX();
    Play(*game, now, 10);
    EXPECT_NE(game->Hero().TargetX, 700 + camera);
}

TEST(GameLife, PlaysTheMusicWhileItLasts) {
    TGameBench bench(GameData(kHeroAndSleigh));
    {
        auto game = bench.Start();
        EXPECT_TRUE(bench.Sound.MusicPlaying);
    }
    EXPECT_FALSE(bench.Sound.MusicPlaying);
}

TEST(GameDraw, GroundTilesFollowTheCameraAlsoLeftOfZero) {
    // The hero at x = 350: the camera at -50, so the tiles start at -46.
    TGameBench bench(GameData(R"(<cos type="bohater" x="7.2916667" y="6.25"/><cos type="zaprzeg" x="40" y="40"/>)"));
    auto game = bench.Start();
    ASSERT_EQ(game->CameraX(), -50);
    ASSERT_EQ(game->CameraY(), 0);
    TSurface& screen = bench.Screen();
    game->Draw(screen);
    // Tiles are copied whole: the ground image's first column shows at -46 + 48k.
    const TSurface& tile = bench.Gfx.GroundImage;
    for (int y = 0; y < 48; ++y) {
        EXPECT_EQ(screen.Pixel(2, y), tile.Pixel(0, y));
        EXPECT_EQ(screen.Pixel(50, y), tile.Pixel(0, y));
        EXPECT_EQ(screen.Pixel(1, y), tile.Pixel(47, y));
    }
}

TEST(GameDraw, TheHeadUpDisplayShowsTheItemsAndOnlyInPlayWithoutBands) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="count" co="prezent" ile="3"/>
        <action type="timer" id="film" time="0"/></trigger>
        <trigger event="timer" id="film"><action type="mode" index="1"/></trigger>)"));
    auto game = bench.Start();
    TSurface& screen = bench.Screen();
    game->Draw(screen);
    // Item icons with their bottom centre at (24 + 48k, 600).
    for (int k = 0; k < 4; ++k) EXPECT_EQ(screen.Pixel(24 + 48 * k, 595), bench.Mapped(kIconColor)) << k;
    // The red health bar is full.
    EXPECT_EQ(bench.Gfx.RedImage.Pixel(0, 0), screen.Pixel(779, 435));

    std::uint32_t now = 1000;
    Play(*game, now, 20);  // the film begins in the first frame, its bands in the second
    TSurface& film = bench.Screen();
    game->Draw(film);
    EXPECT_NE(film.Pixel(24, 595), bench.Mapped(kIconColor));
    EXPECT_EQ(film.Pixel(400, 599), 0u);  // the band's first rows
}

TEST(GameDraw, PointerArrowsCircleTheHeroTowardsTheirTargets) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="drzewo" id="far" x="10" y="20"/>
        <cos type="drzewo" id="near" x="10.5" y="10"/>)",
                              R"(<trigger event="init"><action type="pointer" index="1" id="far"/>
        <action type="pointer" index="2" id="near"/></trigger>)"));
    auto game = bench.Start();
    EXPECT_EQ(game->PointerTarget(1), "far");
    TSurface& screen = bench.Screen();
    game->Draw(screen);
    // The hero stands at the screen's middle: arrow 1 is 50 pixels below
    // him, arrow 2 on its target 24 pixels to the right; both anchored at
    // their bottom centre 14 pixels lower.
    EXPECT_EQ(screen.Pixel(400, 300 + 50 + 14 - 2), bench.Mapped(kArrow1Color));
    EXPECT_EQ(screen.Pixel(424, 300 + 14 - 2), bench.Mapped(kArrow2Color));
}

TEST(GameDraw, NarrationShowsInTheFilmAndTheTextScreenWithoutTheWorld) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="mode" index="2"/>
        <action type="narration" index="0">dol</action><action type="narration" index="1">gora</action>
        <action type="narration" index="3">srodek</action></trigger>)"));
    auto game = bench.Start();
    std::uint32_t now = 1000;
    Play(*game, now, 10);
    TSurface& screen = bench.Screen();
    game->Draw(screen);
    const std::uint32_t white = bench.Mapped(0xFFFFFF);
    const auto whiteIn = [&](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) count += screen.Pixel(x, y) == white;
        return count;
    };
    // The stand-in font: 6 pixels a character, 12 high. "dol" is 18 wide,
    // centred on 400 from the top at 550.
    EXPECT_GT(whiteIn(391, 550, 409, 562), 0);
    EXPECT_EQ(whiteIn(0, 550, 390, 562), 0);
    EXPECT_GT(whiteIn(388, 25, 412, 37), 0);
    EXPECT_GT(whiteIn(50, 280, 86, 292), 0);  // line 3 at 130 + 150
    // No ground in the text screen.
    EXPECT_EQ(whiteIn(0, 100, 800, 270) + whiteIn(0, 300, 800, 540), 0);
    EXPECT_EQ(screen.Pixel(10, 10), 0u);
}

TEST(GameDraw, TwoArrowsTheSameWayBothShow) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="drzewo" id="a" x="14" y="10"/>
        <cos type="drzewo" id="b" x="16" y="10"/><cos type="drzewo" id="c" x="10" y="14"/>)",
                              R"(<trigger event="init"><action type="pointer" index="1" id="a"/>
        <action type="pointer" index="2" id="b"/></trigger>
        <trigger event="timer" id="same"><action type="pointer" index="2" id="a"/></trigger>
        <trigger event="timer" id="apart"><action type="pointer" index="2" id="c"/></trigger>)"));
    auto game = bench.Start();
    const auto count = [&](bbx::TColor color) {
        TSurface& screen = bench.Screen();
        game->Draw(screen);
        // Round the hero, away from the aqua figures of the head-up display.
        int n = 0;
        for (int y = 200; y < 400; ++y)
            for (int x = 300; x < 500; ++x) n += screen.Pixel(x, y) == bench.Mapped(color);
        return n;
    };
    // Apart, each arrow shows whole.
    game->FireEvent("timer", "apart");
    const int whole = count(kArrow1Color);
    ASSERT_GT(whole, 0);
    EXPECT_EQ(count(kArrow2Color), whole);
    // Both targets to the right, then both arrows at the same target:
    // neither arrow hides the other.
    game->FireEvent("init", "");
    EXPECT_EQ(count(kArrow1Color), whole);
    EXPECT_EQ(count(kArrow2Color), whole);
    game->FireEvent("timer", "same");
    EXPECT_EQ(count(kArrow1Color), whole);
    EXPECT_EQ(count(kArrow2Color), whole);
}

TEST(GameDraw, SpeechBubblesStayInsideTheView) {
    // The view's top left is world (80, 180): one parent just below its top
    // edge, one at its left edge, each with a bubble that would stick out.
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="rodzic" id="top" x="10" y="4.2"/>
        <cos type="rodzic" id="left" x="1.8" y="10"/>)",
                              R"(<trigger event="init">
        <action type="dialog" id="top">Dzien dobry wszystkim w wiosce</action>
        <action type="dialog" id="left">Wesolych Swiat</action></trigger>)"));
    auto game = bench.Start();
    const auto frame = [&] {
        TSurface& screen = bench.Screen();
        game->Draw(screen);
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) pixels.push_back(screen.Pixel(x, y));
        return pixels;
    };
    const std::vector<std::uint32_t> speaking = frame();
    for (const char* id : {"top", "left"}) dynamic_cast<TPostac&>(*game->Objects().FindById(id)).Speech.clear();
    const std::vector<std::uint32_t> silent = frame();
    // What the bubbles drew: all of it at least 2 pixels inside the view.
    int left = 800, top = 600, changed = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            if (speaking[static_cast<std::size_t>(y * 800 + x)] == silent[static_cast<std::size_t>(y * 800 + x)])
                continue;
            ++changed;
            left = std::min(left, x);
            top = std::min(top, y);
        }
    }
    EXPECT_GT(changed, 2 * 6 * 12) << "both bubbles are drawn";
    EXPECT_EQ(top, 2);
    EXPECT_EQ(left, 2);
}
