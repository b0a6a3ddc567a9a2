#include "effect/media_time.h"

#include <algorithm>
#include <cmath>

namespace Effect::MediaTime {

namespace {

// The first frame of section k (k = midpoints + 1 is the frame after the object), in 64
// bits so that damaged frames cannot overflow.
int64_t sectionStart(const ObjectFrames& object, std::size_t k) {
  if (k == 0) return object.start;
  if (k <= object.midpoints.size()) return int64_t{object.start} + object.midpoints[k - 1];
  return int64_t{object.end} + 1;
}

}  // namespace

double mediaTimeAtFrame(const ObjectFrames& object, Timing timing, double frame,
                        double startTime, const SectionSpeed& speed, bool constantSpeed) {
  if (!timing.isUsable()) return startTime;
  if (constantSpeed) return startTime + timing.seconds(frame - object.start) * speed(0);

  const auto& midpoints = object.midpoints;
  // The section that holds the frame: the number of midpoints at or before it.
  const double offset = frame - object.start;
  const std::size_t section = static_cast<std::size_t>(
      std::upper_bound(midpoints.begin(), midpoints.end(), offset,
                       [](double value, int midpoint) { return value < midpoint; }) -
      midpoints.begin());
  double time = startTime;
  for (std::size_t i = 0; i < section; ++i) {
    const auto length = static_cast<double>(sectionStart(object, i + 1) - sectionStart(object, i));
    time += speed(static_cast<int>(i)) * timing.seconds(length);
  }
  const double intoSection = frame - static_cast<double>(sectionStart(object, section));
  return time + speed(static_cast<int>(section)) * timing.seconds(intoSection);
}

double wrapPosition(double time, Range range, bool loop, bool reverse) {
  const double span = range.end - range.start;
  if (loop) {
    if (!(span > 0.0)) return range.start;
    const double a = std::fmod(time - range.start, span);
    // Reverse playback lies in (start, end]: it begins at the end of the range, as it does
    // without looping, and stays inside the range at every turn.
    if (reverse) return a > 0.0 ? range.start + a : range.start + a + span;
    return a < 0.0 ? range.start + a + span : range.start + a;
  }
  return reverse ? time + span : time;
}

std::optional<int32_t> fitFrames(double seconds, double speed, Timing timing) {
  if (!timing.isUsable() || !(std::fabs(speed) > kMinimumFitSpeed)) return std::nullopt;
  const double frames =
      std::round(std::fabs(seconds / speed) * static_cast<double>(timing.rate) /
                 static_cast<double>(timing.scale));
  if (std::isnan(frames)) return std::nullopt;
  return static_cast<int32_t>(std::clamp(frames, 1.0, static_cast<double>(kMaxFitFrames)));
}

}  // namespace Effect::MediaTime
