// Skipping a film: Space or Enter in cinematic mode runs the rest of the
// film at once, with the same actions in the same order and the same state
// at its end as a player who waited, on a fake clock.

#include <gtest/gtest.h>

#include "core/random.h"
#include "support/game_test_support.h"

using namespace gb;
using namespace gb::test_support;

namespace {

constexpr std::uint32_t kStep = TGame::FilmSkipStep;

// A film: the sleigh drives in, the hero gets out and walks, an angel
// speaks, and play begins when her bubble runs out. Every step is
// conditioned on the one before it ("etap"), so that the end state shows
// that they ran in their order.
const std::string kFilmMap = kHeroAndSleigh + R"(<cos type="aniolek" id="aniolek" x="14" y="14"/>)";
const std::string kFilm = R"(
  <trigger event="init">
    <action type="set" name="etap" value="1"/>
    <action type="mode" index="1"/>
    <action type="narration" index="1">Film</action>
    <action type="ride" toggle="on"/>
    <action type="zaprzeg" x="20" y="14" v="20" alfa="180"/>
    <action type="timer" id="t1" time="2"/>
  </trigger>
  <trigger event="timer" id="t1" name="etap" value="1">
    <action type="set" name="etap" value="2"/>
    <action type="zaprzeg"/>
    <action type="ride" toggle="off"/>
  </trigger>
  <trigger event="getout" name="etap" value="2">
    <action type="set" name="etap" value="3"/>
    <action type="command" x="15" y="16" cmd="1"/>
    <action type="count" co="prezent" ile="2"/>
    <action type="timer" id="t2" time="3"/>
  </trigger>
  <trigger event="timer" id="t2" name="etap" value="3">
    <action type="set" name="etap" value="4"/>
    <action type="dialog" id="aniolek">Witaj!</action>
  </trigger>
  <trigger event="dialogend" id="aniolek" name="etap" value="4">
    <action type="set" name="etap" value="graj"/>
    <action type="count" co="prezent" ile="1"/>
    <action type="mode" index="0"/>
    <action type="narration" index="1"/>
    <action type="pointer" index="1" id="aniolek"/>
  </trigger>
)";

struct TFilmGame {
    explicit TFilmGame(const std::string& triggers = kFilm) : Bench(GameData(kFilmMap, triggers)) {
        // Both games of a comparison draw the same random numbers.
        bbx::RandSeed(1234);
        Game = Bench.Start();
    }
    void Frame() {
        Now += kStep;
        Game->Update(Now, kStep);
    }
    void Key(TVirtualKey key) {
        Game->KeyDown(key, 0);
        Game->KeyUp(key, 0);
    }
    TGameBench Bench;
    std::unique_ptr<TGame> Game;
    std::uint32_t Now = 1000;
};

// Everything the film changes, compared between two games.
void ExpectSameState(TGame& waited, TGame& skipped) {
    EXPECT_EQ(waited.Mode(), skipped.Mode());
    EXPECT_EQ(waited.Variables().GetValue("etap"), skipped.Variables().GetValue("etap"));
    EXPECT_EQ(waited.Hero().Presents, skipped.Hero().Presents);
    EXPECT_EQ(waited.PointerTarget(1), skipped.PointerTarget(1));
    for (int line = 0; line < TGame::NarrationLines; ++line) EXPECT_EQ(waited.Narration(line), skipped.Narration(line));
    EXPECT_EQ(waited.IsRiding(), skipped.IsRiding());
    EXPECT_EQ(waited.Timers().Count(), skipped.Timers().Count());
    EXPECT_FLOAT_EQ(waited.Band(), skipped.Band());
    EXPECT_FLOAT_EQ(waited.Hero().X, skipped.Hero().X);
    EXPECT_FLOAT_EQ(waited.Hero().Y, skipped.Hero().Y);
    EXPECT_EQ(waited.Hero().Command, skipped.Hero().Command);
    EXPECT_FLOAT_EQ(waited.Sleigh().X, skipped.Sleigh().X);
    EXPECT_FLOAT_EQ(waited.Sleigh().Y, skipped.Sleigh().Y);
    EXPECT_EQ(waited.CameraX(), skipped.CameraX());
    EXPECT_EQ(waited.CameraY(), skipped.CameraY());
    const TCos* angelWaited = waited.Objects().FindById("aniolek");
    const TCos* angelSkipped = skipped.Objects().FindById("aniolek");
    ASSERT_NE(angelWaited, nullptr);
    ASSERT_NE(angelSkipped, nullptr);
    EXPECT_FLOAT_EQ(angelWaited->X, angelSkipped->X);
    EXPECT_FLOAT_EQ(angelWaited->Angle, angelSkipped->Angle);
}

// Frames until the film ends; how many.
int WaitForPlay(TFilmGame& film) {
    int frames = 0;
    while (film.Game->Mode() == TGame::CinematicMode && frames < 100000) {
        film.Frame();
        ++frames;
    }
    return frames;
}

}  // namespace

