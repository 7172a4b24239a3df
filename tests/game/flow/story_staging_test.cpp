// The shipped story staged where the player looks: whenever a film's
// narration or a speech bubble begins, what it speaks of is drawn inside the
// play area (between the film's black bands in a film, the whole screen in
// play), and no named thing hides behind another. A director plays the
// shipped story to its end through the game's own controller: it stands
// Santa beside each goal, as a player who walked there would, and orders him
// as a click would; the films play by themselves. Walking the whole way is
// the story player's test.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/code_page.h"
#include "runtime/rect.h"
#include "support/game_test_support.h"

using namespace gb;
using namespace gb::test_support;

namespace {

constexpr std::uint32_t kFrameMs = 33;
constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kBand = static_cast<int>(TGame::BandHeight);

// What a film's narration speaks of: the objects that must stand in the
// picture while it shows. A reminder film (its title "Podpowiedź") names the
// goal the arrows point at, far off, and shows nothing of its own.
struct TScene {
    std::string Narration;  // line 0, or the title (line 1) for a whole kind of film
    std::vector<std::string> Named;
    bool OnTheWay = true;  // the director's way through the story shows it
};

const std::vector<TScene>& Scenes() {
    static const std::vector<TScene> scenes{
        {bbx::Pl<"Nad zatoką sypie śnieg. Nadlatują sanie Mikołaja.">(), {"sanie"}},
        {bbx::Pl<"Mikołaj wysiada z sań i idzie do Aniołka.">(), {"sanie", "aniolek"}},
        {bbx::Pl<"Worek bombek leży na śniegu. Zanieś go Dziadkowi Mrozowi.">(), {}},
        {bbx::Pl<"Bombka syczy i iskrzy... Mikołaj zapala resztę i odskakuje!">(), {"stara_choinka", "ogien1", "ogien2"}},
        {bbx::Pl<"Renifery przygnały sanie: podejdź do nich i naciśnij Enter.">(),
         {"sanie", "stara_choinka"}},
        {bbx::Pl<"Strzałki: jazda i skręt, spacja: hamulec, Enter: wysiądź.">(), {"sanie"}},
        {bbx::Pl<"Na rynku zapłonęła wielka choinka.">(), {"wielka_choinka", "burmistrz", "sanie"}},
        {bbx::Pl<"W kaplicy wybił dzwon, zaśpiewał chór aniołków.">(), {"wielka_choinka", "kaplica", "chor1", "chor2"}},
        {bbx::Pl<"Czas ruszać dalej, noc jest krótka.">(), {"sanie"}},
        {bbx::Pl<"Bałwany poturbowały Mikołaja. Aniołek go opatruje.">(), {"aniolek"}, false},
        {bbx::Pl<"Podpowiedź">(), {}, false},
    };
    return scenes;
}

// The shipped game data and models, on the null platform.
class TShippedGameBench : public TScreenBench {
public:
    TShippedGameBench()
        : TScreenBench(bbx::TPixelFormat::Xrgb8888, [](const TDataFolder& data) {
              for (const auto& [from, name] : {std::pair{GB_DATA_DIR, "GameData.xml"}, {GB_BIN_DIR, "models.bbx"}})
                  std::filesystem::copy_file(std::string(from) + name, data.File(name),
                                             std::filesystem::copy_options::overwrite_existing);
          }) {}
};

// The pixels an object draws, in screen coordinates; a sprite that runs off
// the screen is measured whole, on a canvas with a margin round the screen.
class TPictureMeter {
public:
    explicit TPictureMeter(const TScreenBench& bench) : Canvas(bench.Gfx.GreyImage.Format()) {
        Canvas.SetSize(kScreenWidth + 2 * kMarginX, kScreenHeight + 2 * kMarginY);
    }

    std::optional<TRect> Box(const TCos& object, const TGame& game) {
        Canvas.Fill(0);
        object.Draw(Canvas, game.CameraX() - kMarginX, game.CameraY() - kMarginY);
        int left = Canvas.Width(), top = Canvas.Height(), right = -1, bottom = -1;
        for (int y = 0; y < Canvas.Height(); ++y)
            for (int x = 0; x < Canvas.Width(); ++x)
                if (Canvas.Pixel(x, y) != 0) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        if (right < 0) return std::nullopt;
        return TRect{left - kMarginX, top - kMarginY, right + 1 - kMarginX, bottom + 1 - kMarginY};
    }

private:
    static constexpr int kMarginX = kScreenWidth / 2;
    static constexpr int kMarginY = kScreenHeight / 2;
    TSurface Canvas;
};

std::string Describe(const TRect& r) {
    return "(" + std::to_string(r.Left) + ", " + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) + ", " +
           std::to_string(r.Bottom) + ")";
}

