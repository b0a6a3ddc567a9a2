#include "builtin/movement/path_progress.h"

namespace Effect {

namespace {

// Calls `visit(i, length)` for each section in order until it returns true; the lengths
// are measured from one point to the next, each point read once.
template <class Visit>
void walkSections(const LinkedPoints& points, int sectionCount, bool doubleFirst,
                  bool doubleLast, Visit&& visit) {
  Point3D from = points.at(0);
  for (int i = 0; i < sectionCount; ++i) {
    const Point3D to = points.at(i + 1);
    double length = distance(from, to);
    if (i == 0 && doubleFirst) length *= 2.0;
    if (i == sectionCount - 1 && doubleLast) length *= 2.0;
    if (visit(i, length)) return;
    from = to;
  }
}

}  // namespace

PathProgress findPathProgress(const LinkedPoints& points, int sectionCount, double easedProgress,
                              bool doubleFirst, bool doubleLast) {
  if (sectionCount < 2) return {0, easedProgress};

  double total = 0.0;
  walkSections(points, sectionCount, doubleFirst, doubleLast, [&](int, double length) {
    total += length;
    return false;
  });

  double remaining = easedProgress * total;
  PathProgress found{sectionCount - 1, 1.0};
  bool inside = false;
  double lastLength = 0.0;
  walkSections(points, sectionCount, doubleFirst, doubleLast, [&](int i, double length) {
    if (remaining <= length) {
      found = {i, length == 0.0 ? 0.0 : remaining / length};
      inside = true;
      return true;
    }
    remaining -= length;
    lastLength = length;
    return false;
  });
  // Beyond the sum the last section goes on at its own speed.
  if (!inside && lastLength != 0.0) found.progress = 1.0 + remaining / lastLength;
  return found;
}

}  // namespace Effect
