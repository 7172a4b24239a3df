#pragma once
// The game controller: the one object that exists while a game is played.
// It owns the parsed "GameData.xml", the world object list and the script's
// variables and timers; builds the world from the file's map, keeps the
// camera on the hero or the sleigh he rides, turns input into hero and
// sleigh commands, runs the story's triggers, and draws the frame.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "flow/screen.h"
#include "runtime/my_timers.h"
#include "runtime/variables.h"
#include "runtime/xml_document.h"
#include "world/game_interface.h"
#include "world/world_context.h"

namespace gb {

class TBohater;
class TCos;
class TLista;
class TZaprzeg;

class TGame final : public TGameScreen, public TGameInterface {
public:
    static constexpr float BandHeight = 75;
    static constexpr int NarrationLines = 5;
    static constexpr int PointerCount = 2;
    // How deep events may raise further events before the script is taken
    // to loop without end (a "ride" in a trigger on "getin" or "getout").
    static constexpr int MostNestedEvents = 64;

    // What "GameData.xml" may ask for, far beyond the shipped story (67 KB
    // making about 600 objects) and small enough that a game starts within
    // seconds: a larger file, or a map making more objects (a house counts
    // with all its walls), is refused before anything is built.
    static constexpr std::uintmax_t MostGameDataBytes = 2 * 1024 * 1024;
    static constexpr std::int64_t MostMapObjects = 500000;

    // Presentation modes, set only by the script.
    static constexpr std::int32_t PlayMode = 0;
    static constexpr std::int32_t CinematicMode = 1;
    static constexpr std::int32_t TextScreenMode = 2;

    // Space or Enter skips a film (cinematic mode): the world and the script
    // run on at once in steps of this many milliseconds, as if the player
    // had waited, until the script leaves the film or MostSkippedFilm has
    // passed (a film that never ends).
    static constexpr std::uint32_t FilmSkipStep = 10;
    static constexpr std::uint32_t MostSkippedFilm = 5 * 60 * 1000;

    // Whether the constructor builds the whole map, or reads the file only
    // and leaves the building to the updates that follow, a part per frame,
    // so that the window keeps answering while a large map loads.
    enum class TLoading { AtOnce, InSteps };
    // Objects built per update while loading in steps (an element counts as
    // one, and so does every object it makes): a few milliseconds of work.
    static constexpr std::int64_t LoadStepBudget = 10000;
    // Loading that takes longer shows its progress.
    static constexpr std::uint32_t LoadProgressDelay = 500;  // ms

    // Reads services.Directory + "GameData.xml", builds the map, runs the
    // "init" trigger and starts the music. Raises when the file cannot be
    // read, is larger than MostGameDataBytes or not a plain file, makes more
    // than MostMapObjects objects, a number in it is malformed, the map lacks
    // the hero or the sleigh, or the "init" trigger fails; loading in steps,
    // only the first three are raised here and the rest by Update.
    explicit TGame(const TScreenServices& services, TLoading loading = TLoading::AtOnce);
    // Stops the music.
    ~TGame() override;

    // While loading: builds the next part of the map and, once it is all
    // there, starts the game as the constructor would; true after Esc, and
    // after a step raised (the error has been shown, the menu comes back).
    bool Update(std::uint32_t now, std::uint32_t elapsed) override;
    // While loading: the progress, once loading has taken LoadProgressDelay.
    void Draw(TSurface& target) override;

