#include "core/depth_order.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <utility>

namespace bbx {
namespace {

// Below this many records the quadratic scan beats the tree's bookkeeping:
// on random depths the two cost the same (about 3 us) near 128.
constexpr std::size_t kTreeCrossover = 128;

// The index the selection step i picks: it keeps a running best from
// depths[i] and moves on only to a strictly greater depth. That is the first
// index holding the maximum (NaN never wins), or i itself when nothing beats
// depths[i]. The maximum is found with independent lanes, so the scan is not
// one long dependency chain.
std::size_t PickFarthest(const std::vector<float>& depths, std::size_t i) {
    const float start = depths[i];
    if (std::isnan(start)) return i;
    constexpr std::size_t kLanes = 4;
    float lane[kLanes] = {start, start, start, start};
    std::size_t j = i + 1;
    for (; j + kLanes <= depths.size(); j += kLanes)
        for (std::size_t k = 0; k < kLanes; ++k)
            if (depths[j + k] > lane[k]) lane[k] = depths[j + k];
    for (; j < depths.size(); ++j)
        if (depths[j] > lane[0]) lane[0] = depths[j];
    float best = start;
    for (float v : lane)
        if (v > best) best = v;
    if (!(best > start)) return i;
    for (j = i + 1; depths[j] != best; ++j) {
    }
    return j;
}

// A depth as an unsigned key in the order of the comparison: -0 and +0 the
// same, every number above NaN (which is 0, like a placed position).
std::uint32_t DepthKey(float depth) {
    if (std::isnan(depth)) return 0;
    if (depth == 0) depth = 0;  // -0 as +0
    std::uint32_t bits;
    std::memcpy(&bits, &depth, sizeof bits);
    return bits & 0x80000000u ? ~bits : bits | 0x80000000u;
}

// A tournament over positions: every node holds the leftmost position of the
// greatest depth key below it. Key and position share one 64-bit word (the
// position inverted in the low half), so a node is the larger of its two
// children and ties go to the left, as in the scan. Placed positions get
// key 0, so the root answers "first index of the maximum of the positions
// still to sort".
class TDepthTournament {
public:
    explicit TDepthTournament(const std::vector<float>& depths) {
        while (Leaves < depths.size()) Leaves *= 2;
        Nodes.assign(2 * Leaves, 0);
        for (std::size_t i = 0; i < depths.size(); ++i) Nodes[Leaves + i] = Word(DepthKey(depths[i]), i);
        for (std::size_t n = Leaves - 1; n >= 1; --n) Nodes[n] = std::max(Nodes[2 * n], Nodes[2 * n + 1]);
    }

    void Set(std::size_t position, std::uint32_t key) {
        std::size_t n = Leaves + position;
        Nodes[n] = Word(key, position);
        for (n /= 2; n >= 1; n /= 2) Nodes[n] = std::max(Nodes[2 * n], Nodes[2 * n + 1]);
    }

    std::uint32_t BestKey() const { return static_cast<std::uint32_t>(Nodes[1] >> 32); }
    std::size_t BestPosition() const { return 0xFFFFFFFFu - static_cast<std::uint32_t>(Nodes[1]); }

private:
    static std::uint64_t Word(std::uint32_t key, std::size_t position) {
        return std::uint64_t{key} << 32 | (0xFFFFFFFFu - static_cast<std::uint32_t>(position));
    }

    std::size_t Leaves = 1;
    std::vector<std::uint64_t> Nodes;  // 1 is the root, Leaves + i the position i
};

}  // namespace

std::vector<std::uint32_t> FarToNearOrder(std::span<const float> input) {
    std::vector<float> depths(input.begin(), input.end());
    std::vector<std::uint32_t> order(depths.size());
    std::iota(order.begin(), order.end(), 0u);
    const auto place = [&](std::size_t i, std::size_t m) {
        std::swap(depths[i], depths[m]);
        std::swap(order[i], order[m]);
    };
    if (depths.size() < kTreeCrossover) {
        for (std::size_t i = 0; i + 1 < depths.size(); ++i) place(i, PickFarthest(depths, i));
        return order;
    }
    TDepthTournament tournament(depths);
    for (std::size_t i = 0; i + 1 < depths.size(); ++i) {
        tournament.Set(i, 0);
        // A NaN at i is beaten by nothing; otherwise the first greatest depth
        // left wins if it is greater. Else the step swaps i with itself.
        const bool beaten = !std::isnan(depths[i]) && tournament.BestKey() > DepthKey(depths[i]);
        const std::size_t m = beaten ? tournament.BestPosition() : i;
        place(i, m);
        if (m != i) tournament.Set(m, DepthKey(depths[m]));
    }
    return order;
}

}  // namespace bbx
