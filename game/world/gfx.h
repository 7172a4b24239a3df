#pragma once
// The sprite bank: the game's single source of images. It renders sphere
// models into sprites on demand and keeps them in a ring cache, and owns the
// fixed images made at start-up (ground, wall, bar textures, buttons, the
// cinematic band) and the shared game font.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/bbx_collection.h"
#include "core/pixel_buffer.h"
#include "runtime/gfx_font.h"
#include "runtime/surface.h"

namespace gb {

class TTextRenderer;

// One cached sprite: a model rendered at one pair of angles.
struct TGfxCos {
    explicit TGfxCos(bbx::TPixelFormat format) : Surface(format) {}
    // When the surface cannot take the size nothing changes.
    void SetSize(std::int32_t width, std::int32_t height);

    TSurface Surface;
    std::int32_t ModelId = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    float Yaw = 0;
    float Pitch = 0;
    float Zoom = 0;
};

class TGfx {
public:
    static constexpr std::int32_t DefaultSpriteCacheSize = 200;
    static constexpr float DefaultAngleTolerance = 0.1f;
    // The sprites' pixels together stay within this many bytes.
    static constexpr std::size_t DefaultSpriteMemoryBudget = std::size_t{256} << 20;

    // A cache size below 1 keeps one slot and a negative tolerance counts as
    // 0, so that any setting gives a working bank. The memory budget evicts
    // the oldest sprites first, but the newest one is kept even when it alone
    // exceeds the budget.
    TGfx(bbx::TPixelFormat format, TTextRenderer& text, std::int32_t spriteCacheSize = DefaultSpriteCacheSize,
         float angleTolerance = DefaultAngleTolerance, std::size_t spriteMemoryBudget = DefaultSpriteMemoryBudget);

    // The budget for a setting in megabytes; a negative one counts as 0.
    static std::size_t SpriteMemoryFromMegabytes(std::int32_t megabytes);

    // Builds the fixed images and loads `directory` + "models.bbx"; the
    // model file's errors propagate (the band image is then not made).
    void Initialize(const std::string& directory);

    // The model's sprite with its bottom centre at (x, y + baseOffset), or its
    // top-left corner at (x, y) when topLeft; rendered and cached on a miss.
    // An ID the model file lacks draws nothing; so does a model with more
    // spheres than a render takes (bbx::kMaxRenderSpheres), whose first
    // request adds one entry naming it to "Errors.log" in the directory given
    // to Initialize, and play goes on. A sprite is stored in its slot
    // only once it is whole: when rendering fails (out of memory) the error
    // propagates, NextSlot stays, and only sprites evicted for the budget are
    // gone.
    void DrawModel(TSurface& target, int x, int y, int baseOffset, std::int32_t modelId, float yaw, float pitch,
                   float zoom, bool topLeft = false);
    void DrawWall(TSurface& target, int x, int y, int baseOffset);
    void DrawGround(TSurface& target, int x, int y);
    void DrawPointer(TSurface& target, int x, int y);
    // The font's colour index of the outline that DrawNumber rings its
    // figures with (after grey, white and aqua).
    static constexpr int OutlineColor = 3;
    // Right-aligned at x with its top at y, in a dark outline one pixel wide.
    void DrawNumber(TSurface& target, int x, int y, int number, int colorIndex);
    void DrawHealthBar(TSurface& target, int maximum, float value);
    void DrawGoodnessBar(TSurface& target, float value);

    // Whether what `draw` puts on a surface through this bank covers the
    // point (x, y) of that surface: a sprite's pixel other than its colour
    // key, or any pixel of the wall image. Nothing is drawn meanwhile; a
    // sprite that is not cached yet is rendered and cached as drawing would.
    bool Covers(int x, int y, const std::function<void(TSurface&)>& draw);

    std::int32_t NextSlot = 0;
    const std::int32_t SpriteCacheSize;
    const float AngleTolerance;
    const std::size_t SpriteMemoryBudget;

    TSurface GroundImage;
    TSurface WallImage;
    TSurface GreyImage;
    TSurface RedImage;
    TSurface BlueImage;
    TSurface BandImage;
    std::array<std::unique_ptr<TSurface>, 3> ButtonImages;  // normal, hovered, pressed
    bbx::Tbbx_collection Models;
    Tgfx_Font Font;

    const TGfxCos* Sprite(std::int32_t slot) const { return Sprites[static_cast<std::size_t>(slot)].get(); }
    // The bytes the cached sprites' pixels take.
    std::size_t SpriteBytes() const { return CachedBytes; }

private:
    void DrawSprite(TSurface& target, int x, int y, int baseOffset, const TGfxCos& sprite, bool topLeft);
    // While Covers runs: the point asked about and whether something drew on it.
    struct TProbe {
        int X;
        int Y;
        bool Hit = false;
    };
    // False for a model beyond the sphere limit, which is logged the first
    // time.
    bool Renderable(const bbx::Tbbx_model& model);
    // Frees the oldest sprites, in ring order from NextSlot, until `bytes`
    // more fit within the budget or none is left.
    void MakeRoom(std::size_t bytes);
    void Evict(std::int32_t slot);
    // Puts the whole sprite into slot NextSlot, freeing the one there.
    void Store(std::unique_ptr<TGfxCos> sprite);

    bbx::TPixelFormat Format;
    std::vector<std::unique_ptr<TGfxCos>> Sprites;
    std::size_t CachedBytes = 0;
    std::set<std::int32_t> RefusedModels;
    std::string Directory;
    std::optional<TProbe> Probe;
};

}  // namespace gb
