#pragma once
// A fallen character lying on the ground (in the list's ground layer, so
// nothing runs into it). When its timer has run out the list stands it up
// again as soon as its place is free; a melted snowman, a fallen angel and
// a fallen grandfather frost stay down for ever.

#include <cstdint>

#include "world/cos.h"

namespace gb {

class TCosNaZiemi : public TCos {
public:
    static constexpr std::int32_t Never = -1;
    // The timer of one that has run out; never -1, which would mean
    // "never", however long its place stays taken.
    static constexpr std::int32_t RunOut = -2;

    // `kind` is the fallen character's kind (TPostac::Kind); kinds it does
    // not know lie for ever and are not drawn.
    TCosNaZiemi(const TWorldContext& world, std::uint32_t kind);

    void Draw(TSurface& surface, std::int32_t camX, std::int32_t camY) const override;
    // True once the timer has run out (and in every frame after that).
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;

    std::uint32_t Kind;
    std::uint32_t Look = 0;  // the fallen parent's or child's TPostac::Look
    std::int32_t Timer;  // ms until it may get up, or Never
};

}  // namespace gb
