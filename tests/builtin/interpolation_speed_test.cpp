// "補間移動(時間制御)": the smooth curve through the points at an even pace along the
// whole path.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "builtin/movement/interpolation_speed.h"
#include "effect/section_position.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;
using TestSupport::makeObject;

struct PaceCase {
  const char* what;
  std::vector<int> midpoints;  // of an object from 0 to 100
  std::vector<double> values;
  double time;
  double expected;
};

TEST(InterpolationSpeed, TravelsThePathAtAnEvenPace) {
  const std::vector<double> path = {0, 10, 40};  // sections of 10 and 30 units
  const std::vector<double> arch = {0, 100, 40, 0};
  const PaceCase cases[] = {
      {"the start", {}, {0, 100}, 0, 0},
      {"a quarter of one section", {}, {0, 100}, 25, 25.057158203124995},
      {"half of one section", {}, {0, 100}, 50, 50},
      {"the end of one section", {}, {0, 100}, 100, 100},
      {"the midpoint's value at a quarter of the time", {80}, path, 25, 10},
      {"whatever the midpoint's frame", {20}, path, 25, 10},
      {"half the time", {80}, path, 50, 20.189672278119644},
      {"the end", {80}, path, 100, 40},
      // Sections of 100, 60 and 40 units.
      {"three sections: inside the first", {10, 60}, arch, 30, 70.31959418908787},
      {"three sections: the second point", {90, 95}, arch, 50, 100},
      {"three sections: the third point", {10, 60}, arch, 80, 40},
      // No length at all: the first point, without a division by zero.
      {"a path of no length", {50}, {5, 5, 5}, 60, 5},
      {"a path of no length at its end", {50}, {5, 5, 5}, 100, 5},
  };
  for (const PaceCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    const auto& track = tracks.add(kind<InterpolationSpeed>(), c.values);
    EXPECT_NEAR(valueAt(track, makeObject(0, 100, c.midpoints), c.time), c.expected, 1e-9);
  }
}

TEST(InterpolationSpeed, IgnoresTheOptionBits) {
  // The kind offers neither acceleration nor deceleration: bits a text may carry change
  // nothing.
  const auto object = makeObject(0, 100, {10, 60});
  Tracks tracks;
  const auto& plain = tracks.add(kind<InterpolationSpeed>(), {0, 100, 40, 0});
  const auto& flagged = tracks.add(kind<InterpolationSpeed>(), {0, 100, 40, 0},
                                   EffectItemNumber::FlagAccelerate |
                                       EffectItemNumber::FlagDecelerate);
  for (double time : {0.0, 5.0, 30.0, 70.0, 99.5})
    EXPECT_EQ(valueAt(flagged, object, time), valueAt(plain, object, time)) << time;
}

TEST(InterpolationSpeed, TheEasingCurveShapesTheProgress) {
  // The curve (0.5, 0, 0, 0) reaches 0.5 at the object's progress 0.6875: half the path.
  Tracks tracks;
  auto& track = tracks.add(kind<InterpolationSpeed>(), {0, 10, 40});
  track.timeControl = {0.5, 0.0, 0.0, 0.0};
  EXPECT_NEAR(valueAt(track, makeObject(0, 160, {150}), 110), 20.189672278119644, 1e-3);
  // Past the end the curve extrapolates instead of stopping.
  track.timeControl.clear();
  EXPECT_GT(valueAt(track, makeObject(0, 100, {50}), 110), 40);
}

TEST(InterpolationSpeed, ReportsTheSectionOfItsValue) {
  Tracks tracks;
  const auto& track = tracks.add(kind<InterpolationSpeed>(), {0, 10, 40});
  const std::vector<int> midpoints = {80};
  const ObjectFrames frames{0, 100, midpoints};
  const int cases[][2] = {{0, 0}, {25, 0}, {26, 1}, {50, 1}, {85, 1}, {100, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    const SectionPosition position = SectionPosition::calculate(frames, c[0], c[0]);
    EXPECT_EQ(kind<InterpolationSpeed>().getSectionFrame(track, position), c[1]);
  }
}

}  // namespace
