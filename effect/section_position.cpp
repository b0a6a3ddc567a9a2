#include "effect/section_position.h"

#include <algorithm>
#include <cstdint>

namespace Effect {

namespace {

// Frame counts are computed in 64 bits (an object may span the whole int range in a
// damaged file) and brought back into an int of at least 1.
int atLeastOne(int64_t frames) {
  return static_cast<int>(std::clamp<int64_t>(frames, 1, INT32_MAX));
}

}  // namespace

SectionPosition SectionPosition::calculate(const ObjectFrames& object, int frame, double time) {
  const auto midpoints = object.midpoints;
  const int64_t start = object.start;
  const int64_t end = object.end;
  // The number of midpoints at or before the frame.
  const auto index = static_cast<std::size_t>(
      std::upper_bound(midpoints.begin(), midpoints.end(), int64_t{frame} - start,
                       [](int64_t offset, int midpoint) { return offset < midpoint; }) -
      midpoints.begin());

  SectionPosition position;
  position.sectionIndex = static_cast<int>(index);
  position.sectionCount = static_cast<int>(midpoints.size()) + 1;
  const int64_t sectionStart = index == 0 ? start : start + midpoints[index - 1];
  position.framesInSection = time - static_cast<double>(sectionStart);
  int64_t length;
  if (midpoints.empty())
    length = end - start;
  else if (index == 0)
    length = midpoints[0];
  else if (index < midpoints.size())
    length = int64_t{midpoints[index]} - midpoints[index - 1];
  else
    length = end - midpoints.back() - start;
  position.sectionLength = atLeastOne(length);
  position.objectFraction =
      (time - static_cast<double>(start)) / static_cast<double>(atLeastOne(end - start));
  return position;
}

SectionPosition SectionPosition::wholeObject(const ObjectFrames& object, double time) {
  SectionPosition position;
  const int length = atLeastOne(int64_t{object.end} - object.start);
  position.framesInSection = time - object.start;
  position.sectionLength = length;
  position.objectFraction = position.framesInSection / length;
  return position;
}

}  // namespace Effect
