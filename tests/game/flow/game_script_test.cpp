// The story's script on small test maps: which trigger answers an event,
// what every action does, the events the world and the sleigh raise, and
// the rules for faulty scripts.

#include <gtest/gtest.h>

#include <numbers>

#include "core/code_page.h"
#include "core/errors.h"
#include "flow/game_data_errors.h"
#include "support/game_test_support.h"

using namespace gb;
using namespace gb::test_support;

namespace {

// A trigger that records that it ran in the variable "ran".
std::string Recorder(const std::string& attributes, const std::string& mark) {
    return "<trigger " + attributes + R"(><action type="set" name="ran" value=")" + mark + R"("/></trigger>)";
}

std::unique_ptr<TGame> StartWith(TGameBench& bench) { return bench.Start(); }

std::string ErrorOf(TGame& game, std::string_view event, std::string_view value = "") {
    try {
        game.FireEvent(event, value);
    } catch (const bbx::Exception& e) {
        return std::string(e.ClassName()) + ": " + e.what();
    }
    return "no error";
}

}  // namespace

TEST(GameTriggers, TheFirstMatchingTriggerRunsAndNoOther) {
    TGameBench bench(GameData(kHeroAndSleigh, Recorder(R"(event="e" id="a")", "first") +
                                                  Recorder(R"(event="e" id="a")", "second") +
                                                  Recorder(R"(event="e")", "general")));
    auto game = StartWith(bench);
    game->FireEvent("e", "a");
    EXPECT_EQ(game->Variables().GetValue("ran"), "first");
    game->FireEvent("e", "b");
    EXPECT_EQ(game->Variables().GetValue("ran"), "general");
    game->FireEvent("e", "a");  // every time, no once-only flag
    EXPECT_EQ(game->Variables().GetValue("ran"), "first");
    game->FireEvent("other", "a");
    EXPECT_EQ(game->Variables().GetValue("ran"), "first");
}

TEST(GameTriggers, AnEmptyValueMatchesOnlyTriggersWithoutAnId) {
    TGameBench bench(GameData(kHeroAndSleigh, Recorder(R"(event="e" id="a")", "with id") +
                                                  Recorder(R"(event="e" id="")", "without id")));
    auto game = StartWith(bench);
    game->FireEvent("e", "");
    EXPECT_EQ(game->Variables().GetValue("ran"), "without id");
}

TEST(GameTriggers, VariableConditionsAndAOneTimeTrigger) {
    TGameBench bench(GameData(kHeroAndSleigh,
                              R"(<trigger event="e" name="stage"><action type="set" name="stage" value="two"/>
          <action type="set" name="ran" value="once"/></trigger>)" +
                                  Recorder(R"(event="e" name="stage" value="two")", "two") +
                                  Recorder(R"(event="E" NAME="Other" VALUE="X")", "other")));
    auto game = StartWith(bench);
    game->FireEvent("e", "");
    EXPECT_EQ(game->Variables().GetValue("ran"), "once");
    EXPECT_EQ(game->Variables().GetValue("stage"), "two");
    game->FireEvent("e", "");
    EXPECT_EQ(game->Variables().GetValue("ran"), "two");
    game->FireEvent("e", "");  // the unset-stage trigger never matches again
    EXPECT_EQ(game->Variables().GetValue("ran"), "two");
}

TEST(GameTriggers, WithoutTriggersEventsDoNothingAndUnknownThingsAreIgnored) {
    TGameBench none("<gamedata><map>" + kHeroAndSleigh + "</map></gamedata>");
    auto quiet = StartWith(none);
    EXPECT_EQ(ErrorOf(*quiet, "init"), "no error");

    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="e"><action type="fly"/><note/>
        <action type="count" co="gold" ile="5"/><action/><action type="set" name="ran" value="yes"/></trigger>)"));
    auto game = StartWith(bench);
    game->FireEvent("e", "");
    EXPECT_EQ(game->Variables().GetValue("ran"), "yes");
    EXPECT_EQ(game->Hero().Presents + game->Hero().Rods + game->Hero().Baubles, 0);
}

