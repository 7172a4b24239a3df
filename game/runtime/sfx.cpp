#include "runtime/sfx.h"

#include <cstdio>
#include <utility>

namespace gb {

TSfx::TSfx(TSoundLayer& layer, std::string directory) : Sound(layer), Directory(std::move(directory)) {
    Sound.Start(44100, 16);
}

TSfx::~TSfx() { Sound.Close(); }

void TSfx::LoadSounds() {
    for (int n = 0; n < EffectCount; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "sfx/%.2d.wav", n);
        Handles[static_cast<std::size_t>(n)] = Sound.LoadSample(Directory + name);
    }
    Handles[MusicEntry] = Sound.OpenStream(Directory + "sfx/muza.mp3");
}

void TSfx::Play(int effect) {
    if (effect < 0 || effect >= EffectCount) return;
    Sound.PlaySample(Handles[static_cast<std::size_t>(effect)]);
}

void TSfx::PlayMusic() { Sound.PlayStream(Handles[MusicEntry]); }

void TSfx::StopMusic() { Sound.StopStream(Handles[MusicEntry]); }

}  // namespace gb
