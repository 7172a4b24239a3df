#include "world/lista.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>

#include "runtime/display.h"
#include "world/bohater.h"
#include "world/cos_na_ziemi.h"
#include "world/efekt.h"
#include "world/game_interface.h"
#include "world/gfx.h"
#include "world/murek.h"
#include "world/postac.h"
#include "world/speech_bubbles.h"
#include "world/world_time.h"

namespace gb {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

void StopIfWalkingTo(TBohater& hero, const TCos& object) {
    if (hero.Target == &object) hero.SetCommand(TBohater::NoCommand, 0, 0, nullptr);
}

}  // namespace

TLista::TLista(const TWorldContext& world) : World(world) {}

TLista::~TLista() = default;

TLista::TLayerItems& TLista::Items(std::int32_t layer) {
    return Layers.at(static_cast<std::size_t>(layer));
}

const TLista::TLayerItems& TLista::Items(std::int32_t layer) const {
    return Layers.at(static_cast<std::size_t>(layer));
}

std::int32_t TLista::Count(std::int32_t layer) const { return static_cast<std::int32_t>(Items(layer).size()); }

TCos& TLista::Item(std::int32_t layer, std::int32_t index) const {
    return *Items(layer).at(static_cast<std::size_t>(index));
}

TCos& TLista::Add(std::unique_ptr<TCos> object, std::int32_t layer) {
    TLayerItems& items = Items(layer);
    const auto place = std::find_if(items.begin(), items.end(),
                                    [y = object->Y](const std::unique_ptr<TCos>& other) { return other->Y >= y; });
    return **items.insert(place, std::move(object));
}

void TLista::AddAll(std::vector<std::unique_ptr<TCos>> objects, std::int32_t layer) {
    TLayerItems& items = Items(layer);
    // Add puts a newcomer before the equal Ys already there, so equal Ys end
    // up latest added first, and the batch goes before the layer's own.
    std::reverse(objects.begin(), objects.end());
    std::stable_sort(objects.begin(), objects.end(),
                     [](const std::unique_ptr<TCos>& a, const std::unique_ptr<TCos>& b) { return a->Y < b->Y; });
    // Merged from the back in place: what lies before the batch's smallest Y
    // is not even looked at, as when a map is put in part by part.
    std::size_t kept = items.size();
    std::size_t added = objects.size();
    items.resize(kept + added);
    for (std::size_t to = items.size(); added > 0;) {
        --to;
        if (kept > 0 && !(items[kept - 1]->Y < objects[added - 1]->Y))
            items[to] = std::move(items[--kept]);
        else
            items[to] = std::move(objects[--added]);
    }
}

void TLista::Reserve(std::int32_t layer, std::size_t count) { Items(layer).reserve(count); }

void TLista::Delete(std::int32_t layer, std::int32_t index) {
    TLayerItems& items = Items(layer);
    const TCos& object = *items.at(static_cast<std::size_t>(index));
    TBohater& hero = World.Game.Hero();
    StopIfWalkingTo(hero, object);
    // A map may hold a second hero besides the game's; none keeps a freed target.
    for (const auto& other : Layers[ObjectLayer])
        if (auto* another = dynamic_cast<TBohater*>(other.get()); another && another != &hero)
            StopIfWalkingTo(*another, object);
    items.erase(items.begin() + index);
}

void TLista::Swap(std::int32_t layer, std::int32_t i, std::int32_t j) {
    TLayerItems& items = Items(layer);
    std::swap(items.at(static_cast<std::size_t>(i)), items.at(static_cast<std::size_t>(j)));
}

bool TLista::IsOnScreen(const TCos& object, std::int32_t camX, std::int32_t camY) {
    const double x = object.X;
    const double y = object.Y;
    const double r = object.Radius;
    return x - r - camX < TDisplay::ScreenWidth && x + r - camX > 0 && y - r - camY < TDisplay::ScreenHeight &&
           y + r - camY > 0;
}

void TLista::Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const {
    for (const TLayerItems& items : Layers)
        for (const auto& object : items)
            if (IsOnScreen(*object, camX, camY)) object->Draw(surface, camX, camY);
}

void TLista::DrawSpeechBubbles(TSurface& surface, std::int32_t camX, std::int32_t camY, const TRect& area) const {
    std::vector<const TPostac*> speakers;
    std::vector<TRect> wanted;
    for (const auto& object : Layers[ObjectLayer]) {
        const auto* character = dynamic_cast<const TPostac*>(object.get());
        if (!character || character->Speech.empty() || !IsOnScreen(*character, camX, camY)) continue;
        speakers.push_back(character);
        wanted.push_back(character->SpeechRect(camX, camY));
    }
    const std::vector<TRect> placed = LayOutBubbles(wanted, area);
    for (std::size_t i = 0; i < speakers.size(); ++i) speakers[i]->DrawSpeech(surface, placed[i]);
}