TEST(GameActions, CountGoodSelectAndPosChangeTheHero) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="e">
        <action type="count" co="prezent" ile="3"/><action type="count" co="rozga" ile="2"/>
        <action type="count" co="bombka" ile="4"/><action type="count" co="bombka" ile="-1"/>
        <action type="good" ile="-2"/><action type="good" ile="5"/>
        <action type="select" index="2"/>
        <action type="pos" y="3"/></trigger>)"));
    auto game = StartWith(bench);
    game->Hero().SetCommand(TBohater::Walk, 1, 2, nullptr);
    game->FireEvent("e", "");
    const TBohater& hero = game->Hero();
    EXPECT_EQ(hero.Presents, 3);
    EXPECT_EQ(hero.Rods, 2);
    EXPECT_EQ(hero.Baubles, 3);
    EXPECT_FLOAT_EQ(hero.Goodness, 3);
    EXPECT_EQ(hero.Item, 2u);
    EXPECT_FLOAT_EQ(hero.X, 480);  // only y was given
    EXPECT_FLOAT_EQ(hero.Y, 144);
    EXPECT_EQ(hero.Command, TBohater::NoCommand);
}

TEST(GameActions, InvincibleDialogAndCommandNameObjects) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="dzieciak" id="k" x="3" y="3"/>
        <cos type="drzewo" id="tree" x="5" y="5"/>)",
                              R"(<trigger event="on"><action type="invincible" id="k" toggle="on"/>
          <action type="invincible" id="tree" toggle="on"/><action type="invincible" toggle="on"/>
          <action type="dialog" id="k">Dzień dobry<br/>Mikołaju!</action><action type="dialog" id="tree">nic</action>
          <action type="command" x="2" y="3" id="k" cmd="2"/></trigger>
        <trigger event="off"><action type="invincible" id="k" toggle="yes"/>
          <action type="command" id="k" cmd="3"/></trigger>
        <trigger event="nowhere"><action type="command" x="1" id="ghost" cmd="1"/></trigger>)"));
    auto game = StartWith(bench);
    auto& child = static_cast<TPostac&>(*game->Objects().FindById("k"));
    game->FireEvent("on", "");
    EXPECT_TRUE(child.Invincible);
    EXPECT_EQ(child.Speech, bbx::Pl<"Dzień dobry\r\nMikołaju!">());
    EXPECT_EQ(child.SpeechTime, 100 * static_cast<std::int32_t>(child.Speech.size()));
    EXPECT_EQ(game->Hero().Command, TBohater::WalkAndUse);
    EXPECT_EQ(game->Hero().Target, &child);
    EXPECT_EQ(game->Hero().TargetX, 96);
    EXPECT_EQ(game->Hero().TargetY, 144);

    game->FireEvent("off", "");
    EXPECT_FALSE(child.Invincible);
    // Command 3 goes to the sleigh whatever the id says.
    EXPECT_EQ(game->Hero().Command, TBohater::BoardSleigh);
    EXPECT_EQ(game->Hero().Target, &game->Sleigh());

    game->FireEvent("nowhere", "");
    EXPECT_EQ(game->Hero().Command, TBohater::Walk);
    EXPECT_EQ(game->Hero().Target, nullptr);
    EXPECT_EQ(game->Hero().TargetX, 48);
    EXPECT_EQ(game->Hero().TargetY, 0);
}

TEST(GameActions, ZaprzegPlacesSteersAndAlwaysSetsTheSpeed) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="go"><action type="zaprzeg" x="3" v="60" alfa="90"/>
        </trigger><trigger event="stop"><action type="zaprzeg" y="-2"/></trigger>)"));
    auto game = StartWith(bench);
    game->FireEvent("go", "");
    EXPECT_FLOAT_EQ(game->Sleigh().X, 144);
    EXPECT_FLOAT_EQ(game->Sleigh().Y, 480);
    EXPECT_FLOAT_EQ(game->Sleigh().Speed, 0.6f);
    EXPECT_FLOAT_EQ(game->Sleigh().Angle, std::numbers::pi_v<float> / 2);
    game->FireEvent("stop", "");
    EXPECT_FLOAT_EQ(game->Sleigh().Speed, 0);
    EXPECT_FLOAT_EQ(game->Sleigh().X, 144);
    EXPECT_FLOAT_EQ(game->Sleigh().Y, -96);
    EXPECT_FLOAT_EQ(game->Sleigh().Angle, std::numbers::pi_v<float> / 2);
}