TEST(GameFilm, SkippingRunsTheRestOfTheFilmAsWaitingWould) {
    // The games share the one random generator: each is played to its end
    // before the next starts, and the number drawn after it tells whether
    // both drew as many.
    TFilmGame waited;
    waited.Frame();
    const int frames = WaitForPlay(waited);
    ASSERT_EQ(waited.Game->Mode(), TGame::PlayMode);
    ASSERT_GT(frames, 500);  // the bubble alone lasts 600 ms, the timers 5 s
    const std::int32_t drawnAfterWaiting = bbx::Random(1 << 30);

    TFilmGame skipped;
    skipped.Frame();
    skipped.Key(vk::Space);
    const std::int32_t drawnAfterSkipping = bbx::Random(1 << 30);

    EXPECT_EQ(skipped.Game->Mode(), TGame::PlayMode);
    EXPECT_EQ(skipped.Game->Variables().GetValue("etap"), "graj");
    EXPECT_EQ(skipped.Game->Hero().Presents, 3);
    ExpectSameState(*waited.Game, *skipped.Game);
    EXPECT_EQ(drawnAfterWaiting, drawnAfterSkipping);

    // Play goes on from there with the clock the film ran ahead to: both
    // games carry on alike.
    for (int i = 0; i < 100; ++i) {
        waited.Frame();
        skipped.Frame();
    }
    ExpectSameState(*waited.Game, *skipped.Game);
    EXPECT_FLOAT_EQ(skipped.Game->Band(), 0);
}

TEST(GameFilm, EnterSkipsHalfWayThroughAndDoesNotToggleTheSleigh) {
    TFilmGame waited;
    WaitForPlay(waited);
    TFilmGame skipped;
    for (int i = 0; i < 300; ++i) skipped.Frame();  // the hero is out and walking
    ASSERT_EQ(skipped.Game->Variables().GetValue("etap"), "3");
    skipped.Key(vk::Return);
    ExpectSameState(*waited.Game, *skipped.Game);
    EXPECT_FALSE(skipped.Game->IsRiding());
    EXPECT_EQ(skipped.Game->Hero().Command, waited.Game->Hero().Command);
}

TEST(GameFilm, OtherKeysDoNothingInAFilmAndEscStillQuits) {
    TFilmGame film;
    film.Frame();
    for (const TVirtualKey key : {TVirtualKey{'1'}, TVirtualKey{'A'}, vk::Tab}) film.Key(key);
    EXPECT_EQ(film.Game->Mode(), TGame::CinematicMode);
    EXPECT_EQ(film.Game->Variables().GetValue("etap"), "1");
    film.Key(vk::Escape);
    EXPECT_TRUE(film.Game->QuitRequested());
    // A skip after Esc runs nothing more: the game is over.
    film.Key(vk::Space);
    EXPECT_EQ(film.Game->Variables().GetValue("etap"), "1");
}

TEST(GameFilm, SpaceInPlayStillBrakesAndSkipsNothing) {
    TFilmGame film;
    WaitForPlay(film);
    TVirtualKey space = vk::Space;
    film.Game->KeyDown(space, 0);
    EXPECT_TRUE(film.Game->Sleigh().Braking);
    EXPECT_EQ(film.Game->Mode(), TGame::PlayMode);
}

TEST(GameFilm, AFilmThatNeverEndsIsSkippedOnlyAsFarAsTheBound) {
    TFilmGame film(R"(
      <trigger event="init">
        <action type="mode" index="1"/>
        <action type="timer" id="within" time="240"/>
        <action type="timer" id="beyond" time="600"/>
      </trigger>
      <trigger event="timer" id="within"><action type="set" name="within" value="ran"/></trigger>
      <trigger event="timer" id="beyond"><action type="set" name="beyond" value="ran"/></trigger>)");
    film.Frame();
    film.Key(vk::Space);
    EXPECT_EQ(film.Game->Mode(), TGame::CinematicMode);
    EXPECT_EQ(film.Game->Variables().GetValue("within"), "ran");
    EXPECT_EQ(film.Game->Variables().GetValue("beyond"), "");
    // A second skip goes on from there.
    film.Key(vk::Space);
    EXPECT_EQ(film.Game->Variables().GetValue("beyond"), "ran");
}

TEST(GameFilm, TheEndingFilmSkipsToTheTextScreen) {
    TFilmGame film(R"(
      <trigger event="init">
        <action type="mode" index="1"/>
        <action type="timer" id="end" time="30"/>
      </trigger>
      <trigger event="timer" id="end">
        <action type="mode" index="2"/>
        <action type="narration" index="2">Koniec</action>
      </trigger>)");
    film.Frame();
    film.Key(vk::Return);
    EXPECT_EQ(film.Game->Mode(), TGame::TextScreenMode);
    EXPECT_EQ(film.Game->Narration(2), "Koniec");
    // In the text screen the keys are ignored again, Esc aside.
    film.Key(vk::Return);
    EXPECT_FALSE(film.Game->QuitRequested());
}
