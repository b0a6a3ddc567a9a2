#pragma once
// Where a time-controlled track stands on its path: the object's progress, passed through
// the track's easing curve, is a fraction of the whole path length, and the path is walked
// section by section until that length is used up. The speed along the path is therefore
// even, whatever the frames of the midpoints.
#include "builtin/movement/linked_points.h"

namespace Effect {

struct PathProgress {
  int section = 0;
  double progress = 0.0;  // inside the section; above 1 past the last point
};

// The lengths are the distances between consecutive points P(0) .. P(sectionCount) of the
// track's link group; `doubleFirst` and `doubleLast` count the first and the last section
// twice. With fewer than two sections the progress is the eased progress itself. A
// section of zero length gives progress 0 inside it; a path of zero length stays at its
// first point; past the end the last section extrapolates. Nothing is kept between calls
// and nothing is allocated: the lengths are measured on every call (kept on the stack for
// the walk, or measured again on very long paths).
PathProgress findPathProgress(const LinkedPoints& points, int sectionCount, double easedProgress,
                              bool doubleFirst, bool doubleLast);

}  // namespace Effect
