// Putting many objects into the list at once must give the very order that
// adding them one by one gives, ties among equal Ys included, also on top of
// what the layer already holds.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/random.h"
#include "support/world_test_support.h"
#include "world/murek.h"
#include "world/static_cos.h"

using namespace gb;
using gb::test_support::TWorldRig;

namespace {

struct TPlace {
    float X;
    float Y;
};

// Few distinct Ys, so that most objects share theirs with others.
std::vector<TPlace> RandomPlaces(int count) {
    std::vector<TPlace> places;
    for (int i = 0; i < count; ++i)
        places.push_back({static_cast<float>(bbx::Random(800)), static_cast<float>(bbx::Random(6) * 48)});
    return places;
}

// Walls and trees in turn, each named by its place in the sequence.
std::unique_ptr<TCos> Made(TWorldRig& rig, const TPlace& place, std::size_t n) {
    std::unique_ptr<TCos> object;
    if (n % 2 == 0)
        object = std::make_unique<TMurek>(rig.Context);
    else
        object = std::make_unique<TStaticCos>(rig.Context, TStaticCos::Tree);
    object->X = place.X;
    object->Y = place.Y;
    object->Id = "o" + std::to_string(n);
    return object;
}

std::vector<std::string> LayerIds(const TLista& list, std::int32_t layer) {
    std::vector<std::string> ids;
    for (std::int32_t i = 0; i < list.Count(layer); ++i) ids.push_back(list.Item(layer, i).Id);
    return ids;
}

}  // namespace

// Lists of their own on the rig's world: adding never reaches the game.
TEST(ListaAddAll, GivesTheOrderOfAddingOneByOne) {
    TWorldRig rig;
    for (const std::uint32_t seed : {1u, 2u, 3u}) {
        bbx::RandSeed(seed);
        const std::vector<TPlace> already = RandomPlaces(40);
        const std::vector<TPlace> batch = RandomPlaces(300);
        for (const std::int32_t layer : {TLista::GroundLayer, TLista::ObjectLayer}) {
            TLista oneByOne(rig.Context);
            TLista atOnce(rig.Context);
            for (std::size_t n = 0; n < already.size(); ++n) {
                oneByOne.Add(Made(rig, already[n], n), layer);
                atOnce.Add(Made(rig, already[n], n), layer);
            }
            std::vector<std::unique_ptr<TCos>> objects;
            for (std::size_t n = 0; n < batch.size(); ++n) {
                oneByOne.Add(Made(rig, batch[n], already.size() + n), layer);
                objects.push_back(Made(rig, batch[n], already.size() + n));
            }
            atOnce.AddAll(std::move(objects), layer);
            EXPECT_EQ(LayerIds(atOnce, layer), LayerIds(oneByOne, layer)) << "seed " << seed << ", layer " << layer;
            EXPECT_EQ(atOnce.Count(layer), 340);
        }
    }
}

TEST(ListaAddAll, InTwoBatchesAsInOneAndNothingForAnEmptyOne) {
    bbx::RandSeed(9);
    const std::vector<TPlace> places = RandomPlaces(200);
    TWorldRig rig;
    TLista oneBatch(rig.Context);
    TLista twoBatches(rig.Context);
    std::vector<std::unique_ptr<TCos>> all;
    std::vector<std::unique_ptr<TCos>> first;
    std::vector<std::unique_ptr<TCos>> second;
    for (std::size_t n = 0; n < places.size(); ++n) {
        all.push_back(Made(rig, places[n], n));
        (n < 120 ? first : second).push_back(Made(rig, places[n], n));
    }
    oneBatch.AddAll(std::move(all), TLista::ObjectLayer);
    twoBatches.AddAll(std::move(first), TLista::ObjectLayer);
    twoBatches.AddAll({}, TLista::ObjectLayer);
    twoBatches.AddAll(std::move(second), TLista::ObjectLayer);
    EXPECT_EQ(LayerIds(twoBatches, TLista::ObjectLayer), LayerIds(oneBatch, TLista::ObjectLayer));
    EXPECT_EQ(twoBatches.Count(TLista::ObjectLayer), 200);
}

TEST(ListaAddAll, RefusesALayerThatIsNotThere) {
    TWorldRig rig;
    std::vector<std::unique_ptr<TCos>> objects;
    objects.push_back(Made(rig, {0, 0}, 0));
    EXPECT_THROW(rig.List.AddAll(std::move(objects), TLista::LayerCount), std::out_of_range);
    for (std::int32_t layer = 0; layer < TLista::LayerCount; ++layer)
        EXPECT_EQ(rig.List.Count(layer), layer == TLista::ObjectLayer ? 1 : 0);
}
