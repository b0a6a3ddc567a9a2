#pragma once
// The arithmetic of the media inputs: which media time an object frame shows, how a time
// wraps into the playback range, and how many frames an object needs to hold its media.
// Pure functions of numbers, so the render workers and the edit handlers share them and the
// tests reach them without an effect.
#include <cstdint>
#include <functional>
#include <optional>

#include "effect/section_position.h"

namespace Effect::MediaTime {

// Speeds (as ratios, 1 = normal) at or below this magnitude never resize an object: the
// object would grow to ten times its media or more. A little below 0.1 so that 10 % still
// fits and 9.9 % does not.
inline constexpr double kMinimumFitSpeed = 0.09999989718198776;

// The longest object a fit may ask for, in frames: one frame before the last frame, so the
// frame after the object still exists.
inline constexpr int32_t kMaxFitFrames = 2147483646;

// A frame rate of `rate` frames per `scale` seconds. Both are positive in a usable timing.
struct Timing {
  int32_t rate = 30;
  int32_t scale = 1;
  bool isUsable() const { return rate > 0 && scale > 0; }
  double seconds(double frames) const {
    return frames * static_cast<double>(scale) / static_cast<double>(rate);
  }
};

// The stretch of media an object plays, in seconds: [start, end].
struct Range {
  double start = 0.0;
  double end = 0.0;
};

// The speed ratio of section `index` (the track clamps the index to its last value).
using SectionSpeed = std::function<double(int index)>;

// The media time at object frame `frame` when playback starts at `startTime` on the
// object's first frame. A constant speed runs at `speed(0)` throughout; otherwise each
// section runs at the speed of its first point.
double mediaTimeAtFrame(const ObjectFrames& object, Timing timing, double frame,
                        double startTime, const SectionSpeed& speed, bool constantSpeed);

// Brings a media time into the range. With looping it repeats the range (a range of no
// length holds its start); reverse playback counts down from the end of the range.
double wrapPosition(double time, Range range, bool loop, bool reverse);

// Frames an object needs to play `seconds` of media at `speed`: at least 1, rounded to the
// nearest frame with halves away from zero, at most kMaxFitFrames. Nothing when the speed is
// too slow to fit (see kMinimumFitSpeed), the timing unusable or the numbers not finite.
std::optional<int32_t> fitFrames(double seconds, double speed, Timing timing);

}  // namespace Effect::MediaTime
