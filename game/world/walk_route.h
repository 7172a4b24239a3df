#pragma once
// The way a walker follows to his goal: the waypoints of a path round the
// obstacles, planned when the goal, the target or the command changes and
// again when he is held up; past the last waypoint he walks straight at the
// goal, sliding along what he meets as before.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/path_finder.h"

namespace gb {

class TCos;
class TLista;

class TWalkRoute {
public:
    // Time held up by an obstacle, and the least time between two plans,
    // before the way is planned again.
    static constexpr std::uint32_t HeldUpTime = 200;  // ms
    static constexpr std::uint32_t ReplanInterval = 500;  // ms

    // Forget the way: the next stop plans anew.
    void Clear() { *this = TWalkRoute(); }
    // Where the walker heads now on his way to (goalX, goalY) under the
    // command: the next waypoint, or the goal itself on the last stretch.
    // `target` is the object he means to reach, if any (not an obstacle).
    TPathPoint NextStop(const TLista& list, const TCos& walker, const TCos* target, std::uint32_t command,
                        float goalX, float goalY, std::uint32_t now, std::uint32_t elapsed);
    // The walker ran into something other than his target.
    void Bumped() { Bump = true; }

    const std::vector<TPathPoint>& Waypoints() const { return Path.Waypoints; }
    // The index of the waypoint he heads for; Waypoints().size() on the last stretch.
    std::size_t Next() const { return NextWaypoint; }
    bool ReachesGoal() const { return Path.ReachesGoal; }

private:
    void Plan(const TLista& list, const TCos& walker, const TCos* target, float goalX, float goalY);

    bool Planned = false;
    std::uint32_t PlannedCommand = 0;
    const TCos* PlannedTarget = nullptr;  // compared only, never used
    std::int32_t PlannedCellX = 0;
    std::int32_t PlannedCellY = 0;
    std::uint32_t PlannedAt = 0;
    TPath Path;
    std::size_t NextWaypoint = 0;
    bool Bump = false;
    bool Seen = false;  // LastX, LastY hold where the walker was at the previous stop
    float LastX = 0;
    float LastY = 0;
    std::uint32_t HeldUpFor = 0;
};

}  // namespace gb
