#include "world/gfx.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

#include "core/code_page.h"
#include "core/errors.h"
#include "core/random.h"
#include "core/render_model.h"
#include "core/rounding.h"
#include "runtime/game_canvas.h"
#include "runtime/display.h"
#include "runtime/error_log.h"
#include "runtime/gfx_matrix.h"
#include "world/model_ids.h"

namespace gb {
namespace {

const TRandomInt kRandom = [](std::int32_t n) { return bbx::Random(n); };

// Writes a grain texture of one colour into a surface of the matrix's size.
void MakeGrain(TSurface& surface, int width, int height, bbx::TColor color) {
    Tgfx_Matrix matrix;
    matrix.SetSize(width, height);
    matrix.AddNoise(color, kRandom);
    surface.SetSize(width, height);
    matrix.DrawTo(surface, 0, 0);
}

// Round() of a length, kept within [0, limit] so that huge, infinite or NaN
// values stay defined: bars are clipped by the screen anyway, and a model with
// a nonsensical sprite size gets an empty sprite rather than a giant one.
std::int32_t RoundedWithin(long double length, long double limit) {
    if (!(length > 0)) return 0;
    return static_cast<std::int32_t>(bbx::RoundHalfEven(std::min(length, limit)));
}

int BarLength(long double length) { return RoundedWithin(length, 1000); }

// The model file's errors with the file's path in front, as the system's
// errors already have it.
void LoadModels(bbx::Tbbx_collection& models, const std::string& path) {
    try {
        models.LoadFromFile(path);
    } catch (const bbx::EInOutError& e) {
        const std::string prefix = bbx::Utf8ToCp1250(path) + ": ";
        if (std::string_view(e.what()).starts_with(prefix)) throw;
        throw bbx::EInOutError(e.ErrorCode, prefix + e.what());
    }
}

}  // namespace

void TGfxCos::SetSize(std::int32_t width, std::int32_t height) {
    Surface.SetSize(width, height);
    Width = width;
    Height = height;
}

TGfx::TGfx(bbx::TPixelFormat format, TTextRenderer& text, std::int32_t spriteCacheSize, float angleTolerance,
           std::size_t spriteMemoryBudget)
    : SpriteCacheSize(std::max(spriteCacheSize, 1)),
      AngleTolerance(std::max(angleTolerance, 0.0f)),
      SpriteMemoryBudget(spriteMemoryBudget),
      GroundImage(format),
      WallImage(format),
      GreyImage(format),
      RedImage(format),
      BlueImage(format),
      BandImage(format),
      Font(format, text, "Verdana", 9, fsBold,
           {bbx::RGB(128, 128, 128), bbx::RGB(255, 255, 255), bbx::RGB(0, 255, 255), bbx::RGB(32, 32, 32)}),
      Format(format),
      Sprites(static_cast<std::size_t>(SpriteCacheSize)) {
    for (auto& button : ButtonImages) button = std::make_unique<TSurface>(format);
}

std::size_t TGfx::SpriteMemoryFromMegabytes(std::int32_t megabytes) {
    return static_cast<std::size_t>(std::max(megabytes, 0)) << 20;
}

void TGfx::Initialize(const std::string& directory) {
    MakeGrain(GroundImage, 48, 48, bbx::RGB(220, 220, 220));

    // The wall: a lighter top over a darker front face.
    WallImage.SetSize(48, 72);
    Tgfx_Matrix top, front;
    top.SetSize(48, 48);
    top.AddNoise(bbx::RGB(192, 192, 192), kRandom);
    top.DrawTo(WallImage, 0, 0);
    front.SetSize(48, 24);
    front.AddNoise(bbx::RGB(128, 128, 128), kRandom);
    front.DrawTo(WallImage, 0, 48);

    MakeGrain(GreyImage, 16, 16, bbx::RGB(96, 96, 96));
    MakeGrain(RedImage, 16, 16, bbx::RGB(255, 0, 0));
    MakeGrain(BlueImage, 16, 16, bbx::RGB(0, 0, 255));

    // Buttons: the pressed look is bevelled inwards, the others outwards; the
    // normal one is a little darker than the hovered one.
    std::array<Tgfx_Matrix, 3> button;
    button[0].SetSize(200, 65);
    button[0].AddNoise(bbx::RGB(64, 128, 64), kRandom);
    button[2].CopyFrom(button[0]);
    button[2].Bevel(0, -96, 10);
    button[0].Bevel(0, 96, 10);
    button[1].CopyFrom(button[0]);
    button[0].BrightenAll(-16);
    for (std::size_t i = 0; i < button.size(); ++i) {
        ButtonImages[i]->SetSize(200, 65);
        button[i].DrawTo(*ButtonImages[i], 0, 0);
    }

    Directory = directory;
    LoadModels(Models, directory + "models.bbx");

    BandImage.SetSize(TDisplay::ScreenWidth, 75);
    BandImage.Fill(0);
}

void TGfx::DrawSprite(TSurface& target, int x, int y, int baseOffset, const TGfxCos& sprite, bool topLeft) {
    if (!topLeft) {
        x -= sprite.Width / 2;
        y += baseOffset - sprite.Height;
    }
    if (Probe) {
        const int px = Probe->X - x;
        const int py = Probe->Y - y;
        if (px >= 0 && py >= 0 && px < sprite.Surface.Width() && py < sprite.Surface.Height() &&
            sprite.Surface.Pixel(px, py) != sprite.Surface.Buffer().MapColor(sprite.Surface.TransparentColor()))
            Probe->Hit = true;
        return;
    }
    target.Draw(x, y, sprite.Surface, sprite.Surface.ClientRect(), true);
}

void TGfx::DrawModel(TSurface& target, int x, int y, int baseOffset, std::int32_t modelId, float yaw, float pitch,
                     float zoom, bool topLeft) {
    for (const auto& sprite : Sprites) {
        if (sprite && sprite->ModelId == modelId && std::fabs(sprite->Yaw - yaw) <= AngleTolerance &&
            std::fabs(sprite->Pitch - pitch) <= AngleTolerance) {
            DrawSprite(target, x, y, baseOffset, *sprite, topLeft);
            return;
        }
    }
    if (RefusedModels.contains(modelId)) return;
    const bbx::Tbbx_model* model = Models.FindById(modelId);
    if (!model || !Renderable(*model)) return;

    const std::int32_t width = RoundedWithin(model->I1, 4096);
    const std::int32_t height = RoundedWithin(model->I2, 4096);
    MakeRoom(bbx::TPixelBuffer::ByteSize(width, height, Format));
    auto sprite = std::make_unique<TGfxCos>(Format);
    sprite->ModelId = modelId;
    sprite->Yaw = yaw;
    sprite->Pitch = pitch;
    sprite->Zoom = zoom;
    sprite->SetSize(width, height);
    sprite->Surface.Fill(0);
    bbx::RenderModel(*model, sprite->Surface.Canvas(), width, height, yaw, pitch, zoom);
    sprite->Surface.ReleaseCanvas();
    Store(std::move(sprite));

    DrawSprite(target, x, y, baseOffset, *Sprites[static_cast<std::size_t>(NextSlot)], topLeft);
    NextSlot = (NextSlot + 1) % SpriteCacheSize;
}

bool TGfx::Renderable(const bbx::Tbbx_model& model) {
    try {
        bbx::CheckSphereLimit(model);
        return true;
    } catch (const bbx::ETooManySpheres& e) {
        RefusedModels.insert(model.ID);
        WriteErrorLog(Directory, bbx::Pl<"Model pominięty">(), DescribeError(e));
        return false;
    }
}

void TGfx::MakeRoom(std::size_t bytes) {
    for (std::int32_t i = 0; i < SpriteCacheSize && CachedBytes + bytes > SpriteMemoryBudget; ++i)
        Evict((NextSlot + i) % SpriteCacheSize);
}

void TGfx::Evict(std::int32_t slot) {
    auto& sprite = Sprites[static_cast<std::size_t>(slot)];
    if (!sprite) return;
    CachedBytes -= sprite->Surface.ByteSize();
    sprite.reset();
}

void TGfx::Store(std::unique_ptr<TGfxCos> sprite) {
    Evict(NextSlot);
    CachedBytes += sprite->Surface.ByteSize();
    Sprites[static_cast<std::size_t>(NextSlot)] = std::move(sprite);
}

void TGfx::DrawWall(TSurface& target, int x, int y, int baseOffset) {
    const int left = x - 24;
    const int top = y + baseOffset - 72;
    if (Probe) {
        if (Probe->X >= left && Probe->Y >= top && Probe->X < left + WallImage.Width() &&
            Probe->Y < top + WallImage.Height())
            Probe->Hit = true;
        return;
    }
    target.Draw(left, top, WallImage, WallImage.ClientRect(), false);
}

bool TGfx::Covers(int x, int y, const std::function<void(TSurface&)>& draw) {
    Probe = TProbe{x, y};
    // Cleared however `draw` ends, so that later drawing is never swallowed.
    struct TProbeEnd {
        std::optional<TProbe>& Probe;
        ~TProbeEnd() { Probe.reset(); }
    } end{Probe};
    TSurface nowhere(Format);
    draw(nowhere);
    return Probe->Hit;
}

void TGfx::DrawGround(TSurface& target, int x, int y) {
    target.Draw(x, y, GroundImage, GroundImage.ClientRect(), false);
}

void TGfx::DrawPointer(TSurface& target, int x, int y) {
    DrawModel(target, x, y, 0, model::Pointer.Id, model::Pointer.Yaw, model::Pointer.Pitch, model::Pointer.Zoom, true);
}

void TGfx::DrawNumber(TSurface& target, int x, int y, int number, int colorIndex) {
    const std::string text = std::to_string(number);
    // Ringed all round: white figures read on the near-white snow too.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx != 0 || dy != 0) Font.DrawText(target, x + dx, y + dy, text, 1, 0, OutlineColor);
    Font.DrawText(target, x, y, text, 1, 0, colorIndex);
}

void TGfx::DrawHealthBar(TSurface& target, int maximum, float value) {
    TileDraw(target, GreyImage, Bounds(779, 435, 16, 160), false, GreyImage.ClientRect());
    const int h = BarLength(160 * std::exp((static_cast<long double>(value) - maximum) / 5));
    TileDraw(target, RedImage, {779, 595 - h, 795, 595}, false, RedImage.ClientRect());
}

void TGfx::DrawGoodnessBar(TSurface& target, float value) {
    TileDraw(target, GreyImage, Bounds(614, 579, 160, 16), false, GreyImage.ClientRect());
    if (value == 0) return;
    const int w = BarLength(80 * (1 - std::exp(-std::fabs(static_cast<long double>(value)) / 20)));
    if (value > 0)
        TileDraw(target, RedImage, Bounds(694, 579, w, 16), false, RedImage.ClientRect());
    else
        TileDraw(target, BlueImage, Bounds(694 - w, 579, w, 16), false, BlueImage.ClientRect());
}

}  // namespace gb
