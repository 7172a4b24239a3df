#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/sfx.h"

using namespace gb;

namespace {

// Records the calls; files whose name holds "missing" fail to load.
class TRecordingLayer : public TSoundLayer {
public:
    bool Start(int rate, int channels) override {
        Log.push_back("start " + std::to_string(rate) + " " + std::to_string(channels));
        return true;
    }
    TSampleHandle LoadSample(const std::string& path) override {
        Log.push_back("sample " + path);
        return path.find("missing") == std::string::npos ? ++Loaded : 0;
    }
    TChannelHandle PlaySample(TSampleHandle sample) override {
        Log.push_back("play " + std::to_string(sample));
        return sample;
    }
    void StopChannel(TChannelHandle) override {}
    void FreeSample(TSampleHandle) override {}
    TStreamHandle OpenStream(const std::string& path) override {
        Log.push_back("stream " + path);
        return 77;
    }
    void PlayStream(TStreamHandle stream) override { Log.push_back("music " + std::to_string(stream)); }
    void StopStream(TStreamHandle stream) override { Log.push_back("stop music " + std::to_string(stream)); }
    void Beep(int, int) override {}
    void Close() override { Log.push_back("close"); }

    std::vector<std::string> Log;
    TSampleHandle Loaded = 100;
};

}  // namespace

TEST(Sfx, LoadsTheElevenNumberedEffectsAndTheMusicFromTheSfxFolder) {
    TRecordingLayer layer;
    {
        TSfx sfx(layer, "/game/");
        sfx.LoadSounds();
        EXPECT_EQ(&sfx.Layer(), &layer);
    }
    ASSERT_EQ(layer.Log.size(), 14u);
    EXPECT_EQ(layer.Log[0], "start 44100 16");
    EXPECT_EQ(layer.Log[1], "sample /game/sfx/00.wav");
    EXPECT_EQ(layer.Log[10], "sample /game/sfx/09.wav");
    EXPECT_EQ(layer.Log[11], "sample /game/sfx/10.wav");
    EXPECT_EQ(layer.Log[12], "stream /game/sfx/muza.mp3");
    EXPECT_EQ(layer.Log[13], "close");
}

TEST(Sfx, PlaysEffectsByNumberAndLeavesOutOfRangeNumbersSilent) {
    TRecordingLayer layer;
    TSfx sfx(layer, "/game/");
    sfx.LoadSounds();
    layer.Log.clear();
    sfx.Play(0);
    sfx.Play(10);
    sfx.Play(10);
    sfx.Play(11);
    sfx.Play(-1);
    sfx.PlayMusic();
    sfx.StopMusic();
    EXPECT_EQ(layer.Log, (std::vector<std::string>{"play 101", "play 111", "play 111", "music 77", "stop music 77"}));
}

TEST(Sfx, PlayingBeforeLoadingOrAFailedLoadHandsTheLayerNoSound) {
    TRecordingLayer layer;
    TSfx sfx(layer, "/missing/");
    sfx.Play(3);
    sfx.LoadSounds();
    sfx.Play(3);
    EXPECT_EQ(layer.Log[1], "play 0");
    EXPECT_EQ(layer.Log.back(), "play 0");
}