TCos* TLista::FindById(std::string_view id) const {
    if (id.empty()) return nullptr;
    for (const auto& object : Layers[ObjectLayer])
        if (object->Id == id) return object.get();
    return nullptr;
}

TCos* TLista::ObjectAt(std::int32_t layer, float x, float y) const {
    for (const auto& object : Items(layer)) {
        const double r = object->Radius;
        if (object->X - r <= x && x < object->X + r && object->Y - r <= y && y < object->Y + r) return object.get();
    }
    return nullptr;
}

TCos* TLista::PickAt(std::int32_t layer, std::int32_t screenX, std::int32_t screenY, std::int32_t camX,
                     std::int32_t camY, const TCos* exclude) const {
    const TLayerItems& items = Items(layer);
    for (auto object = items.rbegin(); object != items.rend(); ++object) {
        if (object->get() == exclude || !IsOnScreen(**object, camX, camY)) continue;
        const TCos& drawn = **object;
        if (!World.Gfx.Covers(screenX, screenY,
                              [&drawn, camX, camY](TSurface& surface) { drawn.Draw(surface, camX, camY); }))
            continue;
        if (dynamic_cast<const TMurek*>(&drawn)) break;
        return object->get();
    }
    const double worldX = static_cast<double>(screenX) + camX;
    const double worldY = static_cast<double>(screenY) + camY;
    return ObjectAt(layer, static_cast<float>(worldX), static_cast<float>(worldY));
}

TCos* TLista::HitTest(std::int32_t layer, std::int32_t radius, const TCos* exclude, float x, float y) const {
    for (const auto& object : Items(layer))
        if (object.get() != exclude && Overlaps(*object, radius, x, y)) return object.get();
    return nullptr;
}

bool TLista::Overlaps(const TCos& object, double radius, float x, float y) {
    const double r = object.Radius;
    return object.X + r > x - radius && object.X - r < x + radius && object.Y + r > y - radius &&
           object.Y - r < y + radius;
}

bool TLista::Update(std::uint32_t now, std::uint32_t elapsed, std::int32_t camX, std::int32_t camY) {
    TFrame frame{now, elapsed, camX, camY, IsPast(DistanceCheck, DistanceInterval, now), false};
    if (frame.DistanceDue) DistanceCheck = now;
    for (std::int32_t layer = 0; layer < LayerCount; ++layer) Walk(layer, frame);
    for (TLayerItems& items : Layers) RestoreOrder(items);
    return frame.Explosion;
}

// From the last index down. An object that moves forward in the layer lets
// the ones it passed come next, and is not handled again when the walk
// reaches it; one that moves backward has passed only handled ones. The
// mark of this walk on each handled object tells them apart.
void TLista::Walk(std::int32_t layer, TFrame& frame) {
    TLayerItems& items = Items(layer);
    const std::uint64_t mark = ++WalkCount;
    for (std::size_t cursor = items.size(); cursor > 0;) {
        cursor = std::min(cursor, items.size());
        if (cursor == 0) break;
        TCos& object = *items[cursor - 1];
        if (object.WalkMark == mark) {
            --cursor;
            continue;
        }
        object.WalkMark = mark;
        Handle(layer, cursor - 1, frame);
    }
}

void TLista::Handle(std::int32_t layer, std::size_t index, TFrame& frame) {
    TCos& object = *Items(layer)[index];
    if (!IsOnScreen(object, frame.CamX, frame.CamY)) return;

    if (object.Angle > kTwoPi)
        object.Angle = static_cast<float>(object.Angle - kTwoPi);
    else if (object.Angle < 0)
        object.Angle = static_cast<float>(object.Angle + kTwoPi);

    if (layer == ObjectLayer && object.Speed != 0) index = Move(index, frame.Elapsed);

    if (!frame.Explosion)
        if (const auto* effect = dynamic_cast<const TEfekt*>(&object); effect && effect->Kind == TEfekt::Explosion)
            frame.Explosion = true;

    if (frame.DistanceDue) ReportDistance(object);

    if (object.Update(frame.Now, frame.Elapsed)) Finish(layer, object, index);
}

