#pragma once
// The sprite bank: the game's single source of images. It renders sphere
// models into sprites on demand and keeps them in a ring cache, and owns the
// fixed images made at start-up (ground, wall, bar textures, buttons, the
// cinematic band) and the shared game font.

#include <array>
#include <cstdint>
#include <memory>
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

    // A cache size below 1 keeps one slot and a negative tolerance counts as
    // 0, so that any setting gives a working bank.
    TGfx(bbx::TPixelFormat format, TTextRenderer& text, std::int32_t spriteCacheSize = DefaultSpriteCacheSize,
         float angleTolerance = DefaultAngleTolerance);

    // Builds the fixed images and loads `directory` + "models.bbx"; the
    // model file's errors propagate (the band image is then not made).
    void Initialize(const std::string& directory);

    // The model's sprite with its bottom centre at (x, y + baseOffset), or its
    // top-left corner at (x, y) when topLeft; rendered and cached on a miss.
    // An ID the model file lacks draws nothing.
    void DrawModel(TSurface& target, int x, int y, int baseOffset, std::int32_t modelId, float yaw, float pitch,
                   float zoom, bool topLeft = false);
    void DrawWall(TSurface& target, int x, int y, int baseOffset);
    void DrawGround(TSurface& target, int x, int y);
    void DrawPointer(TSurface& target, int x, int y);
    // Right-aligned at x with its top at y, over a grey shadow.
    void DrawNumber(TSurface& target, int x, int y, int number, int colorIndex);
    void DrawHealthBar(TSurface& target, int maximum, float value);
    void DrawGoodnessBar(TSurface& target, float value);

    std::int32_t NextSlot = 0;
    const std::int32_t SpriteCacheSize;
    const float AngleTolerance;

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

private:
    void DrawSprite(TSurface& target, int x, int y, int baseOffset, const TGfxCos& sprite, bool topLeft) const;

    bbx::TPixelFormat Format;
    std::vector<std::unique_ptr<TGfxCos>> Sprites;
};

}  // namespace gb
