#pragma once
// The intro: a credit line builds up on a black screen as a field of small
// green squares that fill in at random, while the intro sound plays. It
// lasts until the main window replaces it on a key press.

#include <cstdint>
#include <string_view>
#include <vector>

#include "flow/screen.h"
#include "runtime/sound_layer.h"

namespace gb {

class TIntro : public TScreen {
public:
    // Cells of 3 x 3 pixels on a 4-pixel pitch cover the 800 x 600 screen.
    static constexpr std::int32_t Width = 200;
    static constexpr std::int32_t Height = 150;
    static constexpr int CellPitch = 4;
    static constexpr int CellSize = 3;

    // Seeds the picture from the credit line and starts the intro sound.
    explicit TIntro(const TScreenServices& services);
    // Cuts the sound off.
    ~TIntro() override;

    // Uncovers cells at random, about 50 per millisecond; `now` is unused.
    void Update(std::uint32_t now, std::uint32_t elapsed);
    void Draw(TSurface& target) override;

    TScreenResult Advance(std::uint32_t now, std::uint32_t elapsed) override;
    // Any key ends the intro: the menu comes.
    TScreenResult KeyPressed(TVirtualKey& key, TShiftState shift) override;
    bool ShowsPointer() const override { return false; }

    // Cell (column, row) is at column + row * Width; 1 = set.
    const std::vector<std::int32_t>& Alive() const { return AliveCells; }
    const std::vector<std::int32_t>& Revealed() const { return RevealedCells; }

    // The team's initials and the year: at 30 points the line must fit the
    // 200 cells of a row.
    static constexpr std::string_view CreditLine = "GB 2026";

private:
    void Reset();
    void Seed();
    void Smooth();
    std::int32_t& AliveAt(std::int32_t column, std::int32_t row);
    std::int32_t AliveOrDark(std::int32_t column, std::int32_t row) const;

    const TScreenServices& Services;
    std::vector<std::int32_t> AliveCells;
    std::vector<std::int32_t> RevealedCells;
    TSampleHandle Sample = 0;
    TChannelHandle Channel = 0;
};

}  // namespace gb