int Overlap(const TRect& a, const TRect& b) {
    const TRect common = Intersect(a, b);
    return common.IsEmpty() ? 0 : common.Width() * common.Height();
}

// Watches every frame for a narration or a bubble that begins, and checks
// what it names against the play area.
class TStagingWatch {
public:
    explicit TStagingWatch(const TScreenBench& bench) : Meter(bench) {}

    void Look(TGame& game) {
        if (game.Mode() == TGame::CinematicMode) LookAtFilm(game);
        else LastNarration.clear();
        if (game.Mode() != TGame::TextScreenMode) LookAtBubbles(game);
    }

    std::vector<std::string> Faults;
    std::set<std::string> ScenesSeen;
    int Steps = 0;

private:
    void LookAtFilm(TGame& game) {
        const std::string& line = game.Narration(0);
        if (line.empty() || line == LastNarration) return;
        LastNarration = line;
        ++Steps;
        const TScene* scene = nullptr;
        for (const TScene& candidate : Scenes())
            if (candidate.Narration == line || candidate.Narration == game.Narration(1)) scene = &candidate;
        if (!scene) {
            Faults.push_back("the film \"" + bbx::Cp1250ToUtf8(line) + "\" is not in the list of scenes: say what it shows");
            return;
        }
        ScenesSeen.insert(scene->Narration);
        std::vector<std::pair<const TCos*, TRect>> shown;
        for (const std::string& id : scene->Named)
            if (const auto box = Check(game, id, "\"" + bbx::Cp1250ToUtf8(line) + "\"")) shown.emplace_back(game.Objects().FindById(id), *box);
        // Where two named pictures meet, the one in front (lower on the
        // ground) covers at most a quarter of the one behind.
        for (const auto& [a, boxA] : shown)
            for (const auto& [b, boxB] : shown) {
                if (a->Y >= b->Y) continue;
                const int area = std::max(1, boxA.Width() * boxA.Height());
                if (Overlap(boxA, boxB) * 4 > area)
                    Faults.push_back("\"" + bbx::Cp1250ToUtf8(line) + "\": " + a->Id + " " + Describe(boxA) +
                                     " is hidden behind " + b->Id + " " + Describe(boxB));
            }
    }

    void LookAtBubbles(TGame& game) {
        TLista& list = game.Objects();
        for (int i = 0; i < list.Count(TLista::ObjectLayer); ++i) {
            const auto* character = dynamic_cast<const TPostac*>(&list.Item(TLista::ObjectLayer, i));
            if (!character || character->Id.empty()) continue;
            std::string& last = LastSpeech[character->Id];
            if (character->Speech.empty() || character->Speech == last) {
                last = character->Speech;
                continue;
            }
            last = character->Speech;
            ++Steps;
            Check(game, character->Id, "the bubble \"" + bbx::Cp1250ToUtf8(character->Speech) + "\"");
        }
    }

    // The named object's picture inside the play area; its box when it is
    // drawn at all.
    std::optional<TRect> Check(TGame& game, const std::string& id, const std::string& step) {
        const TCos* object = game.Objects().FindById(id);
        if (!object) {
            Faults.push_back(step + ": " + id + " is not on the map");
            return std::nullopt;
        }
        const auto box = Meter.Box(*object, game);
        const int top = game.Mode() == TGame::CinematicMode ? kBand : 0;
        const int bottom = game.Mode() == TGame::CinematicMode ? kScreenHeight - kBand : kScreenHeight;
        if (!box) Faults.push_back(step + ": " + id + " draws nothing");
        else if (box->Left < 0 || box->Top < top || box->Right > kScreenWidth || box->Bottom > bottom)
            Faults.push_back(step + ": " + id + " at " + Describe(*box) + " leaves the play area (0, " +
                             std::to_string(top) + ")-(" + std::to_string(kScreenWidth) + ", " + std::to_string(bottom) +
                             ")");
        return box;
    }

    TPictureMeter Meter;
    std::string LastNarration;
    std::map<std::string, std::string> LastSpeech;
};

class TDirector {
public:
    TDirector() : Game(std::make_unique<TGame>(Bench.Services)), Watch(Bench) { Watch.Look(*Game); }

    void Frame() {
        Now += kFrameMs;
        Game->Update(Now, kFrameMs);
        Watch.Look(*Game);
    }

