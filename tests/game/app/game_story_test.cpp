// The shipped story played from the intro to its last text screen through
// the main window, with the shipped data, a fake clock and scripted input:
// mouse clicks, keys and held arrows, the way a player who knows the story
// plays it. The player looks at the world (where things are, the arrows, the
// bubbles, the film bands) to aim; it never changes the game's state itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <ostream>
#include <set>
#include <vector>

#include "app/frm_main.h"
#include "app/replay_recorder.h"
#include "core/code_page.h"
#include "core/random.h"
#include "flow/menu.h"
#include "runtime/platform/null/manual_system_services.h"
#include "runtime/platform/null/null_presenter.h"
#include "support/game_test_support.h"

using namespace gb;
using namespace gb::test_support;

namespace {

constexpr std::uint32_t kFrameMs = 33;
constexpr std::uint32_t kSeed = 20241224;
constexpr int kCell = 48;

struct TCell {
    int Column = 0;
    int Row = 0;
    bool operator<(const TCell& other) const { return std::tie(Column, Row) < std::tie(other.Column, other.Row); }
    bool operator==(const TCell&) const = default;
};

// Where a walking hero cannot stand: walls, scenery, the parked sleigh and
// the characters who never move.
bool Blocks(const TCos& object) {
    if (dynamic_cast<const TMurek*>(&object) || dynamic_cast<const TStaticCos*>(&object) ||
        dynamic_cast<const TZaprzeg*>(&object))
        return true;
    const auto* character = dynamic_cast<const TPostac*>(&object);
    return character && (character->Kind == 0 || character->Kind >= 3);
}

// A route over the map's cells for the hero, round what blocks him.
class TRoutePlanner {
public:
    // `goal` (which may be none) does not count as in the way.
    TRoutePlanner(TGame& game, const TCos* goal) {
        TLista& list = game.Objects();
        for (int i = 0; i < list.Count(TLista::ObjectLayer); ++i) {
            const TCos* object = &list.Item(TLista::ObjectLayer, i);
            if (object == &game.Hero() || object == goal || !Blocks(*object)) continue;
            Blockers.push_back(object);
        }
    }

    // Whether the hero, centred there, would touch a blocker.
    bool Touches(double x, double y) const {
        constexpr double kHeroReach = 11 + 3;
        return std::any_of(Blockers.begin(), Blockers.end(), [&](const TCos* b) {
            return std::abs(b->X - x) < b->Radius + kHeroReach && std::abs(b->Y - y) < b->Radius + kHeroReach;
        });
    }

    // Whether the hero can walk straight from the first point until he is
    // `shortBy` pixels from the second.
    bool ClearLine(double x0, double y0, double x1, double y1, double shortBy = 0) const {
        const double length = std::hypot(x1 - x0, y1 - y0);
        if (length <= shortBy) return true;
        const double end = (length - shortBy) / length;
        const int steps = std::max(1, static_cast<int>(length / 6));
        for (int i = 1; i <= steps; ++i) {
            const double t = end * i / steps;
            if (Touches(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t)) return false;
        }
        return true;
    }

