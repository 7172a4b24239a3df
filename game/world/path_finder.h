#pragma once
// A way for a walker round what stands in his way: A* over the map's cells
// (48 pixels, centred on multiples of 48 as the wall blocks are), eight
// neighbours, never cutting a corner, among the objects of the object layer
// that stand still. The work is bounded: the search keeps to a window round
// the walker and the goal and expands at most a given number of cells.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace gb {

class TCos;
class TLista;

struct TPathPoint {
    float X;
    float Y;
};

struct TPath {
    // Points to walk through, in order, before the straight last stretch to
    // the goal; none when the goal can be walked to straight away.
    std::vector<TPathPoint> Waypoints;
    // False when the goal cannot be reached: the waypoints then end at the
    // reachable cell nearest to it.
    bool ReachesGoal = true;
    // False when the search stopped at its cap before it was done; the
    // waypoints then lead towards the goal as far as it went.
    bool Complete = true;
};

class TPathFinder {
public:
    static constexpr std::size_t MostExpandedCells = 16384;
    // Cells searched round the walker and the goal, and the widest window.
    static constexpr std::int32_t SearchMargin = 12;
    static constexpr std::int32_t MostWindowCells = 768;
    // Pixels kept free between the walker's footprint and an obstacle on
    // the way from cell to cell.
    static constexpr float Clearance = 1;
    // Positions further out than this (the hero parked while riding, or
    // nonsense from the script) are not searched.
    static constexpr float MostCoordinate = 1 << 24;

    // The obstacles are the objects of the list's object layer without a
    // speed, but the walker, `goalObject` (which may be none: the walker
    // means to run into it) and whatever the walker stands in already.
    TPathFinder(const TLista& list, const TCos& walker, const TCos* goalObject, float goalX, float goalY,
                std::size_t mostExpanded = MostExpandedCells);

    // Whether the walker's footprint slides straight from one point to the
    // other without overlapping an obstacle (touching is no overlap).
    bool IsClear(float x0, float y0, float x1, float y1) const { return SegmentFree(x0, y0, x1, y1, WalkerRadius); }
    TPath Find();
    // The map cell of a world coordinate: cell n spans n * 48 - 24 up to
    // n * 48 + 24. Held within +-2^30 for any value.
    static std::int32_t CellOf(float coordinate);
    // Cells the last Find expanded.
    std::size_t Expanded() const { return ExpandedCells; }

private:
    struct TBox {
        float Left, Top, Right, Bottom;  // an obstacle's footprint
    };
    struct TCell {
        std::int32_t X;
        std::int32_t Y;
        bool operator==(const TCell&) const = default;
    };
    struct TNode {
        float Cost = 0;
        std::int64_t Parent = -1;  // -1: entered from the walker's position
        bool Closed = false;
    };

    static float Centre(std::int32_t cell) { return static_cast<float>(cell) * 48; }
    static std::int64_t Key(TCell cell) {
        return (static_cast<std::int64_t>(cell.X) << 32) ^ static_cast<std::uint32_t>(cell.Y);
    }
    static TCell FromKey(std::int64_t key) {
        return {static_cast<std::int32_t>(key >> 32), static_cast<std::int32_t>(static_cast<std::uint32_t>(key))};
    }
    bool InWindow(TCell cell) const;
    bool SegmentFree(float x0, float y0, float x1, float y1, float radius) const;
    bool CellFree(TCell cell);
    float Estimate(TCell cell) const;
    std::vector<TPathPoint> Straightened(std::vector<TPathPoint> points, bool toGoal) const;

    float StartX, StartY, GoalX, GoalY;
    float WalkerRadius;
    std::size_t MostExpanded;
    std::size_t ExpandedCells = 0;
    bool Usable = false;  // false: Find walks straight and nothing is an obstacle
    TCell Low{0, 0}, High{0, 0};  // the window of cells, inclusive
    std::vector<TBox> Obstacles;
    std::vector<std::size_t> LargeObstacles;  // too big for the buckets, always tested
    std::unordered_map<std::int64_t, std::vector<std::size_t>> Buckets;  // obstacles by cell
    std::unordered_map<std::int64_t, bool> FreeCells;
};

}  // namespace gb
