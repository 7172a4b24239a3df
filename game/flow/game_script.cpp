// The story's script: events pick the first trigger that answers them, whose
// actions change the hero, the sleigh, the characters, the variables and
// timers and the presentation; and getting into and out of the sleigh.

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>

#include "core/code_page.h"
#include "flow/game.h"
#include "flow/game_data_errors.h"
#include "flow/game_data_numbers.h"
#include "runtime/sfx.h"
#include "world/bohater.h"
#include "world/lista.h"
#include "world/postac.h"
#include "world/sound_ids.h"
#include "world/zaprzeg.h"

namespace gb {
namespace {

// Where the hero waits, out of every map, while he rides.
constexpr float kParkedHero = 1000000;
constexpr int kRingTries = 17;

std::string ActionName(const std::string& type) { return bbx::Pl<"akcja \"">() + type + "\""; }

// The index attribute of an action whose meaningful values are first .. last.
std::int32_t IndexAttribute(const TXMLTag& action, const std::string& owner, std::int32_t first, std::int32_t last) {
    const std::int32_t index = IntAttribute(action, "index", owner);
    if (index < first || index > last)
        throw EGameDataError("GameData.xml: " + owner + bbx::Pl<": indeks ">() + std::to_string(index) +
                             bbx::Pl<" jest poza zakresem ">() + std::to_string(first) + ".." + std::to_string(last) +
                             ".");
    return index;
}

std::int32_t AddWrapping(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Whole cells as world pixels, held within the integers a hero's target point
// can take.
std::int32_t CellsToPixels(std::int32_t cells) {
    const double pixels = cells * double{MapCellSize};
    constexpr double most = std::numeric_limits<std::int32_t>::max();
    constexpr double least = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(pixels > most ? most : pixels < least ? least : pixels);
}

// Seconds as timer milliseconds, held within the timer's range.
std::int32_t SecondsToMilliseconds(std::int32_t seconds) {
    const std::int64_t ms = static_cast<std::int64_t>(seconds) * 1000;
    constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t least = std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(ms > most ? most : ms < least ? least : ms);
}

// Counts the events being handled, so that a script that raises its own
// event again without a condition ends in an error, not in a stack overflow.
class TNesting {
public:
    TNesting(int& depth, std::string_view event) : Depth(depth) {
        if (Depth >= TGame::MostNestedEvents)
            throw EGameDataError(bbx::Pl<"GameData.xml: zdarzenie \"">() + std::string(event) +
                                 bbx::Pl<"\" wywołuje kolejne zdarzenia bez końca (ponad ">() +
                                 std::to_string(TGame::MostNestedEvents) +
                                 bbx::Pl<" zagnieżdżeń), więc skrypt przerwano. Sprawdź akcje \"ride\" "
                                         "w wyzwalaczach zdarzeń getin i getout.">());
        ++Depth;
    }
    ~TNesting() { --Depth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

private:
    int& Depth;
};

}  // namespace

void TGame::FireEvent(std::string_view name, std::string_view value) {
    if (!Triggers) return;
    const TNesting nesting(EventDepth, name);
    for (std::int32_t i = 0; i < Triggers->ChildCount(); ++i) {
        if (!Triggers->IsTag(i, "trigger")) continue;
        const auto& trigger = static_cast<const TXMLTag&>(Triggers->Child(i));
        if (trigger.GetAttribute("event") != name) continue;
        const std::string id = trigger.GetAttribute("id");
        if (!id.empty() && id != value) continue;
        const std::string variable = trigger.GetAttribute("name");
        if (!variable.empty() && ScriptVariables.GetValue(variable) != trigger.GetAttribute("value")) continue;
        RunActions(trigger);
        return;
    }
}

void TGame::RunActions(const TXMLTag& trigger) {
    for (std::int32_t i = 0; i < trigger.ChildCount(); ++i)
        if (trigger.IsTag(i, "action")) RunAction(static_cast<const TXMLTag&>(trigger.Child(i)));
}

void TGame::RunAction(const TXMLTag& action) {
    using THandler = void (TGame::*)(const TXMLTag& action, const std::string& owner);
    struct TEntry {
        std::string_view Type;
        THandler Run;
    };
    static constexpr std::array<TEntry, 15> kActions{{
        {"beep", &TGame::BeepAction},
        {"count", &TGame::CountAction},
        {"good", &TGame::GoodAction},
        {"invincible", &TGame::InvincibleAction},
        {"pos", &TGame::PosAction},
        {"ride", &TGame::RideAction},
        {"zaprzeg", &TGame::ZaprzegAction},
        {"command", &TGame::CommandAction},
        {"select", &TGame::SelectAction},
        {"dialog", &TGame::DialogAction},
        {"pointer", &TGame::PointerAction},
        {"set", &TGame::SetAction},
        {"mode", &TGame::ModeAction},
        {"narration", &TGame::NarrationAction},
        {"timer", &TGame::TimerAction},
    }};
    const std::string type = action.GetAttribute("type");
    // Any other type, an empty one too, does nothing.
    const auto entry = std::ranges::find(kActions, std::string_view(type), &TEntry::Type);
    if (entry != kActions.end()) (this->*entry->Run)(action, ActionName(type));
}

void TGame::BeepAction(const TXMLTag&, const std::string&) { Services.Sfx.Layer().Beep(1000, 100); }

void TGame::CountAction(const TXMLTag& action, const std::string& owner) {
    // The amount is read, and must be a number, whatever `co` says.
    const std::int32_t amount = IntAttribute(action, "ile", owner);
    const std::string what = action.GetAttribute("co");
    TBohater& hero = *HeroObject;
    if (what == "prezent") hero.Presents = AddWrapping(hero.Presents, amount);
    else if (what == "rozga") hero.Rods = AddWrapping(hero.Rods, amount);
    else if (what == "bombka") hero.Baubles = AddWrapping(hero.Baubles, amount);
}

void TGame::GoodAction(const TXMLTag& action, const std::string& owner) {
    HeroObject->Goodness += static_cast<float>(IntAttribute(action, "ile", owner));
}

void TGame::InvincibleAction(const TXMLTag& action, const std::string&) {
    const std::string id = action.GetAttribute("id");
    if (auto* character = dynamic_cast<TPostac*>(World->FindById(id)); character && !id.empty())
        character->Invincible = action.GetAttribute("toggle") == "on";
}

void TGame::PosAction(const TXMLTag& action, const std::string& owner) {
    const auto x = OptionalIntAttribute(action, "x", owner);
    const auto y = OptionalIntAttribute(action, "y", owner);
    TBohater& hero = *HeroObject;
    if (x) hero.X = static_cast<float>(*x * double{MapCellSize});
    if (y) hero.Y = static_cast<float>(*y * double{MapCellSize});
    hero.SetCommand(TBohater::NoCommand, 0, 0, nullptr);
}

void TGame::RideAction(const TXMLTag& action, const std::string&) { SetRiding(action.GetAttribute("toggle") == "on"); }

void TGame::ZaprzegAction(const TXMLTag& action, const std::string& owner) {
    const auto x = OptionalIntAttribute(action, "x", owner);
    const auto y = OptionalIntAttribute(action, "y", owner);
    const auto speed = OptionalIntAttribute(action, "v", owner);
    const auto heading = OptionalIntAttribute(action, "alfa", owner);
    TZaprzeg& sleigh = *SleighObject;
    if (x) sleigh.X = static_cast<float>(*x * double{MapCellSize});
    if (y) sleigh.Y = static_cast<float>(*y * double{MapCellSize});
    sleigh.Speed = speed ? static_cast<float>(*speed * 0.01) : 0.0f;
    if (heading) sleigh.Angle = static_cast<float>(*heading / 180.0 * std::numbers::pi);
}

void TGame::CommandAction(const TXMLTag& action, const std::string& owner) {
    const std::int32_t x = OptionalIntAttribute(action, "x", owner).value_or(0);
    const std::int32_t y = OptionalIntAttribute(action, "y", owner).value_or(0);
    const std::int32_t command = IntAttribute(action, "cmd", owner);
    TCos* target = action.GetAttribute("cmd") == "3" ? SleighObject : World->FindById(action.GetAttribute("id"));
    HeroObject->SetCommand(static_cast<std::uint32_t>(command), CellsToPixels(x), CellsToPixels(y), target);
}

void TGame::SelectAction(const TXMLTag& action, const std::string& owner) {
    HeroObject->SelectItem(static_cast<std::uint32_t>(IndexAttribute(action, owner, 0, 3)));
}

void TGame::DialogAction(const TXMLTag& action, const std::string&) {
    if (auto* character = dynamic_cast<TPostac*>(World->FindById(action.GetAttribute("id"))))
        character->Say(action.NodeText());
}

void TGame::PointerAction(const TXMLTag& action, const std::string& owner) {
    Pointers[static_cast<std::size_t>(IndexAttribute(action, owner, 1, PointerCount) - 1)] = action.GetAttribute("id");
}

void TGame::SetAction(const TXMLTag& action, const std::string&) {
    ScriptVariables.SetValue(action.GetAttribute("name"), action.GetAttribute("value"));
}

void TGame::ModeAction(const TXMLTag& action, const std::string& owner) {
    PresentationMode = IndexAttribute(action, owner, PlayMode, TextScreenMode);
}

void TGame::NarrationAction(const TXMLTag& action, const std::string& owner) {
    NarrationText[static_cast<std::size_t>(IndexAttribute(action, owner, 0, NarrationLines - 1))] = action.NodeText();
}

void TGame::TimerAction(const TXMLTag& action, const std::string& owner) {
    const std::int32_t seconds = IntAttribute(action, "time", owner);
    ScriptTimers.SetTimer(action.GetAttribute("id"), SecondsToMilliseconds(seconds));
}

void TGame::SkipFilm() {
    // The film plays on as it would have with the player waiting, frame by
    // frame, only without drawing or waiting: every action runs in its
    // order, the figures walk where the script sends them, and the state
    // it leaves is the one waiting would have left. The world's clock runs
    // ahead of the tick count by the time skipped from then on.
    for (std::uint32_t skipped = 0; PresentationMode == CinematicMode && !Quitting && skipped < MostSkippedFilm;
         skipped += FilmSkipStep) {
        FilmSkipped += FilmSkipStep;
        Frame(WorldNow + FilmSkipStep, FilmSkipStep);
    }
}

void TGame::SetRiding(bool on) {
    TBohater& hero = *HeroObject;
    if (on) {
        SleighObject->Ridden = true;
        hero.X = kParkedHero;
        hero.Y = kParkedHero;
        hero.SetCommand(TBohater::NoCommand, 0, 0, nullptr);
        FireEvent("getin", "");
    } else {
        GetOutOfSleigh();
    }
    Services.Sfx.Play(sound::Sleigh);
}

void TGame::GetOutOfSleigh() {
    TBohater& hero = *HeroObject;
    TZaprzeg& sleigh = *SleighObject;
    const double reach = sleigh.Radius + hero.Radius + 1;
    const double behind = std::numbers::pi - sleigh.Angle;
    for (int i = 0; i < kRingTries; ++i) {
        const double theta = behind + i * 2 * std::numbers::pi / 16;
        const auto x = static_cast<float>(sleigh.X + reach * std::cos(theta));
        const auto y = static_cast<float>(sleigh.Y + reach * std::sin(theta));
        if (World->HitTest(TLista::ObjectLayer, hero.Radius, nullptr, x, y)) continue;
        hero.X = x;
        hero.Y = y;
        sleigh.Ridden = false;
        sleigh.Speed = 0;
        FireEvent("getout", "");
        return;
    }
}

}  // namespace gb