    // Cells from the hero's to the first one within `near` pixels of the
    // goal with nothing in between; empty when there is no way or the hero
    // is there already.
    std::vector<TCell> Route(double fromX, double fromY, double goalX, double goalY, double near,
                             double goalRadius) const {
        const double reach = goalRadius + 11;
        const TCell start{static_cast<int>(std::lround(fromX / kCell)), static_cast<int>(std::lround(fromY / kCell))};
        std::map<TCell, TCell> cameFrom{{start, start}};
        std::deque<TCell> queue{start};
        const int limit = 200000;
        int visited = 0;
        while (!queue.empty() && ++visited < limit) {
            const TCell cell = queue.front();
            queue.pop_front();
            const double x = cell.Column * kCell;
            const double y = cell.Row * kCell;
            if (cell == start ? std::hypot(fromX - goalX, fromY - goalY) <= near && ClearLine(fromX, fromY, goalX, goalY, reach)
                              : std::hypot(x - goalX, y - goalY) <= near && ClearLine(x, y, goalX, goalY, reach)) {
                std::vector<TCell> route;
                for (TCell at = cell; !(at == start); at = cameFrom[at]) route.push_back(at);
                std::reverse(route.begin(), route.end());
                return route;
            }
            for (int dc = -1; dc <= 1; ++dc)
                for (int dr = -1; dr <= 1; ++dr) {
                    const TCell next{cell.Column + dc, cell.Row + dr};
                    if ((dc == 0 && dr == 0) || cameFrom.contains(next) || Free(next) == false) continue;
                    if (dc && dr && (!Free({cell.Column + dc, cell.Row}) || !Free({cell.Column, cell.Row + dr})))
                        continue;
                    if (std::abs(next.Column * kCell - goalX) > 6000 || std::abs(next.Row * kCell - goalY) > 6000)
                        continue;
                    cameFrom[next] = cell;
                    queue.push_back(next);
                }
        }
        return {};
    }

private:
    bool Free(const TCell& cell) const {
        auto [known, inserted] = FreeCells.try_emplace(cell, false);
        if (inserted) known->second = !Touches(cell.Column * kCell, cell.Row * kCell);
        return known->second;
    }

    std::vector<const TCos*> Blockers;
    mutable std::map<TCell, bool> FreeCells;
};

class TStoryPlayer {
public:
    // Loading in steps, as the game does, so that a recording plays back in it.
    TStoryPlayer()
        : Recorder(RecorderFromEnvironment(System)),
          Form(Presenter, Text, Sound, Services(), GB_BIN_DIR,
               [](const TScreenServices& services) -> std::unique_ptr<TGameScreen> {
                   return std::make_unique<TGame>(services, TGame::TLoading::InSteps);
               }) {
        bbx::RandSeed(kSeed);
        if (Recorder) Recorder->Attach(Form);
        Form.OnClose = [] {};
        Form.FormCreate();
    }

    // With GB_RECORD_STORY=FILE the play is written as a replay file
    // (tools/scripts/record-story.sh makes the shipped one so).
    static std::unique_ptr<TReplayRecorder> RecorderFromEnvironment(TSystemServices& system) {
        const char* path = std::getenv("GB_RECORD_STORY");
        if (!path || !*path) return nullptr;
        return std::make_unique<TReplayRecorder>(system, path, kSeed, GB_BIN_DIR);
    }
    TSystemServices& Services() { return Recorder ? static_cast<TSystemServices&>(*Recorder) : System; }
    // Where the player's input goes: through the recorder when there is one.
    TWindowEvents& Input() { return Recorder ? static_cast<TWindowEvents&>(*Recorder) : Form; }

    TGame* Game() { return dynamic_cast<TGame*>(Form.Game()); }
    TGame& Playing() {
        TGame* game = Game();
        if (!game) throw std::runtime_error("the game is not running");
        return *game;
    }

    void Frame() {
        System.Now += kFrameMs;
        Played += kFrameMs;
        Form.DXTimer().Idle(System.Now);
        if (!Form.ErrorText().empty()) throw std::runtime_error(bbx::Cp1250ToUtf8(Form.ErrorText()));
        if (TGame* game = Game(); game && !game->IsLoading()) {
            const std::string stage = game->Variables().GetValue("etap");
            if (Stages.empty() || Stages.back() != stage) Stages.push_back(stage);
        }
    }

    // Frames until `done`, at most `limitMs` of game time.
    void Until(const std::string& what, const std::function<bool()>& done, std::uint32_t limitMs) {
        for (std::uint32_t waited = 0; !done(); waited += kFrameMs) {
            if (waited > limitMs) throw std::runtime_error("gave up waiting: " + what + Where());
            Frame();
        }
    }

