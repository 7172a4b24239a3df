#pragma once
// System services whose clock, keyboard and desktop are set by hand: the
// tick count moves only when the caller moves it, the keys held are the
// ones put in Held, and documents are recorded instead of opened.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "runtime/system_services.h"

namespace gb {

class TManualSystemServices final : public TSystemServices {
public:
    explicit TManualSystemServices(std::uint32_t now = 0) : Now(now) {}

    std::uint32_t TickCount() override { return Now; }
    bool IsKeyHeld(TVirtualKey key) override { return Held.contains(key); }
    // Records the path; answers OpenSucceeds.
    bool OpenDocument(const std::string& path) override;
    void ShowCursor(bool show) override { CursorShown = show; }

    std::uint32_t Now;
    std::set<TVirtualKey> Held;
    bool OpenSucceeds = true;
    std::vector<std::string> Opened;
    bool CursorShown = true;
};

}  // namespace gb
