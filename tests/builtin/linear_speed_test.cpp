// "直線移動(時間制御)": straight lines at an even speed along the whole path, the sections
// sharing the object's time by their lengths.
#include <gtest/gtest.h>

#include <vector>

#include "builtin/movement/linear_speed.h"
#include "effect/section_position.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;
using TestSupport::makeObject;

constexpr int kAccelerate = EffectItemNumber::FlagAccelerate;
constexpr int kDecelerate = EffectItemNumber::FlagDecelerate;

struct ObjectShape {
  int start;
  int end;
  std::vector<int> midpoints;
};

struct SpeedCase {
  const char* what;
  ObjectShape object;
  std::vector<double> values;
  int flags;
  double time;
  double expected;
};

TEST(LinearSpeed, SectionsShareTheTimeByTheirLengths) {
  // Values 0, 10, 40: sections of 10 and 30 units, 40 in all.
  const std::vector<double> path = {0, 10, 40};
  const SpeedCase cases[] = {
      {"the start", {0, 100, {50}}, path, 0, 0, 0},
      {"the midpoint's value at a quarter of the time", {0, 100, {50}}, path, 0, 25, 10},
      {"whatever the midpoint's frame", {0, 100, {80}}, path, 0, 25, 10},
      {"half the time is a third into the long section", {0, 100, {80}}, path, 0, 50, 20},
      {"between frames", {0, 100, {50}}, path, 0, 12.5, 5},
      {"the end", {0, 100, {50}}, path, 0, 100, 40},
      {"past the end the last section goes on", {0, 100, {50}}, path, 0, 125, 50},
      // Acceleration counts the first section twice (20 of 50) and starts it at rest: the
      // curve's control points are 0, 0, 5 and 10.
      {"acceleration: the midpoint at 40%", {0, 100, {50}}, path, kAccelerate, 40, 10},
      {"acceleration: half the first section", {0, 100, {50}}, path, kAccelerate, 20, 3.125},
      {"acceleration leaves the last section linear", {0, 100, {50}}, path, kAccelerate, 70, 25},
      // Deceleration counts the last section twice (60 of 70): at 40 of 70 it is half way
      // through it, on the curve 10, 25, 40, 40.
      {"deceleration: half the last section", {0, 70, {20}}, path, kDecelerate, 40, 30.625},
      {"deceleration leaves the first section linear", {0, 70, {20}}, path, kDecelerate, 5, 5},
      // A section of no length takes no time.
      {"an empty first section is skipped", {0, 100, {50}}, {0, 0, 10}, 0, 50, 5},
      {"an empty first section at the start", {0, 100, {50}}, {0, 0, 10}, 0, 0, 0},
      {"a path of no length stays at its first point", {0, 100, {50}}, {7, 7, 7}, 0, 60, 7},
      {"so does one with both options", {0, 100, {50}}, {7, 7, 7}, kAccelerate | kDecelerate,
       60, 7},
      // One section: the progress is the object's.
      {"a single section", {0, 100, {}}, {0, 100}, 0, 30, 30},
      {"a single section accelerating", {0, 100, {}}, {0, 100}, kAccelerate, 25, 8.59375},
      // Fewer values than points: the missing ones repeat the last value.
      {"missing values add no length", {0, 90, {30, 60}}, {0, 30}, 0, 45, 15},
      {"missing values repeat the last", {0, 90, {30, 60}}, {0, 30}, 0, 90, 30},
  };
  for (const SpeedCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    const auto& track = tracks.add(kind<LinearSpeed>(), c.values, c.flags);
    const auto object = makeObject(c.object.start, c.object.end, c.object.midpoints);
    EXPECT_NEAR(valueAt(track, object, c.time), c.expected, 1e-9);
  }
}

TEST(LinearSpeed, TheEasingCurveShapesTheProgress) {
  // The curve (0.5, 0, 0, 0) reaches 0.5 at the object's progress 0.6875.
  Tracks tracks;
  auto& track = tracks.add(kind<LinearSpeed>(), {0, 100});
  track.timeControl = {0.5, 0.0, 0.0, 0.0};
  const auto object = makeObject(0, 160);
  EXPECT_NEAR(valueAt(track, object, 110), 50, 1e-3);
  // Several sections: the eased progress is a share of the path's length.
  auto& path = tracks.add(kind<LinearSpeed>(), {0, 10, 40});
  path.timeControl = {0.5, 0.0, 0.0, 0.0};
  EXPECT_NEAR(valueAt(path, makeObject(0, 160, {20}), 110), 20, 1e-3);
}

TEST(LinearSpeed, LongPathsAreMeasuredAlike) {
  // Steps of one unit, one section every 10 frames: the value is the share of the object's
  // time times the number of sections, however many there are, also past the end.
  for (int sections : {10, 255, 256, 257, 1000}) {
    SCOPED_TRACE(sections);
    std::vector<double> values;
    std::vector<int> midpoints;
    for (int i = 0; i <= sections; ++i) values.push_back(i);
    for (int i = 1; i < sections; ++i) midpoints.push_back(i * 10);
    Tracks tracks;
    const auto& track = tracks.add(kind<LinearSpeed>(), values);
    const auto object = makeObject(0, sections * 10, midpoints);
    for (double share : {0.0, 0.37, 0.5, 1.0, 1.1})
      EXPECT_NEAR(valueAt(track, object, share * sections * 10), share * sections, 1e-9) << share;
  }
}

struct SectionCase {
  int frame;
  int expectedSection;
};

TEST(LinearSpeed, ReportsTheSectionOfItsValue) {
  // The object's midpoint is at 80; the value passes the midpoint's value at a quarter.
  Tracks tracks;
  const auto& track = tracks.add(kind<LinearSpeed>(), {0, 10, 40});
  const std::vector<int> midpoints = {80};
  const ObjectFrames frames{0, 100, midpoints};
  const SectionCase cases[] = {{0, 0}, {20, 0}, {25, 0}, {30, 1}, {79, 1}, {90, 1}, {100, 1}};
  for (const SectionCase& c : cases) {
    SCOPED_TRACE(c.frame);
    const SectionPosition position = SectionPosition::calculate(frames, c.frame, c.frame);
    EXPECT_EQ(kind<LinearSpeed>().getSectionFrame(track, position), c.expectedSection);
  }
}

}  // namespace