    void Until(const std::string& what, const std::function<bool()>& done, std::uint32_t limitMs = 30000) {
        for (std::uint32_t waited = 0; !done(); waited += kFrameMs) {
            if (waited > limitMs) throw std::runtime_error("gave up waiting for " + what + Where());
            Frame();
        }
    }

    TCos& Find(const std::string& id) {
        TCos* object = Game->Objects().FindById(id);
        if (!object) throw std::runtime_error(id + " is not on the map");
        return *object;
    }

    // Santa on the first free spot beside the object, facing it.
    void StandBeside(const TCos& object) {
        TBohater& hero = Game->Hero();
        const float reach = static_cast<float>(object.Radius + hero.Radius + 2);
        for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const float x = object.X + static_cast<float>(dx) * reach;
            const float y = object.Y + static_cast<float>(dy) * reach;
            const TCos* there = Game->Objects().HitTest(TLista::ObjectLayer, hero.Radius, &hero, x, y);
            if (there && there != &object) continue;
            hero.X = x;
            hero.Y = y;
            return;
        }
        throw std::runtime_error("no room beside " + object.Id);
    }

    // Walks up to the object and uses the item in hand on it until `done`.
    void UseOn(const std::string& id, const std::function<bool()>& done, std::uint32_t limitMs = 30000) {
        std::uint32_t nextOrder = 0;
        for (std::uint32_t waited = 0; !done(); waited += kFrameMs) {
            if (waited > limitMs) throw std::runtime_error("could not use the item on " + id + Where());
            if (waited >= nextOrder && Game->Mode() == TGame::PlayMode) {
                TCos& target = Find(id);
                StandBeside(target);
                Game->Hero().SetCommand(TBohater::WalkAndUse, static_cast<std::int32_t>(target.X),
                                        static_cast<std::int32_t>(target.Y), &target);
                nextOrder = waited + 600;
            }
            Frame();
        }
    }

    // Stands beside a character until the arrow `pointer` points at `next`.
    void Visit(const std::string& id, const std::string& next) {
        StandBeside(Find(id));
        Until(id + " to send Santa to " + next, [&] { return Game->PointerTarget(1) == next; });
    }

    void Key(TVirtualKey key) { Press(*Game, key); }

    std::string Where() const {
        const TBohater& hero = Game->Hero();
        return "; etap " + Game->Variables().GetValue("etap") + ", mode " + std::to_string(Game->Mode()) +
               ", Santa at (" + std::to_string(hero.X / 48) + ", " + std::to_string(hero.Y / 48) + ") command " +
               std::to_string(hero.Command) + (hero.Target ? " after " + hero.Target->Id : std::string()) +
               "; timers " + std::to_string(Game->Timers().Count()) + " rany " + Game->Variables().GetValue("rany");
    }

    TShippedGameBench Bench;
    std::unique_ptr<TGame> Game;
    TStagingWatch Watch;
    std::uint32_t Now = 5000;
};

bool Gifted(TDirector& director, const std::string& id) {
    const auto* child = dynamic_cast<const TPostac*>(director.Game->Objects().FindById(id));
    return child && child->Gifted;
}

}  // namespace

TEST(StoryStaging, EveryFilmAndBubbleShowsWhatItSpeaksOf) {
    TDirector director;
    TGame& game = *director.Game;
    director.Until("the opening film", [&] { return game.Mode() == TGame::PlayMode; }, 90000);

    for (const auto& [child, key] : std::vector<std::pair<std::string, TVirtualKey>>{
             {"ola", '2'}, {"kuba", '2'}, {"zosia", '2'}, {"bartek", '3'}, {"franek", '3'}}) {
        director.Key(key);
        director.UseOn(child, [&] { return Gifted(director, child); });
    }
    director.Visit("aniolek", "dziadek");
    director.Visit("dziadek", "mrozik");
    director.Key('1');
    director.UseOn("mrozik", [&] { return game.Objects().FindById("mrozik") == nullptr; });
    director.Until("the end of Mrozik's film", [&] { return game.Mode() == TGame::PlayMode; });
    director.Visit("dziadek", "stara_choinka");
    director.Key('4');
    director.UseOn("stara_choinka", [&] { return game.Mode() == TGame::CinematicMode; });
    director.Until("the fireworks", [&] { return game.Mode() == TGame::PlayMode; });

    director.StandBeside(director.Find("sanie"));
    director.Key(vk::Return);
    director.Until("Santa in the sleigh", [&] { return game.IsRiding(); });
    director.Until("the ride's film", [&] { return game.Mode() == TGame::PlayMode; });
    // Driven up to the big tree: the sleigh stops beside it and Santa gets out.
    const TCos& tree = director.Find("wielka_choinka");
    game.Sleigh().X = tree.X + 2 * 48;
    game.Sleigh().Y = tree.Y;
    game.Sleigh().Speed = 0;
    director.Key(vk::Return);
    ASSERT_FALSE(game.IsRiding());
    director.Until("the last text screen", [&] { return game.Mode() == TGame::TextScreenMode; }, 90000);

    for (const std::string& fault : director.Watch.Faults) ADD_FAILURE() << fault;
    for (const TScene& scene : Scenes())
        if (scene.OnTheWay) {
            EXPECT_TRUE(director.Watch.ScenesSeen.contains(scene.Narration))
                << "the film \"" << bbx::Cp1250ToUtf8(scene.Narration) << "\" never showed";
        }
    EXPECT_GT(director.Watch.Steps, 20);
}

