// Replays: the file format and its refusals, and a run recorded through the
// main window played again to the same frames, on a fake clock; a changed
// game is caught at the next checkpoint.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/frm_main.h"
#include "app/game_state_hash.h"
#include "app/replay_file.h"
#include "app/replay_player.h"
#include "app/replay_recorder.h"
#include "core/random.h"
#include "flow/game.h"
#include "runtime/platform/null/manual_system_services.h"
#include "support/game_test_support.h"

using namespace gb;
using namespace gb::test_support;

namespace {

const std::string kHeader = "GlimmerBay replay 1 version 1.0 data 00000000000000ff seed 42 start 5000\n";

std::string ErrorOf(const std::string& text) {
    try {
        ParseReplay(text);
    } catch (const EReplayError& e) {
        return e.what();
    }
    return "accepted";
}

}  // namespace

TEST(ReplayFile, RecordsReadBackAsWritten) {
    const TReplayHeader header{"1.2.3", 0x0123456789abcdefULL, 4000000000u, 4294967000u};
    const std::vector<TReplayRecord> records{
        {.Kind = TReplayKind::Frame, .Tick = 4294967000u, .Code = held::Up | held::Right},
        {.Kind = TReplayKind::KeyDown, .Tick = 4294967295u, .Code = 65535, .Shift = 7},
        {.Kind = TReplayKind::KeyUp, .Tick = 3, .Code = 32},
        {.Kind = TReplayKind::MouseMove, .Tick = 3, .Shift = 1, .X = -5, .Y = 599},
        {.Kind = TReplayKind::MouseDown, .Tick = 3, .Code = 2, .X = 800, .Y = 0},
        {.Kind = TReplayKind::MouseUp, .Tick = 3, .Code = 1, .X = 1, .Y = -20},
        {.Kind = TReplayKind::Focus, .Tick = 3, .Code = 0},
        {.Kind = TReplayKind::Activate, .Tick = 4},
        // The tick count wraps between the two frames.
        {.Kind = TReplayKind::Frame, .Tick = 20, .Code = 0},
        {.Kind = TReplayKind::Checkpoint, .Tick = 2, .Hash = 0xfedcba9876543210ULL},
    };
    std::string text = FormatHeader(header);
    for (const TReplayRecord& record : records) text += FormatRecord(record);
    text += FormatEnd(2);
    const TReplay replay = ParseReplay(text);
    EXPECT_EQ(replay.Header.ProgramVersion, "1.2.3");
    EXPECT_EQ(replay.Header.DataHash, header.DataHash);
    EXPECT_EQ(replay.Header.Seed, header.Seed);
    EXPECT_EQ(replay.Header.StartTick, header.StartTick);
    EXPECT_EQ(replay.Records, records);
    EXPECT_EQ(replay.Frames, 2u);
}