TEST(GameActions, PointerModeNarrationSetAndBeep) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="e">
        <action type="pointer" index="2" id="sanie"/><action type="mode" index="2"/>
        <action type="narration" index="4">Koniec<br/>opowieści</action><action type="set" name="a" value="b"/>
        <action type="beep"/></trigger>
        <trigger event="f"><action type="pointer" index="2"/><action type="narration" index="4"/>
        <action type="set" name="a"/></trigger>)"));
    auto game = StartWith(bench);
    game->FireEvent("e", "");
    EXPECT_EQ(game->PointerTarget(2), "sanie");
    EXPECT_EQ(game->PointerTarget(1), "");
    EXPECT_EQ(game->Mode(), TGame::TextScreenMode);
    EXPECT_EQ(game->Narration(4), bbx::Pl<"Koniec\r\nopowieści">());
    EXPECT_EQ(game->Variables().GetValue("a"), "b");
    EXPECT_EQ(bench.Sound.Beeps, 1);
    EXPECT_EQ(bench.Sound.LastBeep, std::make_pair(1000, 100));
    game->FireEvent("f", "");
    EXPECT_EQ(game->PointerTarget(2), "");
    EXPECT_EQ(game->Narration(4), "");
    EXPECT_EQ(game->Variables().Count(), 0);
}

TEST(GameTimers, FireInTheFrameTheyRunOutAndCanBeRestarted) {
    TGameBench bench(GameData(kHeroAndSleigh,
                              R"(<trigger event="init"><action type="timer" id="t" time="3"/></trigger>
        <trigger event="restart"><action type="timer" id="t" time="2"/></trigger>
        <trigger event="timer" id="t" name="fired"><action type="set" name="fired" value="1"/></trigger>
        <trigger event="timer" id="t" name="fired" value="1"><action type="set" name="fired" value="2"/>
          <action type="timer" id="t" time="0"/></trigger>
        <trigger event="timer" id="t" name="fired" value="2"><action type="set" name="fired" value="3"/></trigger>)"));
    auto game = StartWith(bench);
    std::uint32_t now = 1000;
    Play(*game, now, 2000, 1000);
    game->FireEvent("restart", "");  // 1 s left becomes 2 s
    Play(*game, now, 1000, 1000);
    EXPECT_EQ(game->Variables().GetValue("fired"), "");
    Play(*game, now, 999, 999);
    EXPECT_EQ(game->Variables().GetValue("fired"), "");
    Play(*game, now, 1, 1);
    EXPECT_EQ(game->Variables().GetValue("fired"), "1");
    EXPECT_EQ(game->Timers().Count(), 0);
    // Set by no event, a timer of 0 s fires in the next frame.
    game->FireEvent("restart", "");
    Play(*game, now, 2000, 2000);
    EXPECT_EQ(game->Variables().GetValue("fired"), "2");
    ASSERT_EQ(game->Timers().Count(), 1);  // re-armed by its own event
    Play(*game, now, 10);
    EXPECT_EQ(game->Variables().GetValue("fired"), "3");
    EXPECT_EQ(game->Timers().Count(), 0);
}

TEST(GameRiding, GettingInHidesTheHeroAndRaisesGetin) {
    TGameBench bench(GameData(kHeroAndSleigh, Recorder(R"(event="getin")", "in") + Recorder(R"(event="getout")", "out")));
    auto game = StartWith(bench);
    game->Hero().SetCommand(TBohater::Walk, 5, 5, nullptr);
    const int sounds = bench.Sound.PlayCount("sfx/02.wav");
    game->SetRiding(true);
    EXPECT_TRUE(game->IsRiding());
    EXPECT_FLOAT_EQ(game->Hero().X, 1000000);
    EXPECT_FLOAT_EQ(game->Hero().Y, 1000000);
    EXPECT_EQ(game->Hero().Command, TBohater::NoCommand);
    EXPECT_EQ(game->Variables().GetValue("ran"), "in");
    EXPECT_EQ(bench.Sound.PlayCount("sfx/02.wav"), sounds + 1);
    // Once more while riding: the same again.
    game->SetRiding(true);
    EXPECT_EQ(bench.Sound.PlayCount("sfx/02.wav"), sounds + 2);
}

TEST(GameRiding, GettingOutTriesTheRingFromBehindTheSleigh) {
    // The sleigh at (20, 10) heading right: behind it is (20 - 44 / 48, 10).
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="slup" x="19" y="10"/>)",
                              Recorder(R"(event="getout")", "out")));
    auto game = StartWith(bench);
    game->SetRiding(true);
    TZaprzeg& sleigh = game->Sleigh();
    sleigh.Speed = 0.05f;
    game->SetRiding(false);
    EXPECT_FALSE(game->IsRiding());
    EXPECT_FLOAT_EQ(sleigh.Speed, 0);
    EXPECT_EQ(game->Variables().GetValue("ran"), "out");
    // The post blocks the spot behind, and the sleigh's own square the next
    // three; the fifth try, a quarter turn on, is below the sleigh.
    EXPECT_NEAR(game->Hero().X, 960, 1e-3);
    EXPECT_NEAR(game->Hero().Y, 480 - 44, 1e-3);
}

