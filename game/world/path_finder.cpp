#include "world/path_finder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <queue>

#include "world/cos.h"
#include "world/lista.h"

namespace gb {
namespace {

constexpr float kCell = MapCellSize;
constexpr float kDiagonal = kCell * std::numbers::sqrt2_v<float>;
constexpr float kUnreached = std::numeric_limits<float>::infinity();
// An obstacle wider than this many cells is tested on every query rather
// than filed in every cell it covers.
constexpr float kMostBucketedCells = 16;
// How many points further on the straightening looks for a shortcut.
constexpr std::size_t kShortcutLookahead = 16;

bool Plannable(float value) { return std::isfinite(value) && std::fabs(value) <= TPathFinder::MostCoordinate; }

// Whether the segment passes through the open box: touching its edges, or
// running along them, is no crossing.
bool Crosses(double x0, double y0, double x1, double y1, double left, double top, double right, double bottom) {
    double enter = 0;
    double leave = 1;
    const auto clip = [&enter, &leave](double from, double along, double low, double high) {
        if (along == 0) return from > low && from < high;
        double a = (low - from) / along;
        double b = (high - from) / along;
        if (a > b) std::swap(a, b);
        enter = std::max(enter, a);
        leave = std::min(leave, b);
        return enter < leave;
    };
    return clip(x0, x1 - x0, left, right) && clip(y0, y1 - y0, top, bottom);
}

struct TOpenEntry {
    float F;
    float G;
    std::int64_t Key;
    bool Goal;
    // The queue's top is the least F, and of equal Fs the one furthest on.
    bool operator<(const TOpenEntry& other) const {
        if (F != other.F) return F > other.F;
        return G < other.G;
    }
};

}  // namespace

std::int32_t TPathFinder::CellOf(float coordinate) {
    const double cell = std::floor((static_cast<double>(coordinate) + kCell / 2) / kCell);
    constexpr double most = 1 << 30;
    return std::isnan(cell) ? 0 : static_cast<std::int32_t>(std::clamp(cell, -most, most));
}

TPathFinder::TPathFinder(const TLista& list, const TCos& walker, const TCos* goalObject, float goalX, float goalY,
                         std::size_t mostExpanded)
    : StartX(walker.X),
      StartY(walker.Y),
      GoalX(goalX),
      GoalY(goalY),
      WalkerRadius(static_cast<float>(walker.Radius)),
      MostExpanded(mostExpanded) {
    Usable = Plannable(StartX) && Plannable(StartY) && Plannable(GoalX) && Plannable(GoalY) && walker.Radius >= 0 &&
             walker.Radius < MapCellSize;
    if (!Usable) return;

    const auto window = [](std::int32_t start, std::int32_t goal, std::int32_t& low, std::int32_t& high) {
        low = std::min(start, goal) - SearchMargin;
        high = std::max(start, goal) + SearchMargin;
        if (high - low + 1 <= MostWindowCells) return;
        // Too far: the part of the way that starts at the walker.
        if (start <= goal) {
            low = start - SearchMargin;
            high = low + MostWindowCells - 1;
        } else {
            high = start + SearchMargin;
            low = high - MostWindowCells + 1;
        }
    };
    window(CellOf(StartX), CellOf(GoalX), Low.X, High.X);
    window(CellOf(StartY), CellOf(GoalY), Low.Y, High.Y);

    const float reach = WalkerRadius + Clearance;
    const double windowLeft = Centre(Low.X) - kCell / 2 - reach;
    const double windowRight = Centre(High.X) + kCell / 2 + reach;
    const double windowTop = Centre(Low.Y) - kCell / 2 - reach;
    const double windowBottom = Centre(High.Y) + kCell / 2 + reach;
    for (std::int32_t i = 0; i < list.Count(TLista::ObjectLayer); ++i) {
        const TCos& object = list.Item(TLista::ObjectLayer, i);
        if (&object == &walker || &object == goalObject || object.Speed != 0) continue;
        const double r = object.Radius;
        const TBox box{static_cast<float>(object.X - r), static_cast<float>(object.Y - r),
                       static_cast<float>(object.X + r), static_cast<float>(object.Y + r)};
        if (!(box.Right > windowLeft && box.Left < windowRight && box.Bottom > windowTop && box.Top < windowBottom))
            continue;
        // What the walker already stands in would wall him in.
        if (Crosses(StartX, StartY, StartX, StartY, box.Left - WalkerRadius, box.Top - WalkerRadius,
                    box.Right + WalkerRadius, box.Bottom + WalkerRadius))
            continue;
        const std::size_t index = Obstacles.size();
        Obstacles.push_back(box);
        if (box.Right - box.Left > kMostBucketedCells * kCell || box.Bottom - box.Top > kMostBucketedCells * kCell) {
            LargeObstacles.push_back(index);
            continue;
        }
        for (std::int32_t y = CellOf(box.Top); y <= CellOf(box.Bottom); ++y)
            for (std::int32_t x = CellOf(box.Left); x <= CellOf(box.Right); ++x) Buckets[Key({x, y})].push_back(index);
    }
}

bool TPathFinder::InWindow(TCell cell) const {
    return cell.X >= Low.X && cell.X <= High.X && cell.Y >= Low.Y && cell.Y <= High.Y;
}

bool TPathFinder::SegmentFree(float x0, float y0, float x1, float y1, float radius) const {
    if (!Usable) return true;
    const auto blocks = [&](const TBox& box) {
        return Crosses(x0, y0, x1, y1, static_cast<double>(box.Left) - radius, static_cast<double>(box.Top) - radius,
                       static_cast<double>(box.Right) + radius, static_cast<double>(box.Bottom) + radius);
    };
    for (const std::size_t index : LargeObstacles)
        if (blocks(Obstacles[index])) return false;
    const std::int64_t left = CellOf(std::min(x0, x1) - radius);
    const std::int64_t right = CellOf(std::max(x0, x1) + radius);
    const std::int64_t top = CellOf(std::min(y0, y1) - radius);
    const std::int64_t bottom = CellOf(std::max(y0, y1) + radius);
    // A long way is cheaper tested against every obstacle than cell by cell.
    if ((right - left + 1) * (bottom - top + 1) > static_cast<std::int64_t>(Obstacles.size())) {
        return std::none_of(Obstacles.begin(), Obstacles.end(), blocks);
    }
    for (std::int64_t y = top; y <= bottom; ++y) {
        for (std::int64_t x = left; x <= right; ++x) {
            const auto bucket = Buckets.find(Key({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)}));
            if (bucket == Buckets.end()) continue;
            for (const std::size_t index : bucket->second)
                if (blocks(Obstacles[index])) return false;
        }
    }
    return true;
}

