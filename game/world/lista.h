#pragma once
// The list of every object of the game world, in three layers kept in
// ascending order of Y (the drawing order): objects lying on the ground, the
// objects of the map, and effects. Each frame it advances the objects on
// the view, moves those of the object layer that have a speed, sliding them
// along what they run into, raises the script's "distance" and "fall"
// events, lays fallen characters down and stands them up again, and removes
// finished objects. It owns its objects.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "runtime/rect.h"
#include "world/cos.h"
#include "world/world_context.h"

namespace gb {

class TLista {
public:
    enum TLayer : std::int32_t { GroundLayer = 0, ObjectLayer = 1, EffectLayer = 2 };
    static constexpr std::int32_t LayerCount = 3;
    static constexpr double DistanceRange = 150;  // pixels from the hero
    static constexpr std::uint32_t DistanceInterval = 1000;  // ms between checks

    explicit TLista(const TWorldContext& world);
    ~TLista();
    TLista(const TLista&) = delete;
    TLista& operator=(const TLista&) = delete;

    // Before the first object of the layer whose Y is not smaller. A layer
    // outside 0 .. 2 raises std::out_of_range.
    TCos& Add(std::unique_ptr<TCos> object, std::int32_t layer);
    // The same order as adding them one by one in the vector's order, in
    // O(n log n) instead of one linear search and shift per object: the
    // way to put a whole map in. The layer must be in order of Y, as it is
    // outside Update.
    void AddAll(std::vector<std::unique_ptr<TCos>> objects, std::int32_t layer);
    // Room for that many objects in the layer, so that adding them moves
    // none of the layer's entries again.
    void Reserve(std::int32_t layer, std::size_t count);
    // Stops the hero first when the object is what he is walking to. An
    // index outside the layer raises std::out_of_range.
    void Delete(std::int32_t layer, std::int32_t index);
    void Swap(std::int32_t layer, std::int32_t i, std::int32_t j);

    // Layer 0, 1, then 2, each first to last: the objects on the view.
    // camX, camY: the world point at the view's top-left corner.
    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const;
    static bool IsOnScreen(const TCos& object, std::int32_t camX, std::int32_t camY);
    // The speech bubbles of the characters on the view, over everything
    // drawn so far: laid out inside `area` (screen pixels) and stacked
    // where two would overlap (LayOutBubbles), in the object layer's order.
    void DrawSpeechBubbles(TSurface& surface, std::int32_t camX, std::int32_t camY, const TRect& area) const;

    // The first object of the object layer with this id; none for "".
    TCos* FindById(std::string_view id) const;
    // The first object whose footprint holds the point (its left and top
    // edges in, its right and bottom edges out).
    TCos* ObjectAt(std::int32_t layer, float x, float y) const;
    // What the player points at on the view: of the layer's objects on the
    // view other than `exclude` (the hero, who never means himself), the one
    // drawn last whose sprite covers the screen point with a non-transparent
    // pixel; when that is a wall, or no sprite covers it, ObjectAt of the
    // world point. camX, camY as for Draw.
    TCos* PickAt(std::int32_t layer, std::int32_t screenX, std::int32_t screenY, std::int32_t camX,
                 std::int32_t camY, const TCos* exclude = nullptr) const;
    // The first object other than `exclude` whose footprint overlaps the
    // square of half side `radius` around (x, y); touching is no overlap.
    TCos* HitTest(std::int32_t layer, std::int32_t radius, const TCos* exclude, float x, float y) const;
    // Whether the object's footprint overlaps the square of `radius` round (x, y); touching is no overlap.
    static bool Overlaps(const TCos& object, double radius, float x, float y);

    // One frame; true when an explosion is on the view.
    bool Update(std::uint32_t now, std::uint32_t elapsed, std::int32_t camX, std::int32_t camY);

    std::int32_t Count(std::int32_t layer) const;
    TCos& Item(std::int32_t layer, std::int32_t index) const;
    std::uint32_t LastDistanceCheck() const { return DistanceCheck; }

private:
    using TLayerItems = std::vector<std::unique_ptr<TCos>>;

    struct TFrame {
        std::uint32_t Now;
        std::uint32_t Elapsed;
        std::int32_t CamX;
        std::int32_t CamY;
        bool DistanceDue;
        bool Explosion;
    };

    TLayerItems& Items(std::int32_t layer);
    const TLayerItems& Items(std::int32_t layer) const;

    void Walk(std::int32_t layer, TFrame& frame);
    void Handle(std::int32_t layer, std::size_t index, TFrame& frame);
    // Moves the object, sliding; returns its index afterwards.
    std::size_t Move(std::size_t index, std::uint32_t elapsed);
    // Exchanges the object with its neighbours until its Y fits; returns
    // its index afterwards.
    std::size_t Reposition(TLayerItems& items, std::size_t index);
    void ReportDistance(TCos& object);
    // What becomes of an object whose Update reported it finished.
    void Finish(std::int32_t layer, TCos& object, std::size_t index);
    void Remove(std::int32_t layer, const TCos& object, std::size_t hint);
    // Objects that the script or the controller placed elsewhere are put
    // back in order, keeping the order of equal Ys.
    static void RestoreOrder(TLayerItems& items);

    const TWorldContext World;
    std::array<TLayerItems, LayerCount> Layers;
    std::uint32_t DistanceCheck = 0;
    std::uint64_t WalkCount = 0;
};

}  // namespace gb
