#pragma once
// Where a set of objects lies: its smallest and largest layer, its earliest start and
// latest end, and per layer the earliest start and latest end of the objects there. Paste
// and ripple moves use it to find the place where a block of objects fits.
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace Edit {

struct ObjectRange {
  int32_t minLayer = 0;
  int32_t maxLayer = 0;
  int32_t minStart = 0;
  int32_t maxEnd = 0;
  // layer -> (earliest start, latest end)
  std::unordered_map<int32_t, std::pair<int32_t, int32_t>> layers;
};

}  // namespace Edit
