#pragma once
// Where an instant lies inside an object: which section (the stretch between two of its
// points), how far into that section, and how far into the whole object.
//
// An object covers its first to its last frame (both included); its midpoints are frame
// offsets from the first frame, ascending; n midpoints make n + 1 sections.
#include <span>

#include "effect/outer_types.h"

namespace Effect {

// The frames of an object that positions are computed from, as the edit model hands them
// over (Edit::Object::frames()). The midpoints are borrowed from the object and stay valid
// while the object is neither changed nor destroyed.
struct ObjectFrames {
  int start = 0;
  int end = 0;
  std::span<const int> midpoints;
};

struct SectionPosition {
  int sectionIndex = 0;          // 0 before the first midpoint, k after the k-th
  int sectionCount = 1;          // midpoints + 1
  double framesInSection = 0.0;  // time minus the first frame of the section
  int sectionLength = 1;         // frames from the section's start to its end, at least 1
  double objectFraction = 0.0;   // (time - start) / max(1, end - start)

  bool operator==(const SectionPosition&) const = default;

  // The position of `time` (in frames) in the section that holds `frame`.
  static SectionPosition calculate(const ObjectFrames& object, int frame, double time);
  // One section over the whole object, as a number item that ignores midpoints sees it.
  static SectionPosition wholeObject(const ObjectFrames& object, double time);
};

}  // namespace Effect