    void Key(TVirtualKey key) {
        Input().KeyDown(key, 0);
        Input().KeyUp(key, 0);
    }
    void Click(TMouseButton button, int x, int y) {
        Input().MouseMove(0, x, y);
        Input().MouseDown(button, 0, x, y);
        Input().MouseUp(button, 0, x, y);
    }
    void ClickWorld(TMouseButton button, double x, double y) {
        TGame& game = Playing();
        Click(button, static_cast<int>(std::lround(x)) - game.CameraX(), static_cast<int>(std::lround(y)) - game.CameraY());
    }
    // How far above its footprint's centre a right click picks the object,
    // as a player clicks on what he sees of it: a figure in front may hide
    // the centre.
    static double AimAbove(TGame& game, const TCos& target) {
        for (int up = 0; up <= 40; up += 4) {
            const int x = static_cast<int>(std::lround(target.X)) - game.CameraX();
            const int y = static_cast<int>(std::lround(target.Y)) - up - game.CameraY();
            if (game.Objects().PickAt(TLista::ObjectLayer, x, y, game.CameraX(), game.CameraY(), &game.Hero()) ==
                &target)
                return up;
        }
        return 0;
    }
    static bool OnScreen(TGame& game, double x, double y) {
        const double sx = x - game.CameraX();
        const double sy = y - game.CameraY();
        return sx >= 10 && sx < 790 && sy >= 10 && sy < 590;
    }

    TCos& Find(const std::string& id) {
        TCos* object = Playing().Objects().FindById(id);
        if (!object) throw std::runtime_error("no " + id + " on the map");
        return *object;
    }

    // Walks the hero with left clicks until he is within `near` pixels of
    // the object, or `done` holds.
    void WalkTo(const std::string& id, double near, const std::function<bool()>& done, std::uint32_t limitMs) {
        std::uint32_t nextOrder = 0;
        std::uint32_t waited = 0;
        while (!done()) {
            if (waited > limitMs) throw std::runtime_error("could not reach " + id + Where());
            TGame& game = Playing();
            const TCos* goal = game.Objects().FindById(id);
            if (!goal) throw std::runtime_error(id + " is gone");
            const TBohater& hero = game.Hero();
            if (std::hypot(hero.X - goal->X, hero.Y - goal->Y) <= near && game.Mode() == TGame::PlayMode) return;
            if (waited >= nextOrder && game.Mode() == TGame::PlayMode) {
                OrderTowards(game, *goal, near);
                nextOrder = waited + 500;
            }
            Frame();
            waited += kFrameMs;
        }
    }

    // Uses the item in hand on the object (a right click on it) until `done`.
    void UseOn(const std::string& id, const std::function<bool()>& done, std::uint32_t limitMs) {
        std::uint32_t waited = 0;
        std::uint32_t nextOrder = 0;
        LastTarget = id;
        while (!done()) {
            if (waited > limitMs) throw std::runtime_error("could not use the item on " + id + Where());
            TGame& game = Playing();
            const TCos* target = game.Objects().FindById(id);
            if (target && waited >= nextOrder && game.Mode() == TGame::PlayMode) {
                const TRoutePlanner planner(game, target);
                const TBohater& hero = game.Hero();
                const bool close = std::hypot(hero.X - target->X, hero.Y - target->Y) < 150;
                if (close && OnScreen(game, target->X, target->Y) &&
                    planner.ClearLine(hero.X, hero.Y, target->X, target->Y, target->Radius + 11)) {
                    ClickWorld(TMouseButton::Right, target->X, target->Y - AimAbove(game, *target));
                    nextOrder = waited + 700;
                } else {
                    OrderTowards(game, *target, 100);
                    nextOrder = waited + 500;
                }
            }
            Frame();
            waited += kFrameMs;
        }
    }

