#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"

using namespace gb;

TEST(Sfx, LoadsTheElevenNumberedEffectsAndTheMusicFromTheSfxFolder) {
    TRecordingSoundLayer layer;
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
    TRecordingSoundLayer layer;
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
    EXPECT_EQ(layer.Log, (std::vector<std::string>{"play 101", "play 111", "play 111", "music 112", "stop music 112"}));
}

TEST(Sfx, PlayingBeforeLoadingOrAFailedLoadHandsTheLayerNoSound) {
    TRecordingSoundLayer layer;
    layer.FailLoads = true;
    TSfx sfx(layer, "/missing/");
    sfx.Play(3);
    sfx.LoadSounds();
    sfx.Play(3);
    EXPECT_EQ(layer.Log[1], "play 0");
    EXPECT_EQ(layer.Log.back(), "play 0");
}
