// Drawing a game frame: ground, objects, pointer arrows, cinematic bands,
// the head-up display and narration.

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "flow/game.h"
#include "runtime/display.h"
#include "runtime/game_canvas.h"
#include "world/bohater.h"
#include "world/gfx.h"
#include "world/lista.h"
#include "world/model_ids.h"
#include "world/zaprzeg.h"

namespace gb {
namespace {

constexpr int kArrowBase = 14;
constexpr int kMostHealth = 1000;
constexpr int kWhite = 1;
constexpr int kAqua = 2;
// Bubbles keep this far from the screen's edges, the bands and the
// head-up display: the item counts' row at the bottom, the health bar's
// column at the right.
constexpr int kBubbleMargin = 2;
constexpr int kHeadUpDisplayHeight = 50;
constexpr int kHealthBarWidth = 23;

// The larger side of a model's sprite; 0 for a model the file lacks.
int SpriteSize(const TGfx& gfx, std::int32_t modelId) {
    const bbx::Tbbx_model* model = gfx.Models.FindById(modelId);
    return model ? RoundToPixel(std::max(model->I1, model->I2)) : 0;
}

}  // namespace

void TGame::Draw(TSurface& target) {
    if (IsLoading()) {
        DrawLoadProgress(target);
        return;
    }
    if (PresentationMode < TextScreenMode) {
        DrawGround(target);
        World->Draw(target, CamX, CamY);
        DrawPointers(target);
    }
    const int shown = RoundToPixel(BandSize);
    if (BandSize > 0) {
        const TSurface& band = Services.Gfx.BandImage;
        target.Draw(0, shown - static_cast<int>(BandHeight), band, band.ClientRect(), false);
        target.Draw(0, TDisplay::ScreenHeight - shown, band, band.ClientRect(), false);
    }
    const bool headUp = PresentationMode == PlayMode && BandSize == 0;
    if (PresentationMode < TextScreenMode) {
        // Over the arrows, between the bands and clear of the head-up display.
        const int bottom = TDisplay::ScreenHeight - std::max(shown, headUp ? kHeadUpDisplayHeight : 0);
        const int right = TDisplay::ScreenWidth - (headUp ? kHealthBarWidth : 0);
        World->DrawSpeechBubbles(target, CamX, CamY,
                                 {kBubbleMargin, std::max(shown, 0) + kBubbleMargin, right - kBubbleMargin,
                                  bottom - kBubbleMargin});
    }
    if (headUp) DrawHeadUpDisplay(target);
    if (PresentationMode > PlayMode) DrawNarration(target);
}

void TGame::DrawGround(TSurface& target) {
    // Enough cells to cover the view wherever the camera stands within a cell.
    for (int row = -1; row <= TDisplay::ScreenHeight / MapCellSize + 1; ++row)
        for (int column = -1; column <= TDisplay::ScreenWidth / MapCellSize + 1; ++column)
            Services.Gfx.DrawGround(target, column * MapCellSize - CamX % MapCellSize,
                                    row * MapCellSize - CamY % MapCellSize);
}

void TGame::DrawPointers(TSurface& target) {
    const bool riding = IsRiding();
    const TCos& origin = riding ? static_cast<const TCos&>(*SleighObject) : *HeroObject;
    const double reach = riding ? 75 : 50;
    // An arrow that would cover the one drawn before it goes further out
    // along its own direction, so that both show.
    std::optional<std::pair<double, double>> before;
    double beforeDistance = 0;
    for (int k = 1; k <= PointerCount; ++k) {
        const std::string& id = PointerTarget(k);
        if (id.empty()) continue;
        const TCos* pointed = World->FindById(id);
        if (!pointed) continue;
        const double dx = static_cast<double>(pointed->X) - origin.X;
        const double dy = static_cast<double>(pointed->Y) - origin.Y;
        double distance = std::min(std::sqrt(dx * dx + dy * dy), reach);
        const double theta = std::atan2(dy, dx == 0 ? 0.0001 : dx);
        const double originX = static_cast<double>(origin.X) - CamX;
        const double originY = static_cast<double>(origin.Y) - CamY;
        const model::TModel& arrow = model::PointerArrows[static_cast<std::size_t>(k - 1)];
        const auto at = [&](double d) {
            return std::pair{originX + d * std::cos(theta), originY + d * std::sin(theta)};
        };
        auto place = at(distance);
        const int spacing = std::max(SpriteSize(Services.Gfx, model::PointerArrows[0].Id), SpriteSize(Services.Gfx, arrow.Id));
        if (before && std::hypot(place.first - before->first, place.second - before->second) < spacing) {
            // At the earlier arrow's distance plus a sprite's size they lie
            // at least that far apart, whatever the angle between them.
            distance = std::max(distance, beforeDistance) + spacing;
            place = at(distance);
        }
        before = place;
        beforeDistance = distance;
        Services.Gfx.DrawModel(target, RoundToPixel(place.first), RoundToPixel(place.second), kArrowBase, arrow.Id,
                               static_cast<float>(-theta), arrow.Pitch, arrow.Zoom);
    }
}

void TGame::DrawHeadUpDisplay(TSurface& target) {
    const TBohater& hero = *HeroObject;
    const std::array<std::int32_t, 4> counts{1, hero.Presents, hero.Rods, hero.Baubles};
    for (int k = 0; k < 4; ++k) {
        const model::TFixedModel& icon = model::ItemIcons[static_cast<std::size_t>(k)];
        Services.Gfx.DrawModel(target, 24 + MapCellSize * k, 576, 24, icon.Id, icon.Yaw, icon.Pitch, icon.Zoom);
        Services.Gfx.DrawNumber(target, 48 + MapCellSize * k, 552, counts[static_cast<std::size_t>(k)],
                                static_cast<std::uint32_t>(k) == hero.Item ? kAqua : kWhite);
    }
    Services.Gfx.DrawHealthBar(target, kMostHealth, hero.Health);
    Services.Gfx.DrawGoodnessBar(target, hero.Goodness);
    Services.Gfx.DrawNumber(target, 795, 20, Services.Gfx.NextSlot, kAqua);
}

void TGame::DrawNarration(TSurface& target) {
    if (std::all_of(NarrationText.begin(), NarrationText.end(), [](const std::string& line) { return line.empty(); }))
        return;
    TGameCanvas& canvas = target.Canvas();
    canvas.SetFontName("Verdana");
    canvas.SetFontSize(16);
    canvas.SetFontStyle(fsBold);
    canvas.SetFontColor(0xFFFFFF);
    canvas.SetBrushStyle(bbx::TBrushStyle::Clear);
    const auto centred = [&canvas](const std::string& line, int top) {
        if (!line.empty()) canvas.TextOut(TDisplay::ScreenWidth / 2 - canvas.TextWidth(line) / 2, top, line);
    };
    centred(NarrationText[0], 550);
    centred(NarrationText[1], 25);
    if (PresentationMode == TextScreenMode)
        for (std::size_t i = 2; i < NarrationLines; ++i)
            if (!NarrationText[i].empty()) canvas.TextOut(50, 130 + 50 * static_cast<int>(i), NarrationText[i]);
    target.ReleaseCanvas();
}

}  // namespace gb