TEST(GameRiding, WhenTheRingIsBlockedTheHeroStaysIn) {
    // Walls on the eight cells round the sleigh's cell.
    std::string walls;
    for (int column = 19; column <= 21; ++column)
        for (int row = 9; row <= 11; ++row)
            if (column != 20 || row != 10)
                walls += "<cos type=\"murek\" x=\"" + std::to_string(column) + "\" y=\"" + std::to_string(row) + "\"/>";
    TGameBench bench(GameData(kHeroAndSleigh + walls, Recorder(R"(event="getout")", "out")));
    auto game = StartWith(bench);
    game->SetRiding(true);
    const int sounds = bench.Sound.PlayCount("sfx/02.wav");
    game->SetRiding(false);
    EXPECT_TRUE(game->IsRiding());
    EXPECT_FLOAT_EQ(game->Hero().X, 1000000);
    EXPECT_EQ(game->Variables().GetValue("ran"), "");
    EXPECT_EQ(bench.Sound.PlayCount("sfx/02.wav"), sounds + 1);
}

TEST(GameRiding, RideActionsNestTheirEvents) {
    TGameBench bench(GameData(kHeroAndSleigh,
                              R"(<trigger event="e"><action type="ride" toggle="on"/><action type="set" name="after" value="1"/>
          </trigger><trigger event="getin" name="after"><action type="set" name="order" value="getin first"/></trigger>
        <trigger event="f"><action type="ride" toggle="off"/></trigger>
        <trigger event="g"><action type="ride" toggle="off"/></trigger>)" +
                                  Recorder(R"(event="getout")", "out")));
    auto game = StartWith(bench);
    game->FireEvent("e", "");
    EXPECT_TRUE(game->IsRiding());
    EXPECT_EQ(game->Variables().GetValue("order"), "getin first");
    game->FireEvent("f", "");
    EXPECT_FALSE(game->IsRiding());
    EXPECT_EQ(game->Variables().GetValue("ran"), "out");
    // Not riding, "off" still puts the hero down beside the sleigh.
    game->Hero().X = 0;
    game->FireEvent("g", "");
    EXPECT_NEAR(game->Hero().X, 960 - 44, 1e-3);
}

TEST(GameEvents, TheWorldRaisesGiftsFallsDistancesDialogEndsAndExplosions) {
    TGameBench bench(GameData(kHeroAndSleigh + R"(<cos type="dzieciak" id="k" x="10.7" y="10"/>
        <cos type="choinka" id="c" x="9.2" y="10"/>)",
                              R"(<trigger event="init"><action type="count" co="prezent" ile="1"/>
          <action type="count" co="bombka" ile="1"/><action type="select" index="1"/>
          <action type="dialog" id="k">ab</action></trigger>
        <trigger event="prezent" id="k"><action type="set" name="prezent" value="k"/></trigger>
        <trigger event="dialogend" id="k"><action type="set" name="dialogend" value="k"/></trigger>
        <trigger event="distance" id="c"><action type="set" name="distance" value="c"/></trigger>
        <trigger event="bombka" id="c"><action type="set" name="bombka" value="c"/></trigger>
        <trigger event="wybuch" id="c"><action type="set" name="wybuch" value="c"/></trigger>)"));
    auto game = StartWith(bench);
    TCos& child = *game->Objects().FindById("k");
    game->Hero().SetCommand(TBohater::WalkAndUse, 0, 0, &child);
    std::uint32_t now = 10000;
    Play(*game, now, 1200);
    EXPECT_EQ(game->Variables().GetValue("prezent"), "k");
    EXPECT_EQ(game->Variables().GetValue("dialogend"), "k");
    EXPECT_EQ(game->Variables().GetValue("distance"), "c");
    game->Hero().SelectItem(3);
    game->Hero().SetCommand(TBohater::WalkAndUse, 0, 0, game->Objects().FindById("c"));
    Play(*game, now, 1000);
    EXPECT_EQ(game->Variables().GetValue("bombka"), "c");
    EXPECT_EQ(game->Variables().GetValue("wybuch"), "");
    Play(*game, now, 3000);
    EXPECT_EQ(game->Variables().GetValue("wybuch"), "c");
}

