#pragma once
// Stand-ins for what the world needs from outside when nothing is to be
// heard or scripted: a sound layer that plays nothing, and a game controller
// whose events and sleigh rides do nothing.

#include <string>
#include <string_view>

#include "runtime/sound_layer.h"
#include "world/game_interface.h"

namespace gb::test_support {

class TSilentSoundLayer : public TSoundLayer {
public:
    bool Start(int, int) override { return false; }
    TSampleHandle LoadSample(const std::string&) override { return 0; }
    TChannelHandle PlaySample(TSampleHandle) override { return 0; }
    void StopChannel(TChannelHandle) override {}
    void FreeSample(TSampleHandle) override {}
    TStreamHandle OpenStream(const std::string&) override { return 0; }
    void PlayStream(TStreamHandle) override {}
    void StopStream(TStreamHandle) override {}
    void Beep(int, int) override {}
    void Close() override {}
};

class TStillGame : public TGameInterface {
public:
    void FireEvent(std::string_view, std::string_view) override {}
    void SetRiding(bool) override {}
    TBohater& Hero() override { return *HeroObject; }
    TLista& Objects() override { return *List; }

    TBohater* HeroObject = nullptr;
    TLista* List = nullptr;
};

}  // namespace gb::test_support
