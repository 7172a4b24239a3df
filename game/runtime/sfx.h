#pragma once
// The game's sound player: eleven numbered effects and one looping music
// stream from the "sfx" folder beside the program. Effects are fire and
// forget; every failure is silent.

#include <array>
#include <cstdint>
#include <string>

#include "runtime/sound_layer.h"

namespace gb {

class TSfx {
public:
    static constexpr int EffectCount = 11;

    // Starts the sound layer (44 100 Hz, 16 channels); `directory` ends with '/'.
    TSfx(TSoundLayer& layer, std::string directory);
    // Closes the layer, which releases every sample and the stream.
    ~TSfx();
    TSfx(const TSfx&) = delete;
    TSfx& operator=(const TSfx&) = delete;

    // "sfx/00.wav" ... "sfx/10.wav" and "sfx/muza.mp3".
    void LoadSounds();
    // An effect number outside 0 .. 10 plays nothing.
    void Play(int effect);
    void PlayMusic();
    void StopMusic();

    // The same library, for sounds played outside the player (the intro's).
    TSoundLayer& Layer() { return Sound; }

private:
    TSoundLayer& Sound;
    std::string Directory;
    static constexpr int MusicEntry = EffectCount;
    // Entries 0 .. 10 hold the effects' samples, entry 11 the music stream.
    std::array<std::uint32_t, EffectCount + 1> Handles{};
};

}  // namespace gb