TEST(ReplayFile, MalformedFilesAreRefusedWithTheLineAndTheFault) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", "the file is empty"},
        {"hello\nend 0\n", "line 1: this is no GlimmerBay replay"},
        {"GlimmerBay replay 2 version 1 data 00000000000000ff seed 1 start 1\nend 0\n", "replay format 2 is not known"},
        {"GlimmerBay replay 1 version 1 data 00ff seed 1 start 1\nend 0\n", "line 1: \"00ff\" is not a hash"},
        {"GlimmerBay replay 1 version 1 data 00000000000000ff seed x start 1\nend 0\n", "line 1: \"x\" is not a number"},
        {"GlimmerBay replay 1 version 1 data 00000000000000ff seed 1\nend 0\n", "the header is not"},
        {kHeader, "line 2: the \"end\" line is missing"},
        {kHeader + "f 5033 0", "line 2: the last line has no line end"},
        {kHeader + "f 5033 0\nend 2\n", "line 3: the end line counts 2 frames, the file holds 1"},
        {kHeader + "end 0\nf 5033 0\n", "line 3: nothing may follow"},
        {kHeader + "jump 5033\nend 0\n", "line 2: \"jump\" is no record"},
        {kHeader + "f 5033\nend 0\n", "line 2: a \"f\" record has 2 fields, this one 1"},
        {kHeader + "f 5033 0 \nend 1\n", "line 2: a \"f\" record has 2 fields, this one 3"},
        {kHeader + "f 5033 16\nend 1\n", "line 2: \"16\" is not a number from 0 to 15"},
        {kHeader + "f -1 0\nend 1\n", "is not a number"},
        {kHeader + "f 05 0\nend 1\n", "line 2: \"05\" is not a number"},
        {kHeader + "f 4294967296 0\nend 1\n", "\"4294967296\" is not a number"},
        {kHeader + "f 5033 0\r\nend 1\n", "\"0\\x0d\" is not a number"},
        {kHeader + "f 6000 0\nf 5000 0\nend 2\n", "line 3: the frame's tick 5000 goes back from 6000"},
        {kHeader + "md 5033 3 0 1 1\nend 0\n", "line 2: \"3\" is not a number from 0 to 2"},
        {kHeader + "mm 5033 0 100001 1\nend 0\n", "\"100001\" is not a number"},
        {kHeader + "kd 5033 65536 0\nend 0\n", "\"65536\" is not a number from 0 to 65535"},
        {kHeader + "fo 5033 2\nend 0\n", "\"2\" is not a number from 0 to 1"},
        {kHeader + "f 5033 0\nc 2 00000000000000ff\nend 1\n", "line 3: the checkpoint of frame 2 does not follow"},
        {kHeader + "f 5033 0\nc 1 00000000000000FF\nend 1\n", "is not a hash of 16 hex digits"},
        {kHeader + std::string("kd 5033 \xff\x01 0\nend 0\n"), "\"\\xff\\x01\" is not a number"},
    };
    for (const auto& [text, expected] : cases) EXPECT_NE(ErrorOf(text).find(expected), std::string::npos)
        << "file:\n" << text << "\nerror: " << ErrorOf(text);
}