// Gifts in any order: the arrows stay on the children still waiting (1 the
// good ones, 2 the naughty ones) and go to the angel only when none waits.
TEST(StoryGuidance, ArrowsFollowTheChildrenStillWaitingWhateverTheOrder) {
    TDirector director;
    TGame& game = *director.Game;
    director.Until("the opening film", [&] { return game.Mode() == TGame::PlayMode; }, 90000);
    EXPECT_EQ(game.PointerTarget(1), "ola");
    EXPECT_EQ(game.PointerTarget(2), "bartek");

    struct TStep {
        std::string Child;
        TVirtualKey Key;
        std::string Arrow1, Arrow2;
    };
    for (const TStep& step : std::vector<TStep>{{"zosia", '2', "ola", "bartek"},
                                                {"franek", '3', "ola", "bartek"},
                                                {"ola", '2', "kuba", "bartek"},
                                                {"kuba", '2', "", "bartek"},
                                                {"bartek", '3', "aniolek", ""}}) {
        director.Key(step.Key);
        director.UseOn(step.Child, [&] { return Gifted(director, step.Child); });
        director.Until("the arrows after " + step.Child, [&] {
            return game.PointerTarget(1) == step.Arrow1 && game.PointerTarget(2) == step.Arrow2;
        }, 2000);
    }
}

// A player who does nothing is reminded, in a short film, of the first child
// waiting, and play comes back by itself; the reminder comes again later.
TEST(StoryGuidance, AReminderFilmAfterAWhileWithoutProgress) {
    TDirector director;
    TGame& game = *director.Game;
    director.Until("the opening film", [&] { return game.Mode() == TGame::PlayMode; }, 90000);
    for (int reminder = 0; reminder < 2; ++reminder) {
        director.Until("a reminder", [&] { return game.Mode() == TGame::CinematicMode; }, 50000);
        EXPECT_EQ(game.Narration(1), bbx::Pl<"Podpowiedź">());
        EXPECT_NE(game.Narration(0).find("Ola"), std::string::npos) << bbx::Cp1250ToUtf8(game.Narration(0));
        EXPECT_EQ(game.PointerTarget(1), "ola");
        director.Until("play again", [&] { return game.Mode() == TGame::PlayMode; }, 6000);
        EXPECT_TRUE(game.Narration(0).empty());
    }
}

// A snowman at Santa for six seconds: the angel patches him up by the
// landing place, says so, and the snowmen leave him be for a while.
TEST(StoryGuidance, SnowmensBlowsTakeSantaToTheAngel) {
    TDirector director;
    TGame& game = *director.Game;
    director.Until("the opening film", [&] { return game.Mode() == TGame::PlayMode; }, 90000);
    director.StandBeside(director.Find("balwan1"));
    director.Until("the angel's help", [&] { return game.Mode() == TGame::CinematicMode; }, 10000);
    EXPECT_EQ(game.Narration(0), bbx::Pl<"Bałwany poturbowały Mikołaja. Aniołek go opatruje.">());
    EXPECT_FLOAT_EQ(game.Hero().X, 20 * 48);
    EXPECT_FLOAT_EQ(game.Hero().Y, 21 * 48);
    EXPECT_NE(static_cast<const TPostac&>(director.Find("aniolek")).Speech.find(bbx::Pl<"bałwany">()), std::string::npos);
    director.Until("play again", [&] { return game.Mode() == TGame::PlayMode; }, 7000);
    // Back at the snowman at once: no second film within the calm.
    director.StandBeside(director.Find("balwan1"));
    for (int frame = 0; frame < 10000 / 33; ++frame) director.Frame();
    EXPECT_EQ(game.Mode(), TGame::PlayMode);
}
