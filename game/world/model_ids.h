#pragma once
// The sphere models the game draws, by name, each with the zoom and pitch it
// is drawn at and, when it never turns, its yaw. The build writes the names
// and values into world/model_table.h from data/model_ids.csv, which the
// model generator and the shipped-models test read as well: a model is
// added or changed there, and only there.

#include <array>
#include <cstdint>

namespace gb::model {

// Drawn at a yaw its drawer works out: a heading, a facing, a spin.
struct TModel {
    std::int32_t Id;
    float Zoom;
    float Pitch;
};

// Drawn at one yaw only.
struct TFixedModel {
    std::int32_t Id;
    float Zoom;
    float Pitch;
    float Yaw;
};

// A way of drawing other models: Lying, for the fallen.
struct TView {
    float Zoom;
    float Pitch;
    float Yaw;
};

}  // namespace gb::model

#include "world/model_table.h"

namespace gb::model {

// Chosen by an index rather than named one by one.
inline constexpr std::array<TFixedModel, 4> ItemIcons{HandIcon, PresentIcon, RodIcon, BaubleIcon};  // by item
inline constexpr std::array<TModel, 2> PointerArrows{Arrow1, Arrow2};  // pointers 1 and 2
inline constexpr std::array<TFixedModel, 3> ExplosionFrames{Explosion1, Explosion2, Explosion3};  // by age
inline constexpr std::array<TFixedModel, 3> FireworkBursts{FireworkRed, FireworkGold, FireworkGreen};  // by colour

// A walker's standing figure and its two stepping frames.
struct TWalker {
    TModel Standing;
    TModel StepLeft;
    TModel StepRight;
};

// The looks a villager of a kind may wear, by TPostac::Look; the first is
// the one worn when the map names none.
inline constexpr std::array<TModel, 8> ParentLooks{Parent,  Parent2, Parent3, Parent4,
                                                   Parent5, Parent6, Parent7, Parent8};
inline constexpr std::array<TWalker, 6> ChildLooks{{
    {Child, ChildStepLeft, ChildStepRight},
    {Child2, Child2StepLeft, Child2StepRight},
    {Child3, Child3StepLeft, Child3StepRight},
    {Child4, Child4StepLeft, Child4StepRight},
    {Child5, Child5StepLeft, Child5StepRight},
    {Child6, Child6StepLeft, Child6StepRight},
}};

// Any number picks a look: they repeat.
constexpr const TModel& ParentLook(std::uint32_t look) { return ParentLooks[look % ParentLooks.size()]; }
constexpr const TWalker& ChildLook(std::uint32_t look) { return ChildLooks[look % ChildLooks.size()]; }

}  // namespace gb::model
