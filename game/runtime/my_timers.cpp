#include "runtime/my_timers.h"

#include <algorithm>
#include <limits>

#include "runtime/game_errors.h"

namespace gb {

void TMyTimers::SetTimer(std::string_view name, std::int32_t milliseconds) {
    const auto found = std::find_if(Items.begin(), Items.end(), [&](const TMyTimer& t) { return t.Name == name; });
    if (found == Items.end()) {
        Items.push_back({std::string(name), milliseconds, false});
    } else {
        found->Remaining = milliseconds;
        found->Handled = false;
    }
}

void TMyTimers::Elapse(std::uint32_t milliseconds) {
    constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
    for (TMyTimer& timer : Items)
        timer.Remaining = static_cast<std::int32_t>(std::max(kLowest, std::int64_t{timer.Remaining} - milliseconds));
}

const TMyTimer& TMyTimers::Item(std::int32_t index) const {
    if (index < 0 || index >= Count()) throw EListError(index);
    return Items[static_cast<std::size_t>(index)];
}

std::string TMyTimers::DueName(std::int32_t index) const {
    const TMyTimer& timer = Item(index);
    return timer.Remaining <= 0 ? timer.Name : std::string();
}

void TMyTimers::Update(std::uint32_t elapsed, const std::function<void(const std::string& name)>& fireTimerEvent) {
    Elapse(elapsed);
    const std::int32_t looked = Count();
    try {
        for (std::int32_t i = 0; i < looked && i < Count(); ++i) {
            TMyTimer& timer = Items[static_cast<std::size_t>(i)];
            if (timer.Remaining > 0) continue;
            timer.Handled = true;
            // The event may append timers, which moves the list: keep a copy.
            const std::string name = DueName(i);
            if (!name.empty()) fireTimerEvent(name);
        }
    } catch (...) {
        RemoveHandled();
        throw;
    }
    RemoveHandled();
}

void TMyTimers::RemoveHandled() {
    std::erase_if(Items, [](const TMyTimer& timer) { return timer.Handled; });
}

}  // namespace gb