TEST(ReplayFile, LoadingRefusesWhatIsNoFile) {
    const TTempFolder folder;
    const auto message = [](const std::string& path) {
        try {
            LoadReplay(path);
        } catch (const EReplayError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_NE(message(folder.File("none.replay")).find("no such file"), std::string::npos);
    EXPECT_NE(message(folder.Directory()).find("not a regular file"), std::string::npos);
    folder.Write("bad.replay", "GlimmerBay replay 1\n");
    EXPECT_NE(message(folder.File("bad.replay")).find("bad.replay: line 1"), std::string::npos);
}

TEST(ReplayFile, TheDataHashFollowsEveryDataFile) {
    const TTempFolder folder;
    const std::uint64_t empty = DataFilesHash(folder.Directory());
    folder.Write("GameData.xml", "<gamedata/>");
    const std::uint64_t withGameData = DataFilesHash(folder.Directory());
    EXPECT_NE(withGameData, empty);
    folder.Write("Credits.xml", "<credits/>");
    EXPECT_NE(DataFilesHash(folder.Directory()), withGameData);
    // The same bytes under another name are other data.
    const TTempFolder other;
    other.Write("Credits.xml", "<gamedata/>");
    EXPECT_NE(DataFilesHash(other.Directory()), withGameData);
}

namespace {

// A small story: an intro, the menu, then a game whose film ends after
// two seconds with the hero in the sleigh; the text screen comes six
// seconds later.
const std::string kStory = GameData(
    kHeroAndSleigh + R"(<cos type="dzieciak" id="ola" x="12" y="12"/>)",
    R"(<trigger event="init">
         <action type="mode" index="1"/>
         <action type="narration" index="0">Film</action>
         <action type="timer" id="start" time="2"/>
       </trigger>
       <trigger event="timer" id="start">
         <action type="mode" index="0"/>
         <action type="narration" index="0"/>
         <action type="ride" toggle="on"/>
         <action type="timer" id="end" time="6"/>
       </trigger>
       <trigger event="timer" id="end">
         <action type="mode" index="2"/>
         <action type="narration" index="2">Koniec</action>
       </trigger>)");

TGameFactory GameFactory() {
    return [](const TScreenServices& services) -> std::unique_ptr<TGameScreen> {
        return std::make_unique<TGame>(services, TGame::TLoading::InSteps);
    };
}

// What a run showed: the hash of every frame presented.
class TFrameLog {
public:
    void Add(const TNullPresenter& presenter) {
        const bbx::TPixelBuffer& frame = presenter.LastFrame;
        std::uint64_t hash = HashBytes("");
        for (int y = 0; y < frame.Height(); ++y) {
            const char* row = frame.Format() == bbx::TPixelFormat::Rgb565
                                  ? reinterpret_cast<const char*>(frame.Row16(y))
                                  : reinterpret_cast<const char*>(frame.Row32(y));
            hash = HashBytes(std::string_view(row, frame.ByteSize() / static_cast<std::size_t>(frame.Height())), hash);
        }
        Hashes.push_back(hash);
    }
    std::vector<std::uint64_t> Hashes;
};

// A player at the keys: the run is recorded into `path`.
class TRecordedRun {
public:
    TRecordedRun(const TDataFolder& data, const std::string& path)
        : Recorder(System, path, 77, data.Directory()),
          Form(Presenter, Text, Sound, Recorder, data.Directory(), GameFactory()) {
        bbx::RandSeed(77);
        Recorder.Attach(Form);
        Form.OnClose = [] {};
        Form.FormCreate();
    }
    void Frame(std::uint32_t ms = 33) {
        System.Now += ms;
        Form.DXTimer().Idle(System.Now);
        Frames.Add(Presenter);
    }
    void Key(TVirtualKey key) {
        Recorder.KeyDown(key, 0);
        Frame(5);
        Recorder.KeyUp(key, 0);
    }
    void Click(TMouseButton button, int x, int y) {
        Recorder.MouseMove(0, x, y);
        Recorder.MouseDown(button, 0, x, y);
        Frame();
        Recorder.MouseUp(button, 0, x, y);
    }
    TGame* Game() { return dynamic_cast<TGame*>(Form.Game()); }

    TManualSystemServices System{5000};
    TReplayRecorder Recorder;
    TNullPresenter Presenter;
    TBoxTextRenderer Text{6, 12};
    TRecordingSoundLayer Sound;
    TfrmMain Form;
    TFrameLog Frames;
};

// The recording of a player who leaves the intro, starts a game, lets the
// film run, drives the sleigh with the arrows a while and clicks.
void RecordStory(const TDataFolder& data, const std::string& path, TFrameLog& frames, bool toTheEnd = true) {
    TRecordedRun run(data, path);
    run.Frame();
    run.Key(vk::Space);
    ASSERT_NE(run.Form.Menu(), nullptr);
    run.Click(TMouseButton::Left, 625, 235);  // "Nowa gra"
    run.Frame();
    ASSERT_NE(run.Game(), nullptr);
    for (int i = 0; i < 80; ++i) run.Frame();
    ASSERT_EQ(run.Game()->Mode(), TGame::PlayMode);
    ASSERT_TRUE(run.Game()->IsRiding());
    run.System.Held = {vk::Up, vk::Left};
    for (int i = 0; i < 30; ++i) run.Frame(17);
    run.System.Held = {vk::Down, vk::Right};
    for (int i = 0; i < 10; ++i) run.Frame(17);
    run.System.Held.clear();
    TGame& game = *run.Game();
    run.Click(TMouseButton::Left, static_cast<int>(game.Sleigh().X) - game.CameraX() - 30,
              static_cast<int>(game.Sleigh().Y) - game.CameraY());
    for (int i = 0; i < 400 && toTheEnd && run.Game()->Mode() != TGame::TextScreenMode; ++i) run.Frame();
    if (toTheEnd) {
        ASSERT_EQ(run.Game()->Mode(), TGame::TextScreenMode);
    }
    for (int i = 0; i < 5; ++i) run.Frame();
    run.Recorder.Finish();
    frames = run.Frames;
}

struct TReplayed {
    TReplayOutcome Outcome;
    TFrameLog Frames;
};

TReplayed Replay(const TDataFolder& data, const std::string& path) {
    TNullPresenter presenter;
    TBoxTextRenderer text{6, 12};
    TRecordingSoundLayer sound;
    TReplayServices services;
    TfrmMain form(presenter, text, sound, services, data.Directory(), GameFactory());
    form.OnClose = [] {};
    TReplayed result;
    result.Outcome = PlayReplay(LoadReplay(path), form, services, [&](std::uint32_t) {
        result.Frames.Add(presenter);
        return true;
    });
    return result;
}

class ReplayRun : public ::testing::Test {
protected:
    ReplayRun() { Data.Write("GameData.xml", kStory); }
    TDataFolder Data;
    TTempFolder Files;
    const std::string Path = Files.File("run.replay");
};

}  // namespace

TEST_F(ReplayRun, APlayedBackRunShowsTheSameFramesAndEndsAtTheEndScreen) {
    TFrameLog recorded;
    RecordStory(Data, Path, recorded);
    const TReplay replay = LoadReplay(Path);
    EXPECT_EQ(replay.Header.Seed, 77u);
    EXPECT_EQ(replay.Header.StartTick, 5000u);
    EXPECT_EQ(replay.Header.DataHash, DataFilesHash(Data.Directory()));
    EXPECT_EQ(replay.Frames, recorded.Hashes.size());
    EXPECT_GE(std::count_if(replay.Records.begin(), replay.Records.end(),
                            [](const TReplayRecord& r) { return r.Kind == TReplayKind::Checkpoint; }),
              static_cast<long>(replay.Frames / TReplayRecorder::CheckpointFrames));

    // The random generator is elsewhere now: the replay seeds it itself.
    bbx::RandSeed(999);
    const TReplayed played = Replay(Data, Path);
    EXPECT_EQ(played.Outcome.Kind, TReplayOutcome::TKind::EndScreen) << played.Outcome.Message;
    // The replay stops at the first frame of the end screen; up to there
    // every frame is the recorded one, bit for bit.
    ASSERT_GT(played.Frames.Hashes.size(), 100u);
    ASSERT_LE(played.Frames.Hashes.size(), recorded.Hashes.size());
    for (std::size_t i = 0; i < played.Frames.Hashes.size(); ++i)
        ASSERT_EQ(played.Frames.Hashes[i], recorded.Hashes[i]) << "frame " << i + 1;

    // A second replay gives the same again.
    const TReplayed again = Replay(Data, Path);
    EXPECT_EQ(again.Frames.Hashes, played.Frames.Hashes);
}

TEST_F(ReplayRun, AChangedGameIsCaughtAtTheNextCheckpoint) {
    TFrameLog recorded;
    RecordStory(Data, Path, recorded);
    // The hero stands elsewhere in this version of the story.
    std::string moved = kStory;
    moved.replace(moved.find(R"(x="10" y="10")"), 13, R"(x="10" y="11")");
    Data.Write("GameData.xml", moved);
    const TReplayed played = Replay(Data, Path);
    EXPECT_EQ(played.Outcome.Kind, TReplayOutcome::TKind::Diverged);
    EXPECT_EQ(played.Outcome.Message, "replay diverged at frame " + std::to_string(played.Outcome.Frame));
    EXPECT_EQ(played.Outcome.Frame % TReplayRecorder::CheckpointFrames, 0u);
    // It was noticed at the first checkpoint of the game, not later.
    EXPECT_LT(played.Outcome.Frame, 3 * TReplayRecorder::CheckpointFrames);
}

TEST_F(ReplayRun, ARunThatStopsShortEndsWithoutTheEndScreen) {
    TFrameLog recorded;
    RecordStory(Data, Path, recorded, false);
    const TReplayed played = Replay(Data, Path);
    EXPECT_EQ(played.Outcome.Kind, TReplayOutcome::TKind::Ended);
    EXPECT_EQ(played.Outcome.Frame, recorded.Hashes.size());
    EXPECT_NE(played.Outcome.Message.find("before the story's end screen"), std::string::npos);
}

TEST_F(ReplayRun, AnErrorScreenEndsTheReplay) {
    TFrameLog recorded;
    RecordStory(Data, Path, recorded);
    // Without its game data the game cannot start: the error screen shows
    // after "Nowa gra".
    std::filesystem::remove(Data.File("GameData.xml"));
    const TReplayed played = Replay(Data, Path);
    EXPECT_EQ(played.Outcome.Kind, TReplayOutcome::TKind::ErrorScreen);
    EXPECT_NE(played.Outcome.Message.find("GameData.xml"), std::string::npos) << played.Outcome.Message;
}