    // Drives the sleigh through the points (in cells) with the held arrows,
    // then brakes to a stop.
    void Drive(const std::vector<std::pair<double, double>>& points, std::uint32_t limitMs) {
        std::uint32_t waited = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const double tx = points[i].first * kCell;
            const double ty = points[i].second * kCell;
            const bool last = i + 1 == points.size();
            while (true) {
                if (waited > limitMs) throw std::runtime_error("the drive took too long");
                const TZaprzeg& sleigh = Playing().Sleigh();
                if (std::hypot(sleigh.X - tx, sleigh.Y - ty) < (last ? 40 : 70)) break;
                const double wanted = std::atan2(-(ty - sleigh.Y), tx - sleigh.X);
                double turn = std::remainder(wanted - sleigh.Angle, 2 * std::numbers::pi);
                System.Held.clear();
                if (turn > 0.03) System.Held.insert(vk::Left);
                if (turn < -0.03) System.Held.insert(vk::Right);
                const double cruise = last ? 0.15 : 0.45;
                if (sleigh.Speed < cruise && std::abs(turn) < 0.6) System.Held.insert(vk::Up);
                if (sleigh.Speed > cruise + 0.1) System.Held.insert(vk::Down);
                Frame();
                waited += kFrameMs;
            }
        }
        System.Held.clear();
        TVirtualKey space = vk::Space;
        Input().KeyDown(space, 0);
        Until("the sleigh to stop", [this] { return std::abs(Playing().Sleigh().Speed) < 0.02; }, 10000);
        Input().KeyUp(space, 0);
    }

    std::string Where() {
        TGame& game = Playing();
        std::string stages;
        for (const auto& stage : Stages) stages += " " + stage;
        const TCos* target = game.Objects().FindById(LastTarget);
        return " after " + std::to_string(Played / 1000) + " s; stages" + stages + "; hero at (" +
               std::to_string(game.Hero().X / kCell) + ", " + std::to_string(game.Hero().Y / kCell) + ") command " +
               std::to_string(game.Hero().Command) + " to (" + std::to_string(game.Hero().TargetX / kCell) + ", " +
               std::to_string(game.Hero().TargetY / kCell) + ")" + (game.Hero().Target ? " with a target" : "") +
               (target ? "; target at (" + std::to_string(target->X / kCell) + ", " + std::to_string(target->Y / kCell) + ")" : "");
    }

    TNullPresenter Presenter;
    TBoxTextRenderer Text{6, 12};
    TRecordingSoundLayer Sound;
    TManualSystemServices System{5000};
    std::unique_ptr<TReplayRecorder> Recorder;
    TfrmMain Form;
    std::vector<std::string> Stages;
    std::uint32_t Played = 0;
    std::string LastTarget;

private:
    double LastOrderX = 0;
    double LastOrderY = 0;
    int Aside = 0;

    // A left click on the farthest cell of the route that the hero can walk
    // to in a straight line and that is on the screen.
    void OrderTowards(TGame& game, const TCos& goal, double near) {
        const double goalX = goal.X;
        const double goalY = goal.Y;
        const TBohater& hero = game.Hero();
        // Held up (a snowman pushing back, say) since the last order: a
        // step aside first.
        if (std::hypot(hero.X - LastOrderX, hero.Y - LastOrderY) < 5) {
            Aside = (Aside + 1) % 3;  // to the left, to the right, back
            const double angle = std::atan2(goalY - hero.Y, goalX - hero.X) + (Aside + 1) * std::numbers::pi / 2;
            LastOrderX = hero.X + 1;
            ClickWorld(TMouseButton::Left, hero.X + 90 * std::cos(angle), hero.Y + 90 * std::sin(angle));
            return;
        }
        LastOrderX = hero.X;
        LastOrderY = hero.Y;
        const TRoutePlanner planner(game, &goal);
        const std::vector<TCell> route = planner.Route(hero.X, hero.Y, goalX, goalY, near, goal.Radius);
        std::optional<std::pair<double, double>> aim;
        for (std::size_t step = 0; step < route.size() && step < 8; ++step) {
            const double x = route[step].Column * kCell;
            const double y = route[step].Row * kCell;
            if (!OnScreen(game, x, y) || !planner.ClearLine(hero.X, hero.Y, x, y)) break;
            aim = {x, y};
        }
        if (!aim && !route.empty()) aim = {route.front().Column * kCell, route.front().Row * kCell};
        if (!aim) aim = {hero.X + std::clamp(goalX - hero.X, -300.0, 300.0), hero.Y + std::clamp(goalY - hero.Y, -250.0, 250.0)};
        ClickWorld(TMouseButton::Left, aim->first, aim->second);
    }
};