bool TPathFinder::CellFree(TCell cell) {
    const auto [entry, added] = FreeCells.try_emplace(Key(cell), false);
    if (added) {
        const float x = Centre(cell.X);
        const float y = Centre(cell.Y);
        entry->second = SegmentFree(x, y, x, y, WalkerRadius + Clearance);
    }
    return entry->second;
}

float TPathFinder::Estimate(TCell cell) const {
    const float dx = std::fabs(Centre(cell.X) - GoalX);
    const float dy = std::fabs(Centre(cell.Y) - GoalY);
    return std::max(dx, dy) + (std::numbers::sqrt2_v<float> - 1) * std::min(dx, dy);
}

TPath TPathFinder::Find() {
    ExpandedCells = 0;
    if (!Usable || IsClear(StartX, StartY, GoalX, GoalY)) return {};

    std::unordered_map<std::int64_t, TNode> nodes;
    std::priority_queue<TOpenEntry> open;
    const auto offer = [&](TCell cell, float cost, std::int64_t parent) {
        auto [node, added] = nodes.try_emplace(Key(cell));
        if (added) node->second.Cost = kUnreached;
        if (node->second.Closed || !(cost < node->second.Cost)) return;
        node->second.Cost = cost;
        node->second.Parent = parent;
        open.push({cost + Estimate(cell), cost, Key(cell), false});
    };

    const TCell startCell{CellOf(StartX), CellOf(StartY)};
    for (std::int32_t dy = -1; dy <= 1; ++dy) {
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
            const TCell cell{startCell.X + dx, startCell.Y + dy};
            if (!InWindow(cell) || !CellFree(cell)) continue;
            const float x = Centre(cell.X);
            const float y = Centre(cell.Y);
            if (SegmentFree(StartX, StartY, x, y, WalkerRadius)) offer(cell, std::hypot(x - StartX, y - StartY), -1);
        }
    }

    const TCell goalCell{CellOf(GoalX), CellOf(GoalY)};
    float goalCost = kUnreached;
    std::int64_t goalParent = 0;
    bool reached = false;
    bool capped = false;
    std::int64_t nearest = 0;
    float nearestDistance = kUnreached;
    while (!open.empty()) {
        const TOpenEntry entry = open.top();
        open.pop();
        if (entry.Goal) {
            reached = true;
            break;
        }
        TNode& node = nodes.at(entry.Key);
        if (node.Closed || entry.G > node.Cost) continue;
        if (ExpandedCells == MostExpanded) {
            capped = true;
            break;
        }
        node.Closed = true;
        ++ExpandedCells;

        const TCell cell = FromKey(entry.Key);
        const float x = Centre(cell.X);
        const float y = Centre(cell.Y);
        const float toGoal = std::hypot(x - GoalX, y - GoalY);
        if (toGoal < nearestDistance) {
            nearestDistance = toGoal;
            nearest = entry.Key;
        }
        if (std::abs(cell.X - goalCell.X) <= 1 && std::abs(cell.Y - goalCell.Y) <= 1 &&
            node.Cost + toGoal < goalCost && SegmentFree(x, y, GoalX, GoalY, WalkerRadius)) {
            goalCost = node.Cost + toGoal;
            goalParent = entry.Key;
            open.push({goalCost, goalCost, 0, true});
        }
        for (std::int32_t dy = -1; dy <= 1; ++dy) {
            for (std::int32_t dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                const TCell next{cell.X + dx, cell.Y + dy};
                if (!InWindow(next) || !CellFree(next)) continue;
                const bool diagonal = dx != 0 && dy != 0;
                // No cutting of corners: both cells beside a diagonal step are free.
                if (diagonal && !(CellFree({cell.X + dx, cell.Y}) && CellFree({cell.X, cell.Y + dy}))) continue;
                if (!SegmentFree(x, y, Centre(next.X), Centre(next.Y), WalkerRadius + Clearance)) continue;
                offer(next, node.Cost + (diagonal ? kDiagonal : kCell), entry.Key);
            }
        }
    }

    TPath path;
    path.ReachesGoal = reached;
    path.Complete = !capped;
    if (!reached && nearestDistance == kUnreached) return path;
    std::vector<TPathPoint> cells;
    for (std::int64_t key = reached ? goalParent : nearest;;) {
        const TCell cell = FromKey(key);
        cells.push_back({Centre(cell.X), Centre(cell.Y)});
        key = nodes.at(key).Parent;
        if (key == -1) break;
    }
    std::reverse(cells.begin(), cells.end());
    path.Waypoints = Straightened(std::move(cells), reached);
    return path;
}

// The cell centres with the corners that a straight walk can cut left out:
// from each point on, the furthest of the next few that is in plain sight.
std::vector<TPathPoint> TPathFinder::Straightened(std::vector<TPathPoint> points, bool toGoal) const {
    std::vector<TPathPoint> kept;
    TPathPoint from{StartX, StartY};
    float radius = WalkerRadius;  // from where the walker stands, no clearance is asked
    for (std::size_t i = 0; i < points.size();) {
        if (toGoal && SegmentFree(from.X, from.Y, GoalX, GoalY, radius)) break;
        std::size_t next = i;
        for (std::size_t j = std::min(points.size() - 1, i + kShortcutLookahead); j > i; --j) {
            if (SegmentFree(from.X, from.Y, points[j].X, points[j].Y, radius)) {
                next = j;
                break;
            }
        }
        from = points[next];
        kept.push_back(from);
        radius = WalkerRadius + Clearance;
        i = next + 1;
    }
    return kept;
}

}  // namespace gb
