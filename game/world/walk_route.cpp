#include "world/walk_route.h"

#include <algorithm>
#include <cmath>

#include "world/cos.h"
#include "world/world_time.h"

namespace gb {

TPathPoint TWalkRoute::NextStop(const TLista& list, const TCos& walker, const TCos* target, std::uint32_t command,
                                float goalX, float goalY, std::uint32_t now, std::uint32_t elapsed) {
    // Held up: he ran into an obstacle and made less than half of his way.
    const double step = static_cast<double>(walker.Speed) * elapsed;
    if (Seen && Bump && std::hypot(walker.X - LastX, walker.Y - LastY) < step / 2)
        HeldUpFor += elapsed;
    else
        HeldUpFor = 0;
    Bump = false;
    Seen = true;
    LastX = walker.X;
    LastY = walker.Y;

    const std::int32_t cellX = TPathFinder::CellOf(goalX);
    const std::int32_t cellY = TPathFinder::CellOf(goalY);
    bool plan = !Planned || command != PlannedCommand || target != PlannedTarget || cellX != PlannedCellX ||
                cellY != PlannedCellY;
    if (!plan && IsPast(PlannedAt, ReplanInterval, now)) {
        const bool onLastStretch = NextWaypoint == Path.Waypoints.size();
        // Short of an unreachable goal he pushes on as he always did.
        if (HeldUpFor >= HeldUpTime && (!onLastStretch || Path.ReachesGoal)) plan = true;
        // A search cut short goes on from where its way ended.
        if (onLastStretch && !Path.Complete) plan = true;
    }
    if (plan) {
        Plan(list, walker, target, goalX, goalY);
        Planned = true;
        PlannedCommand = command;
        PlannedTarget = target;
        PlannedCellX = cellX;
        PlannedCellY = cellY;
        PlannedAt = now;
        HeldUpFor = 0;
    }

    // A waypoint within this frame's step counts as passed.
    const double reach = std::max(2.0, step);
    while (NextWaypoint < Path.Waypoints.size()) {
        const TPathPoint& point = Path.Waypoints[NextWaypoint];
        if (std::hypot(point.X - walker.X, point.Y - walker.Y) > reach) return point;
        ++NextWaypoint;
    }
    return {goalX, goalY};
}

void TWalkRoute::Plan(const TLista& list, const TCos& walker, const TCos* target, float goalX, float goalY) {
    TPathFinder finder(list, walker, target, goalX, goalY);
    Path = finder.Find();
    NextWaypoint = 0;
}

}  // namespace gb
