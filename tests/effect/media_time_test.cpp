#include "effect/media_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using Effect::MediaTime::fitFrames;
using Effect::MediaTime::kMinimumFitSpeed;
using Effect::MediaTime::mediaTimeAtFrame;
using Effect::MediaTime::Range;
using Effect::MediaTime::Timing;
using Effect::MediaTime::wrapPosition;

TEST(MediaTimeTest, FitFramesAtAndAroundTheSlowestSpeed) {
  const Timing fps30{30, 1};
  struct Case {
    double seconds, speed;
    std::optional<int32_t> frames;
  };
  const Case cases[] = {
      {10.0, 1.0, 300},
      {10.0, -1.0, 300},                                         // reverse fits the same
      {10.0, 2.0, 150},
      {10.0, 0.1, 3000},                                         // 10 % still fits
      {10.0, 0.099, std::nullopt},                               // 9.9 % does not
      {10.0, kMinimumFitSpeed, std::nullopt},                    // the bound itself does not
      {10.0, std::nextafter(kMinimumFitSpeed, 1.0), 3000},       // just above it does
      {10.0, 0.0, std::nullopt},
      {10.0, std::nan(""), std::nullopt},
      {0.0, 1.0, 1},                                             // never below one frame
      {0.05, 1.0, 2},                                            // 1.5 frames: halves away
      {1.0e12, 1.0, Effect::MediaTime::kMaxFitFrames},           // a damaged length
  };
  for (const Case& c : cases)
    EXPECT_EQ(fitFrames(c.seconds, c.speed, fps30), c.frames)
        << c.seconds << " s at " << c.speed;
  EXPECT_EQ(fitFrames(10.0, 1.0, Timing{0, 1}), std::nullopt);
  EXPECT_EQ(fitFrames(10.0, 1.0, Timing{30000, 1001}), 300);
}

TEST(MediaTimeTest, ConstantSpeedRunsFromTheStartTime) {
  const Effect::ObjectFrames object{100, 399, {}};
  const auto speed = [](int) { return 1.0; };
  EXPECT_DOUBLE_EQ(mediaTimeAtFrame(object, {30, 1}, 130, 0.0, speed, true), 1.0);
  EXPECT_DOUBLE_EQ(mediaTimeAtFrame(object, {30, 1}, 100, 2.5, speed, true), 2.5);
  const auto half = [](int) { return 0.5; };
  EXPECT_DOUBLE_EQ(mediaTimeAtFrame(object, {30, 1}, 160, 1.0, half, true), 2.0);
}

TEST(MediaTimeTest, EachSectionRunsAtItsFirstPointsSpeed) {
  // Sections [0, 30), [30, 90), [90, 300) at 1x, 2x and -1x.
  const std::vector<int> midpoints{30, 90};
  const Effect::ObjectFrames object{0, 299, midpoints};
  const std::vector<double> speeds{1.0, 2.0, -1.0};
  const auto speed = [&speeds](int index) { return speeds[std::min<size_t>(index, 2)]; };
  struct Case {
    double frame, seconds;
  };
  const Case cases[] = {{0, 0.0}, {15, 0.5}, {30, 1.0}, {60, 3.0}, {90, 5.0}, {120, 4.0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(mediaTimeAtFrame(object, {30, 1}, c.frame, 0.0, speed, false), c.seconds)
        << "frame " << c.frame;
}

TEST(MediaTimeTest, WrapPosition) {
  const Range range{0.0, 4.0};
  struct Case {
    double time;
    Range range;
    bool loop, reverse;
    double expected;
  };
  const Case cases[] = {
      {5.0, range, true, false, 1.0},          // a 10 s object over a 4 s range
      {9.5, range, true, false, 1.5},
      {-1.0, range, true, false, 3.0},
      {0.0, range, true, true, 4.0},           // reverse starts at the range's end
      {-1.0, range, true, true, 3.0},          // and counts down inside the range
      {-4.5, range, true, true, 3.5},
      {1.0, range, true, true, 1.0},
      {3.0, {2.0, 2.0}, true, false, 2.0},     // a range of no length holds its start
      {3.0, range, false, false, 3.0},
      {2.0, {2.0, 5.0}, false, true, 5.0},     // reverse starts at the range's end
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(wrapPosition(c.time, c.range, c.loop, c.reverse), c.expected)
        << c.time << " loop " << c.loop << " reverse " << c.reverse;
}

}  // namespace