TEST(GameFailures, BadNumbersStopTheTriggerWithAConversionError) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="count"><action type="count" co="prezent"/>
          <action type="set" name="after" value="1"/></trigger>
        <trigger event="timer"><action type="timer" id="x" time="2.5"/></trigger>
        <trigger event="pos"><action type="pos" x="1" y="a"/></trigger>
        <trigger event="cmd"><action type="command" x="1"/></trigger>)"));
    auto game = StartWith(bench);
    EXPECT_NE(ErrorOf(*game, "count").find(bbx::Pl<"EConvertError: GameData.xml: akcja \"count\": brak atrybutu ile">()),
              std::string::npos);
    EXPECT_EQ(game->Variables().GetValue("after"), "");
    EXPECT_NE(ErrorOf(*game, "timer").find("time=\"2.5\""), std::string::npos);
    EXPECT_EQ(game->Timers().Count(), 0);
    const float x = game->Hero().X;
    EXPECT_NE(ErrorOf(*game, "pos").find("EConvertError"), std::string::npos);
    EXPECT_FLOAT_EQ(game->Hero().X, x);
    EXPECT_NE(ErrorOf(*game, "cmd").find("cmd"), std::string::npos);
}

TEST(GameFailures, IndexesOutOfRangeNameTheActionAndTheValue) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="pointer"><action type="pointer" index="3" id="x"/>
        </trigger><trigger event="narration"><action type="narration" index="5">x</action></trigger>
        <trigger event="mode"><action type="mode" index="-1"/></trigger>
        <trigger event="select"><action type="select" index="4"/></trigger>)"));
    auto game = StartWith(bench);
    EXPECT_EQ(ErrorOf(*game, "pointer"),
              bbx::Pl<"EGameDataError: GameData.xml: akcja \"pointer\": indeks 3 jest poza zakresem 1..2.">());
    EXPECT_EQ(ErrorOf(*game, "narration"),
              bbx::Pl<"EGameDataError: GameData.xml: akcja \"narration\": indeks 5 jest poza zakresem 0..4.">());
    EXPECT_EQ(ErrorOf(*game, "mode"),
              bbx::Pl<"EGameDataError: GameData.xml: akcja \"mode\": indeks -1 jest poza zakresem 0..2.">());
    EXPECT_EQ(ErrorOf(*game, "select"),
              bbx::Pl<"EGameDataError: GameData.xml: akcja \"select\": indeks 4 jest poza zakresem 0..3.">());
    EXPECT_EQ(game->Mode(), TGame::PlayMode);
    EXPECT_EQ(game->Hero().Item, 0u);
}

TEST(GameFailures, AScriptThatRaisesItsOwnEventWithoutEndIsStopped) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="getin"><action type="ride" toggle="on"/></trigger>
        <trigger event="again"><action type="set" name="ok" value="1"/></trigger>)"));
    auto game = StartWith(bench);
    const std::string error = ErrorOf(*game, "getin");
    EXPECT_NE(error.find("EGameDataError"), std::string::npos) << error;
    EXPECT_NE(error.find("getin"), std::string::npos) << error;
    // The script works on after the error.
    EXPECT_EQ(ErrorOf(*game, "again"), "no error");
    EXPECT_EQ(game->Variables().GetValue("ok"), "1");
}

TEST(GameFailures, AFailingInitTriggerFailsTheStart) {
    TGameBench bench(GameData(kHeroAndSleigh, R"(<trigger event="init"><action type="mode" index="9"/></trigger>)"));
    EXPECT_THROW(bench.Start(), EGameDataError);
}
