#pragma once
// Everything in the game world is a TCos: a point on the ground with a square
// footprint, a heading, a speed, and the id by which the script names it. The
// object list (TLista) draws, advances and collides it each frame.

#include <cstdint>
#include <string>

#include "world/model_ids.h"
#include "world/world_context.h"

namespace gb {

class TSurface;

// The side of a map cell, in world pixels.
constexpr std::int32_t MapCellSize = 48;

// To the nearest integer, halves to even; NaN gives 0 and values beyond the
// 32-bit range stop at its ends, so any float position has a pixel.
std::int32_t RoundToPixel(double value);
// a - b, held within the 32-bit range.
std::int32_t PixelOffset(std::int32_t a, std::int32_t b);

class TCos {
public:
    explicit TCos(const TWorldContext& world) : World(world) {}
    virtual ~TCos() = default;
    TCos(const TCos&) = delete;
    TCos& operator=(const TCos&) = delete;

    // camX, camY: the world point at the view's top-left corner.
    virtual void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const;
    // True when the object is finished and the list is to take it away.
    virtual bool Update(std::uint32_t now, std::uint32_t elapsed);
    // The object ran into `other` while the list moved it.
    virtual void Collide(TCos& other);

    float X = 0;  // footprint centre, world pixels; Y is also the drawing order
    float Y = 0;
    std::int32_t Radius = 0;  // half the footprint's side; the sprite's base offset
    float Angle = 0;          // radians: 0 towards screen right, pi/2 up the screen
    float Speed = 0;          // pixels per millisecond along Angle
    std::string Id;

protected:
    // The model's sprite with its bottom edge on the footprint's lower edge.
    void DrawFigure(TSurface& surface, std::int32_t camX, std::int32_t camY, std::int32_t modelId, float yaw,
                    float pitch, float zoom) const;
    void DrawFigure(TSurface& surface, std::int32_t camX, std::int32_t camY, const model::TModel& figure,
                    float yaw) const {
        DrawFigure(surface, camX, camY, figure.Id, yaw, figure.Pitch, figure.Zoom);
    }
    void DrawFigure(TSurface& surface, std::int32_t camX, std::int32_t camY, const model::TFixedModel& figure) const {
        DrawFigure(surface, camX, camY, figure.Id, figure.Yaw, figure.Pitch, figure.Zoom);
    }
    std::int32_t ScreenX(std::int32_t camX) const { return PixelOffset(RoundToPixel(X), camX); }
    std::int32_t ScreenY(std::int32_t camY) const { return PixelOffset(RoundToPixel(Y), camY); }

    const TWorldContext World;

private:
    friend class TLista;
    std::uint64_t WalkMark = 0;  // the list's walk that handled it last
};

}  // namespace gb