    // Held arrows; they steer the sleigh while the hero rides, else nothing.
    void Accelerate(std::uint32_t now, std::uint32_t elapsed) override;
    void Brake(std::uint32_t now, std::uint32_t elapsed) override;
    void TurnLeft(std::uint32_t now, std::uint32_t elapsed) override;
    void TurnRight(std::uint32_t now, std::uint32_t elapsed) override;
    void KeyDown(TVirtualKey& key, TShiftState shift) override;
    void KeyUp(TVirtualKey& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;
    void MouseUp(TMouseButton button, TShiftState shift, std::int32_t x, std::int32_t y) override;

    // The script: runs the actions of the first trigger that answers the
    // event, nested in the caller. Raises what a failing action raises, and
    // EGameDataError when events nest deeper than MostNestedEvents.
    void FireEvent(std::string_view name, std::string_view value) override;
    // Gets the hero into the sleigh, or out of it onto the first free spot
    // of a ring around it.
    void SetRiding(bool on) override;
    TBohater& Hero() override { return *HeroObject; }
    TLista& Objects() override { return *World; }

    // Until the map is built and the game started; input waits, but Esc.
    bool IsLoading() const { return Stage != TStage::Playing; }
    // Of the loading's work, 0 .. 1.
    double LoadProgress() const;

    bool IsRiding() const;
    TZaprzeg& Sleigh() { return *SleighObject; }
    std::int32_t CameraX() const { return CamX; }
    std::int32_t CameraY() const { return CamY; }
    std::int32_t Mode() const { return PresentationMode; }
    float Band() const { return BandSize; }
    // Lines 0 .. 4.
    const std::string& Narration(int index) const { return NarrationText[static_cast<std::size_t>(index)]; }
    // Arrows 1 and 2; empty when the arrow is off.
    const std::string& PointerTarget(int index) const { return Pointers[static_cast<std::size_t>(index - 1)]; }
    const TVariables& Variables() const { return ScriptVariables; }
    const TMyTimers& Timers() const { return ScriptTimers; }
    bool QuitRequested() const { return Quitting; }
    // The film runs to its end state at once (see FilmSkipStep); nothing
    // outside a film.
    void SkipFilm();

private:
    // Loading goes in steps: reading the file, then building the map's
    // objects a budget at a time, each step's put into the world at once.
    struct TMapLoading {
        std::vector<const TXMLTag*> Elements;  // the cos elements of every map, in file order
        std::size_t Next = 0;
        std::vector<std::unique_ptr<TCos>> Built;  // by this step, not in the world yet
        std::int64_t Work = 0;  // elements and the objects they make
        std::int64_t Done = 0;
        std::uint32_t StartTick = 0;
        std::uint32_t LastTick = 0;  // of the latest update
    };
    enum class TStage { Building, Failed, Playing };
    void LoadGameData();
    // The budget counts elements and objects made; true once all are built.
    bool BuildMapObjects(std::int64_t budget);
    void RequireHeroAndSleigh() const;
    bool ContinueLoading(std::uint32_t now);
    // Camera, "init" trigger, music.
    void Begin();
    void DrawLoadProgress(TSurface& target) const;
    void LoadMapObject(const TXMLTag& element);
    void BuildHouse(const TXMLTag& element);
    void AddWall(std::int32_t column, std::int32_t row);

    void RunActions(const TXMLTag& trigger);
    void RunAction(const TXMLTag& action);
    // One per action type; `owner` names the action in error messages.
    void BeepAction(const TXMLTag& action, const std::string& owner);
    void CountAction(const TXMLTag& action, const std::string& owner);
    void GoodAction(const TXMLTag& action, const std::string& owner);
    void InvincibleAction(const TXMLTag& action, const std::string& owner);
    void PosAction(const TXMLTag& action, const std::string& owner);
    void RideAction(const TXMLTag& action, const std::string& owner);
    void ZaprzegAction(const TXMLTag& action, const std::string& owner);
    void CommandAction(const TXMLTag& action, const std::string& owner);
    void SelectAction(const TXMLTag& action, const std::string& owner);
    void DialogAction(const TXMLTag& action, const std::string& owner);
    void PointerAction(const TXMLTag& action, const std::string& owner);
    void SetAction(const TXMLTag& action, const std::string& owner);
    void ModeAction(const TXMLTag& action, const std::string& owner);
    void NarrationAction(const TXMLTag& action, const std::string& owner);
    void TimerAction(const TXMLTag& action, const std::string& owner);
    void GetOutOfSleigh();

    void MouseCommand(TMouseButton button, std::int32_t x, std::int32_t y);
    void ToggleRiding();
    void FollowCamera();
    // One frame of play: bands, timers, the held mouse, the world, the camera.
    void Frame(std::uint32_t now, std::uint32_t elapsed);

    void DrawGround(TSurface& target);
    void DrawPointers(TSurface& target);
    void DrawHeadUpDisplay(TSurface& target);
    void DrawNarration(TSurface& target);

    const TScreenServices& Services;
    // What every world object is made with: the services and this game.
    const TWorldContext Context;
    std::unique_ptr<TXMLDocument> Document;
    const TXMLTag* Triggers = nullptr;
    std::unique_ptr<TLista> World;
    TMapLoading Loading;
    TStage Stage = TStage::Building;
    std::int32_t CamX = 0;
    std::int32_t CamY = 0;
    bool MouseHeld = false;
    TMouseButton MouseButton = TMouseButton::Left;
    TBohater* HeroObject = nullptr;
    TZaprzeg* SleighObject = nullptr;
    std::array<std::string, PointerCount> Pointers;
    TVariables ScriptVariables;
    TMyTimers ScriptTimers;
    std::int32_t PresentationMode = PlayMode;
    float BandSize = 0;
    std::array<std::string, NarrationLines> NarrationText;
    bool Quitting = false;
    int EventDepth = 0;
    // The world's clock: the tick count of the latest frame plus the time
    // skipped films ran ahead of it.
    std::uint32_t WorldNow = 0;
    std::uint32_t FilmSkipped = 0;
};

}  // namespace gb
