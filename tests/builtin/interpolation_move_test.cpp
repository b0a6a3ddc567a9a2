// "補間移動": a smooth curve through the points, each section in its own frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "builtin/movement/interpolation_move.h"
#include "effect/section_position.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;
using TestSupport::makeObject;

constexpr int kBoth = EffectItemNumber::FlagAccelerate | EffectItemNumber::FlagDecelerate;

struct CurveCase {
  const char* what;
  std::vector<int> midpoints;  // of an object from 0 to 100
  std::vector<double> values;
  int flags;
  double time;
  double expected;
};

TEST(InterpolationMove, FollowsTheCurveThroughThePoints) {
  const std::vector<double> line = {0, 100};
  const std::vector<double> arch = {0, 100, 40, 0};
  const CurveCase cases[] = {
      {"at rest at the start", {}, line, kBoth, 0, 0},
      {"a quarter, both ends at rest", {}, line, kBoth, 25, 16.963636875152588},
      {"half way, both ends at rest", {}, line, kBoth, 50, 50},
      {"at rest at the end", {}, line, kBoth, 100, 100},
      {"a quarter, both ends extrapolated", {}, line, 0, 25, 24.330227375030518},
      {"half way, both ends extrapolated", {}, line, 0, 50, 50},
      // Sections of 10, 50 and 40 frames.
      {"first section", {10, 60}, arch, kBoth, 5, 63.897705078125},
      {"middle section", {10, 60}, arch, kBoth, 35, 69.79409790039062},
      {"last section", {10, 60}, arch, kBoth, 70, 27.316399812698364},
      {"first section, start extrapolated", {10, 60}, arch, 0, 5, 72.99695696149553},
      {"the middle section has no ends", {10, 60}, arch, 0, 35, 69.79409790039062},
      {"last section, end extrapolated", {10, 60}, arch, 0, 70, 27.831288150378636},
      {"a midpoint shows its value", {10, 60}, arch, kBoth, 10, 100},
      {"the second midpoint", {10, 60}, arch, 0, 60, 40},
      {"the end shows the last value", {10, 60}, arch, 0, 100, 0},
      // Points that coincide bend nothing and divide by nothing.
      {"all points alike", {10, 60}, {5, 5, 5, 5}, 0, 35, 5},
      {"all points alike at rest", {10, 60}, {5, 5, 5, 5}, kBoth, 35, 5},
  };
  for (const CurveCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    const auto& track = tracks.add(kind<InterpolationMove>(), c.values, c.flags);
    EXPECT_NEAR(valueAt(track, makeObject(0, 100, c.midpoints), c.time), c.expected, 1e-9);
  }
}

// The value on the side of a section: `frameInSection` names the section, `time` may be
// its end.
double sideValue(const EffectItemNumber& track, const EffectContext& context, int frameInSection,
                 double time) {
  const SectionPosition position =
      SectionPosition::calculate(context.objectFrames, frameInSection, time);
  return track.movement->getValue(track, position, context);
}

struct LayoutCase {
  const char* what;
  std::vector<int> midpoints;  // of an object from 0 to 100
  std::vector<double> values;
  int flags;
};

TEST(InterpolationMove, ValueAndSpeedCarryOverEveryMidpoint) {
  constexpr double h = 1e-6;
  const LayoutCase cases[] = {
      {"short, long, long", {10, 60}, {0, 100, 40, 0}, kBoth},
      {"short, long, long, ends extrapolated", {10, 60}, {0, 100, 40, 0}, 0},
      {"a one-frame section", {50, 51}, {0, 30, 100, 20}, kBoth},
      {"long then short", {90, 95}, {0, -40, 100, 20}, 0},
      {"four sections", {20, 25, 70}, {10, 90, 20, 60, 0}, kBoth},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    const auto& track = tracks.add(kind<InterpolationMove>(), c.values, c.flags);
    const EffectContext context = TestSupport::contextAt(makeObject(0, 100, c.midpoints), 0);
    for (std::size_t i = 0; i < c.midpoints.size(); ++i) {
      const int m = c.midpoints[i];
      SCOPED_TRACE(m);
      // The section before ends at m; the one after starts there.
      const double endOfBefore = sideValue(track, context, m - 1, m);
      const double startOfAfter = sideValue(track, context, m, m);
      EXPECT_NEAR(endOfBefore, c.values[i + 1], 1e-9);
      EXPECT_NEAR(startOfAfter, c.values[i + 1], 1e-9);
      const double speedBefore = (endOfBefore - sideValue(track, context, m - 1, m - h)) / h;
      const double speedAfter = (sideValue(track, context, m, m + h) - startOfAfter) / h;
      EXPECT_NEAR(speedBefore, speedAfter, 1e-3 * std::max(1.0, std::abs(speedAfter)));
    }
  }
}

TEST(InterpolationMove, OptionsDecideTheSpeedAtTheEnds) {
  // One section from 0 to 100 over 100 frames. At rest with both options; without them
  // the phantom neighbours (-66.7 and 166.7) give tangents of 80 per section, and the
  // progress warp starts at 1.125 times the frame rate: 0.9 per frame.
  constexpr double h = 1e-6;
  struct EndCase {
    const char* what;
    int flags;
    double startSpeed;
    double endSpeed;
  };
  const EndCase cases[] = {
      {"both options", kBoth, 0, 0},
      {"neither option", 0, 0.9, 0.9},
      {"acceleration only", EffectItemNumber::FlagAccelerate, 0, 0.9},
      {"deceleration only", EffectItemNumber::FlagDecelerate, 0.9, 0},
  };
  const auto object = makeObject(0, 100);
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    const auto& track = tracks.add(kind<InterpolationMove>(), {0, 100}, c.flags);
    EXPECT_NEAR((valueAt(track, object, h) - valueAt(track, object, 0)) / h, c.startSpeed, 1e-4);
    EXPECT_NEAR((valueAt(track, object, 100) - valueAt(track, object, 100 - h)) / h,
                c.endSpeed, 1e-4);
  }
}

}  // namespace