std::size_t TLista::Move(std::size_t index, std::uint32_t elapsed) {
    TLayerItems& items = Layers[ObjectLayer];
    TCos& object = *items[index];
    const float x0 = object.X;
    const float y0 = object.Y;
    const double distance = static_cast<double>(elapsed) * object.Speed;
    const auto nx = static_cast<float>(x0 + std::cos(static_cast<double>(object.Angle)) * distance);
    const auto ny = static_cast<float>(y0 - std::sin(static_cast<double>(object.Angle)) * distance);
    // What the mover overlaps already holds him only when he would go deeper
    // into it: otherwise one put inside another (by the script, or a figure
    // rising under him) could never move again.
    const auto deeper = [&](const TCos& other, float x, float y) {
        return std::hypot(other.X - x, other.Y - y) < std::hypot(other.X - x0, other.Y - y0);
    };
    const auto blocker = [&](float x, float y) -> TCos* {
        for (const auto& other : items)
            if (other.get() != &object && Overlaps(*other, object.Radius, x, y) &&
                (!Overlaps(*other, object.Radius, x0, y0) || deeper(*other, x, y)))
                return other.get();
        return nullptr;
    };

    float toX = nx;
    float toY = ny;
    bool moves = true;
    TCos* partner = nullptr;
    if (TCos* ahead = blocker(nx, ny)) {
        if (TCos* alongX = blocker(nx, y0)) {
            if (TCos* alongY = blocker(x0, ny)) {
                moves = false;
                partner = alongY;
            } else {
                toX = x0;
                partner = alongX;
            }
        } else {
            toY = y0;
            partner = ahead;
        }
    }
    if (partner) object.Collide(*partner);
    // The collision may have put the object somewhere else (the hero getting
    // into the sleigh); then it stays where it was put.
    if (!moves || object.X != x0 || object.Y != y0) return index;
    object.X = toX;
    object.Y = toY;
    return Reposition(items, index);
}

std::size_t TLista::Reposition(TLayerItems& items, std::size_t index) {
    const float y = items[index]->Y;
    if (index > 0 && items[index - 1]->Y > y) {
        while (index > 0 && items[index - 1]->Y > y) {
            std::swap(items[index - 1], items[index]);
            --index;
        }
    } else {
        while (index + 1 < items.size() && items[index + 1]->Y < y) {
            std::swap(items[index + 1], items[index]);
            ++index;
        }
    }
    return index;
}

void TLista::ReportDistance(TCos& object) {
    const TBohater& hero = World.Game.Hero();
    const double dx = static_cast<double>(hero.X) - object.X;
    const double dy = static_cast<double>(hero.Y) - object.Y;
    if (!(std::sqrt(dx * dx + dy * dy) < DistanceRange)) return;
    if (auto* snowman = dynamic_cast<TPostac*>(&object); snowman && snowman->Kind == TPostac::Snowman)
        snowman->Angle = static_cast<float>(-std::atan2(dy, dx == 0 ? 0.0001 : dx));
    World.Game.FireEvent("distance", std::string(object.Id));
}

void TLista::Finish(std::int32_t layer, TCos& object, std::size_t index) {
    if (auto* character = dynamic_cast<TPostac*>(&object)) {
        auto lying = std::make_unique<TCosNaZiemi>(World, character->Kind);
        lying->X = character->X;
        lying->Y = character->Y;
        if (character->Kind == TPostac::Parent || character->Kind == TPostac::Child) lying->Id = character->Id;
        lying->Look = character->Look;
        Add(std::move(lying), GroundLayer);
        const std::string id = character->Id;
        // Even when the script's answer raises, the fallen one goes: left
        // standing, it would fall again next frame and lie there twice.
        try {
            World.Game.FireEvent("fall", id);
        } catch (...) {
            Remove(layer, object, index);
            throw;
        }
        Remove(layer, object, index);
    } else if (auto* lying = dynamic_cast<TCosNaZiemi*>(&object)) {
        if (lying->Kind == TPostac::Snowman) return;
        if (HitTest(ObjectLayer, lying->Radius, nullptr, lying->X, lying->Y)) return;
        auto standing = std::make_unique<TPostac>(World, lying->Kind);
        standing->X = lying->X;
        standing->Y = lying->Y;
        standing->Id = lying->Id;
        standing->Look = lying->Look;
        Add(std::move(standing), ObjectLayer);
        Remove(layer, object, index);
    } else {
        Remove(layer, object, index);
    }
}

void TLista::Remove(std::int32_t layer, const TCos& object, std::size_t hint) {
    const TLayerItems& items = Items(layer);
    std::size_t index = hint;
    if (index >= items.size() || items[index].get() != &object) {
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&object](const std::unique_ptr<TCos>& item) { return item.get() == &object; });
        if (found == items.end()) return;
        index = static_cast<std::size_t>(found - items.begin());
    }
    Delete(layer, static_cast<std::int32_t>(index));
}

void TLista::RestoreOrder(TLayerItems& items) {
    for (std::size_t i = 1; i < items.size(); ++i)
        for (std::size_t j = i; j > 0 && items[j - 1]->Y > items[j]->Y; --j) std::swap(items[j - 1], items[j]);
}

}  // namespace gb
