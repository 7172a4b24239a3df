#pragma once
// The script's named count-down timers. The game controller counts them down
// once a frame with Update, which turns every timer that has run out into a
// "timer" event. Names compare exactly, byte for byte.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace gb {

class TMyTimer {
public:
    std::string Name;
    std::int32_t Remaining = 0;  // milliseconds; run out at 0 or less
    // Set by Update for a timer whose run-out it has handled in this frame;
    // setting the timer again clears it.
    bool Handled = false;
};

class TMyTimers {
public:
    // Restarts the timer of that name from the new time, or appends a new one.
    void SetTimer(std::string_view name, std::int32_t milliseconds);
    // Takes the time off every timer (a timer that has run out stays run out,
    // however long the frame).
    void Elapse(std::uint32_t milliseconds);

    std::int32_t Count() const { return static_cast<std::int32_t>(Items.size()); }
    // Raise EListError outside 0..Count()-1.
    const TMyTimer& Item(std::int32_t index) const;
    // The timer's name when it has run out, else empty: a timer with an empty
    // name never fires.
    std::string DueName(std::int32_t index) const;

    // One frame: Elapse, then fire the event for each timer that has run out,
    // in list order, looking only at the timers there were before the first
    // event; then remove the timers that fired, unless their event set them
    // again. A timer set while the events run waits for the next frame,
    // whatever its time. When an event raises, the timers handled so far are
    // removed before the error goes on, so none fires twice; the others fire
    // in the next frame.
    void Update(std::uint32_t elapsed, const std::function<void(const std::string& name)>& fireTimerEvent);

private:
    void RemoveHandled();

    std::vector<TMyTimer> Items;
};

}  // namespace gb
