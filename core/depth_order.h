#pragma once
// The painter's order of the renderer: far (large depth) first, exactly as
// this selection sort leaves it, equal depths, signed zeros and NaN included:
//   for i = 0 .. n-2: m = i; best = d[i];
//                     for j = i+1 .. n-1: if d[j] > best then best = d[j], m = j;
//                     swap positions i and m (also when m = i)
// It is not a stable sort; callers rely on the overlaps it gives.

#include <cstdint>
#include <span>
#include <vector>

namespace bbx {

// The original index of the record at each position after the sort, in
// O(n log n) time and O(n) memory.
std::vector<std::uint32_t> FarToNearOrder(std::span<const float> depths);

}  // namespace bbx