bool Gifted(TStoryPlayer& player, const std::string& id) {
    const auto* child = dynamic_cast<const TPostac*>(player.Playing().Objects().FindById(id));
    return child && child->Gifted;
}

// The gifts a player hands out, in order, and the ending they earn: line 2
// of the last text screen.
struct TPlay {
    std::string Name;
    std::vector<std::pair<std::string, TVirtualKey>> Gifts;
    int WrongGifts = 0;
    std::string Ending;
};

// Test listings name the play rather than dump its bytes.
void PrintTo(const TPlay& play, std::ostream* out) { *out << play.Name; }

const TPlay kEveryChildItsDue{"EveryChildItsDue",
                              {{"ola", '2'}, {"kuba", '2'}, {"zosia", '2'}, {"bartek", '3'}, {"franek", '3'}},
                              0,
                              bbx::Pl<"Każde dziecko z Glimmer Bay dostało to, na co zasłużyło.">()};

void PlayTheStory(const TPlay& play) {
    TStoryPlayer player;
    player.Frame();
    player.Key(vk::Space);  // the intro gives way to the menu
    ASSERT_NE(player.Form.Menu(), nullptr);
    player.Click(TMouseButton::Left, 625, 235);  // "Nowa gra"
    player.Frame();
    player.Frame();  // the map is built
    ASSERT_NE(player.Game(), nullptr) << bbx::Cp1250ToUtf8(player.Form.ErrorText());
    TGame& game = player.Playing();

    // The opening film: the sleigh lands, Santa walks to the angel and she
    // talks; play begins with the last of her words.
    EXPECT_EQ(game.Mode(), TGame::CinematicMode);
    EXPECT_TRUE(game.IsRiding());
    player.Until("the opening film", [&] { return game.Mode() == TGame::PlayMode; }, 90000);
    EXPECT_EQ(game.Hero().Presents, 3);
    EXPECT_EQ(game.Hero().Rods, 2);
    EXPECT_EQ(game.PointerTarget(1), "ola");

    // Presents for the good children, rods for the naughty ones.
    for (const auto& gift : play.Gifts) {
        const std::string& child = gift.first;
        player.Key(gift.second);
        player.UseOn(child, [&] { return Gifted(player, child); }, 240000);
    }
    // The angel slips a new one into the sack for every wrong gift.
    EXPECT_EQ(game.Hero().Presents + game.Hero().Rods, play.WrongGifts);

    // Back to the angel, who sends Santa to grandfather frost, who sends him
    // to Mrozik.
    player.WalkTo("aniolek", 120, [&] { return game.PointerTarget(1) == "dziadek"; }, 120000);
    player.Until("the angel's praise", [&] { return game.PointerTarget(1) == "dziadek"; }, 5000);
    player.WalkTo("dziadek", 120, [&] { return game.PointerTarget(1) == "mrozik"; }, 120000);
    player.Until("grandfather frost's plea", [&] { return game.PointerTarget(1) == "mrozik"; }, 5000);
    player.Key('1');
    player.UseOn("mrozik", [&] { return game.Objects().FindById("mrozik") == nullptr; }, 120000);

    // The baubles, and the old Christmas tree on the island goes up.
    player.WalkTo("dziadek", 120, [&] { return game.PointerTarget(1) == "stara_choinka"; }, 120000);
    player.Until("the baubles", [&] { return game.PointerTarget(1) == "stara_choinka"; }, 5000);
    EXPECT_EQ(game.Hero().Baubles, 2);
    player.Key('4');
    player.UseOn("stara_choinka", [&] { return game.Mode() == TGame::CinematicMode; }, 120000);
    player.Until("the firework", [&] { return game.Mode() == TGame::PlayMode; }, 20000);
    EXPECT_EQ(static_cast<const TStaticCos&>(player.Find("stara_choinka")).Kind, 2u);
    EXPECT_EQ(game.PointerTarget(1), "sanie");
    EXPECT_EQ(game.PointerTarget(2), "wielka_choinka");

    // Into the sleigh and across the ice to the big Christmas tree.
    player.WalkTo("sanie", 150, [] { return false; }, 60000);
    player.Key(vk::Return);
    player.Until("getting into the sleigh", [&] { return game.IsRiding(); }, 10000);
    player.Drive({{64, 14}, {65.5, 4}, {65.5, -6}, {63, -12}, {63, -18}, {63.5, -26}, {64.5, -34}}, 120000);
    player.Key(vk::Return);
    ASSERT_FALSE(game.IsRiding());
    player.WalkTo("wielka_choinka", 100, [&] { return game.Mode() == TGame::CinematicMode; }, 60000);

    // The ending plays by itself and ends on the text screen.
    player.Until("the final text screen", [&] { return game.Mode() == TGame::TextScreenMode; }, 60000);
    EXPECT_EQ(game.Narration(1), bbx::Pl<"Wesołych Świąt!">());
    EXPECT_EQ(game.Narration(2), play.Ending);
    EXPECT_FALSE(game.Narration(0).empty());
    EXPECT_TRUE(game.IsRiding());
    EXPECT_GE(player.Sound.Beeps, 1);  // the bell
    if (play.WrongGifts == 0) {
        EXPECT_GT(game.Hero().Goodness, 0);
    }

    const std::vector<std::string> stages{"intro",  "powitanie",     "instrukcja", "dary",  "mroz",
                                          "mrozik", "bombki_odbior", "bombki",     "wybuch", "sanie",
                                          "lot",    "final",         "odlot",      "koniec"};
    EXPECT_EQ(player.Stages, stages);
    // About ten minutes for a player who knows the way; a fresh one takes longer.
    EXPECT_LT(player.Played, 10u * 60 * 1000) << player.Played / 1000 << " s";
    std::cout << "played " << player.Played / 1000 << " s of game time\n";

    player.Key(vk::Escape);
    player.Frame();
    EXPECT_EQ(player.Game(), nullptr);
    EXPECT_NE(player.Form.Menu(), nullptr);
}

}  // namespace

TEST(ShippedStory, PlaysFromNewGameToTheFinalTextScreen) { PlayTheStory(kEveryChildItsDue); }

// The other endings: one wrong gift, and two.
class ShippedStoryEndings : public ::testing::TestWithParam<TPlay> {};

TEST_P(ShippedStoryEndings, WeighTheGifts) { PlayTheStory(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    WrongGifts, ShippedStoryEndings,
    ::testing::Values(TPlay{"APresentForBartek",
                            {{"ola", '2'}, {"kuba", '2'}, {"bartek", '2'}, {"zosia", '2'}, {"franek", '3'}},
                            1,
                            bbx::Pl<"Prawie wszystko poszło dobrze, ale raz Mikołaj się pomylił.">()},
                      TPlay{"ARodForOlaAndAPresentForBartek",
                            {{"ola", '3'}, {"kuba", '2'}, {"zosia", '2'}, {"bartek", '2'}, {"franek", '3'}},
                            2,
                            bbx::Pl<"Grzeczne dzieci płaczą, a łobuziaki się cieszą.">()}),
    [](const ::testing::TestParamInfo<TPlay>& test) { return test.param.Name; });
