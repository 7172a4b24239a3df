#pragma once
// A small world for tests: a sprite bank over models of our own (every
// model ID the world draws, each a solid box of its own colour), a sound
// player on the recording sound layer, a recording stand-in for the game
// controller, and the object list.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/bbx_collection.h"
#include "runtime/platform/null/box_text_renderer.h"
#include "runtime/platform/null/recording_sound_layer.h"
#include "runtime/sfx.h"
#include "runtime/surface.h"
#include "support/temp_folder.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/still_game.h"

namespace gb::test_support {

constexpr auto kWorldFormat = bbx::TPixelFormat::Xrgb8888;
constexpr int kSpriteWidth = 20;
constexpr int kSpriteHeight = 30;

// Every ID the game draws lies in this range.
constexpr int kFirstModelId = -24;
constexpr int kLastModelId = 399;

// Model IDs by their red and blue channels; -11 .. 25 by red alone, as
// they always were.
inline bbx::TColor ModelColor(int id) {
    const int n = 100 + id;
    return bbx::RGB(static_cast<std::uint8_t>(n % 256), 200, static_cast<std::uint8_t>(60 + n / 256));
}

struct TEvent {
    std::string Name;
    std::string Value;
    bool operator==(const TEvent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const TEvent& e) {
    return out << e.Name << "(" << e.Value << ")";
}

class TRecordingGame : public TStillGame {
public:
    void FireEvent(std::string_view name, std::string_view value) override {
        Events.push_back({std::string(name), std::string(value)});
        if (OnEvent) OnEvent(name, value);
    }
    void SetRiding(bool on) override {
        Riding.push_back(on);
        if (OnSetRiding) OnSetRiding(on);
    }
    int CountOf(std::string_view name) const {
        int n = 0;
        for (const TEvent& e : Events) n += e.Name == name;
        return n;
    }

    std::vector<TEvent> Events;
    std::vector<bool> Riding;
    std::function<void(std::string_view, std::string_view)> OnEvent;
    std::function<void(bool)> OnSetRiding;
};

// The models file, written once per process into a folder of its own that
// goes when the process ends.
inline const std::string& ModelDirectory() {
    static const TTempFolder folder;
    static const std::string directory = [] {
        bbx::Tbbx_collection models;
        for (int id = kFirstModelId; id <= kLastModelId; ++id) {
            bbx::Tbbx_model* m = models.Add();
            m->ID = id;
            m->I1 = kSpriteWidth;
            m->I2 = kSpriteHeight;
            m->AddElement(bbx::MakeSphere(ModelColor(id), 0, 0, 0, 500));
        }
        models.SaveToFile(folder.File("models.bbx"));
        return folder.Directory();
    }();
    return directory;
}

// A sprite as the bank rendered it.
struct TRendered {
    std::int32_t ModelId;
    float Yaw;
    float Pitch;
    float Zoom;
};

class TWorldRig {
public:
    // The hero starts far off the view, so that he takes part in nothing.
    explicit TWorldRig(int spriteCacheSize = 1000, float angleTolerance = 0)
        : Gfx(kWorldFormat, Text, spriteCacheSize, angleTolerance), Sfx(Sound, "/") {
        Gfx.Initialize(ModelDirectory());
        Sfx.LoadSounds();
        Game.List = &List;
        Game.HeroObject = &Add<TBohater>(TLista::ObjectLayer, -100000, -100000);
        Screen.SetSize(800, 600);
    }

    template <class T, class... Arguments>
    T& Add(std::int32_t layer, float x, float y, Arguments&&... arguments) {
        auto object = std::make_unique<T>(Context, std::forward<Arguments>(arguments)...);
        object->X = x;
        object->Y = y;
        T& added = *object;
        List.Add(std::move(object), layer);
        return added;
    }

    TBohater& Hero() { return *Game.HeroObject; }
    TBohater& HeroAt(float x, float y) {
        Hero().X = x;
        Hero().Y = y;
        return Hero();
    }

    // The numbers of the effects played so far, in order ("/sfx/07.wav" is 7).
    std::vector<int> Effects() const {
        std::vector<int> effects;
        for (const std::string& path : Sound.Played) effects.push_back(std::stoi(path.substr(path.size() - 6, 2)));
        return effects;
    }

    // The sprites rendered so far, oldest first (while the cache has not wrapped).
    std::vector<TRendered> Rendered() const {
        std::vector<TRendered> out;
        for (std::int32_t slot = 0; slot < Gfx.NextSlot; ++slot) {
            const TGfxCos* s = Gfx.Sprite(slot);
            out.push_back({s->ModelId, s->Yaw, s->Pitch, s->Zoom});
        }
        return out;
    }

    // The model ID whose box covers the screen pixel, or nothing (-100).
    int ModelAt(int x, int y) const {
        const bbx::TColor c = Screen.Buffer().UnmapPixel(Screen.Pixel(x, y));
        for (int id = kFirstModelId; id <= kLastModelId; ++id)
            if (c == ModelColor(id)) return id;
        return -100;
    }

    TBoxTextRenderer Text{6, 12};
    TGfx Gfx;
    TRecordingSoundLayer Sound;
    TSfx Sfx;
    TRecordingGame Game;
    TWorldContext Context{Gfx, Sfx, Game};
    TLista List{Context};
    TSurface Screen{kWorldFormat};
};

}  // namespace gb::test_support
