// The controller's life, its frame update, the camera and the player's input.

#include "flow/game.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/random.h"
#include "runtime/display.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/cos.h"
#include "world/lista.h"
#include "world/sound_ids.h"
#include "world/zaprzeg.h"

namespace gb {
namespace {

constexpr double kBandSpeed = 0.175;  // pixels per millisecond
constexpr float kBoardingDistance = 200;
constexpr float kStillEnoughToLeave = 0.1f;
constexpr float kBrakeSoundSpeed = 0.5f;

}  // namespace

TGame::TGame(const TScreenServices& services, TLoading loading)
    : Services(services), Context{services.Gfx, services.Sfx, *this}, World(std::make_unique<TLista>(Context)) {
    LoadGameData();
    if (loading == TLoading::AtOnce) {
        BuildMapObjects(std::numeric_limits<std::int64_t>::max());
        Begin();
    }
}

TGame::~TGame() { Services.Sfx.StopMusic(); }

void TGame::Begin() {
    RequireHeroAndSleigh();
    CamX = RoundToPixel(HeroObject->X) - TDisplay::ScreenWidth / 2;
    CamY = RoundToPixel(HeroObject->Y) - TDisplay::ScreenHeight / 2;
    FireEvent("init", "");
    Services.Sfx.PlayMusic();
    Stage = TStage::Playing;
}

bool TGame::ContinueLoading(std::uint32_t now) {
    if (Quitting || Stage == TStage::Failed) return true;
    if (Loading.Done == 0) Loading.StartTick = now;
    Loading.LastTick = now;
    WorldNow = now;
    try {
        if (BuildMapObjects(LoadStepBudget)) Begin();
    } catch (...) {
        Stage = TStage::Failed;
        throw;
    }
    return false;
}

bool TGame::IsRiding() const { return !IsLoading() && SleighObject->Ridden; }

bool TGame::Update(std::uint32_t now, std::uint32_t elapsed) {
    if (IsLoading()) return ContinueLoading(now);
    Frame(now + FilmSkipped, elapsed);
    return Quitting;
}

void TGame::Frame(std::uint32_t now, std::uint32_t elapsed) {
    WorldNow = now;
    const double step = elapsed * kBandSpeed;
    if (PresentationMode == CinematicMode) {
        if (BandSize < BandHeight) BandSize = static_cast<float>(std::min<double>(BandHeight, BandSize + step));
    } else if (BandSize > 0) {
        BandSize = static_cast<float>(std::max<double>(0, BandSize - step));
    }

    ScriptTimers.Update(elapsed, [this](const std::string& id) { FireEvent("timer", id); });

    if (MouseHeld) MouseCommand(MouseButton, Services.MouseX, Services.MouseY);

    const bool shake = World->Update(now, elapsed, CamX, CamY);
    FollowCamera();
    if (shake) {
        CamX += bbx::Random(10) - 5;
        CamY += bbx::Random(10) - 5;
    }
}

void TGame::FollowCamera() {
    const TCos& followed = IsRiding() ? static_cast<const TCos&>(*SleighObject) : *HeroObject;
    CamX = RoundToPixel(followed.X) - TDisplay::ScreenWidth / 2;
    CamY = RoundToPixel(followed.Y) - TDisplay::ScreenHeight / 2;
}

void TGame::Accelerate(std::uint32_t, std::uint32_t elapsed) {
    if (IsRiding()) SleighObject->Throttle(static_cast<float>(elapsed));
}

void TGame::Brake(std::uint32_t, std::uint32_t elapsed) {
    if (IsRiding()) SleighObject->Throttle(-static_cast<float>(elapsed));
}

void TGame::TurnLeft(std::uint32_t, std::uint32_t elapsed) {
    if (IsRiding()) SleighObject->Turn(static_cast<float>(elapsed));
}

void TGame::TurnRight(std::uint32_t, std::uint32_t elapsed) {
    if (IsRiding()) SleighObject->Turn(-static_cast<float>(elapsed));
}

void TGame::KeyDown(TVirtualKey& key, TShiftState) {
    if (!IsLoading() && PresentationMode == CinematicMode && (key == vk::Space || key == vk::Return)) {
        SkipFilm();
        return;
    }
    if ((IsLoading() || PresentationMode != PlayMode) && key != vk::Escape) return;
    if (key == vk::Return) {
        ToggleRiding();
    } else if (key == vk::Escape) {
        Quitting = true;
    } else if (key == vk::Space) {
        if (!SleighObject->Braking && SleighObject->Speed > kBrakeSoundSpeed) Services.Sfx.Play(sound::Brake);
        SleighObject->Braking = true;
    } else if (key >= '1' && key <= '4') {
        HeroObject->SelectItem(static_cast<std::uint32_t>(key - '1'));
    }
}

void TGame::KeyUp(TVirtualKey& key, TShiftState) {
    if (!IsLoading() && PresentationMode == PlayMode && key == vk::Space) SleighObject->Braking = false;
}

void TGame::ToggleRiding() {
    if (!IsRiding()) {
        const double dx = HeroObject->X - SleighObject->X;
        const double dy = HeroObject->Y - SleighObject->Y;
        if (std::sqrt(dx * dx + dy * dy) < kBoardingDistance)
            HeroObject->SetCommand(TBohater::BoardSleigh, 0, 0, SleighObject);
    } else if (SleighObject->Speed < kStillEnoughToLeave) {
        SetRiding(false);
    }
}

void TGame::MouseDown(TMouseButton button, TShiftState, std::int32_t x, std::int32_t y) {
    if (IsLoading() || PresentationMode != PlayMode) return;
    MouseHeld = true;
    MouseButton = button;
    MouseCommand(button, x, y);
}

void TGame::MouseUp(TMouseButton, TShiftState, std::int32_t, std::int32_t) { MouseHeld = false; }

void TGame::MouseCommand(TMouseButton button, std::int32_t x, std::int32_t y) {
    if (IsRiding()) return;
    const std::int32_t worldX = x + CamX;
    const std::int32_t worldY = y + CamY;
    switch (button) {
        case TMouseButton::Left:
            HeroObject->SetCommand(TBohater::Walk, worldX, worldY,
                                   World->ObjectAt(TLista::ObjectLayer, static_cast<float>(worldX),
                                                   static_cast<float>(worldY)));
            break;
        case TMouseButton::Right:
            // The use command goes to the figure the player sees under the
            // pointer, head and all, not only to its footprint.
            HeroObject->SetCommand(TBohater::WalkAndUse, worldX, worldY,
                                   World->PickAt(TLista::ObjectLayer, x, y, CamX, CamY, HeroObject));
            break;
        case TMouseButton::Middle:
            HeroObject->SetCommand(TBohater::NoCommand, 0, 0, nullptr);
            break;
    }
}

}  // namespace gb
