#include "builtin/movement/path_progress.h"

namespace Effect {

namespace {

// Paths of up to this many sections keep their lengths on the stack for the walk; longer
// ones measure them a second time instead of allocating.
constexpr int kKeptLengths = 256;

double sectionLength(const LinkedPoints& points, int i, int sectionCount, bool doubleFirst,
                     bool doubleLast) {
  double length = points.stepLength(i);
  if (i == 0 && doubleFirst) length *= 2.0;
  if (i == sectionCount - 1 && doubleLast) length *= 2.0;
  return length;
}

// Walks the sections with `remaining` of the path to cover: the section where it runs
// out, or the last one extrapolated past its end.
template <class Length>
PathProgress walk(double remaining, int sectionCount, Length&& lengthOf) {
  double length = 0.0;
  for (int i = 0; i < sectionCount; ++i) {
    length = lengthOf(i);
    if (remaining <= length) return {i, length == 0.0 ? 0.0 : remaining / length};
    remaining -= length;
  }
  // Beyond the sum the last section goes on at its own speed.
  return {sectionCount - 1, length == 0.0 ? 1.0 : 1.0 + remaining / length};
}

}  // namespace

PathProgress findPathProgress(const LinkedPoints& points, int sectionCount, double easedProgress,
                              bool doubleFirst, bool doubleLast) {
  if (sectionCount < 2) return {0, easedProgress};
  const auto measure = [&](int i) {
    return sectionLength(points, i, sectionCount, doubleFirst, doubleLast);
  };

  if (sectionCount <= kKeptLengths) {
    double lengths[kKeptLengths];
    double total = 0.0;
    for (int i = 0; i < sectionCount; ++i) {
      lengths[i] = measure(i);
      total += lengths[i];
    }
    return walk(easedProgress * total, sectionCount, [&](int i) { return lengths[i]; });
  }

  double total = 0.0;
  for (int i = 0; i < sectionCount; ++i) total += measure(i);
  return walk(easedProgress * total, sectionCount, measure);
}

}  // namespace Effect
