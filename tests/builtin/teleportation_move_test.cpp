// "瞬間移動": a section shows the value of the point that starts it.
#include <gtest/gtest.h>

#include <vector>

#include "builtin/movement/teleportation_move.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;
using TestSupport::makeObject;

TEST(TeleportationMove, JumpsAtEachPoint) {
  // Sections 0-9, 10-29 and 30-40.
  const auto object = makeObject(0, 40, {10, 30});
  Tracks tracks;
  const auto& track = tracks.add(kind<TeleportationMove>(), {10, 20, 30, 40});
  const double cases[][2] = {
      {0, 10},  {9, 10},    {9.75, 10}, {10, 20}, {29.5, 20},
      {30, 30}, {39.5, 30}, {40, 30},  // the last point's value is never shown
  };
  for (const auto& c : cases) EXPECT_EQ(valueAt(track, object, c[0]), c[1]) << c[0];
  // With fewer values than points the missing ones repeat the last.
  const auto& shorter = tracks.add(kind<TeleportationMove>(), {10, 20});
  EXPECT_EQ(valueAt(shorter, object, 35), 20);
}

TEST(TeleportationMove, OnlyPointsBeforeTheLastHaveAValueShown) {
  Tracks tracks;
  const auto& track = tracks.add(kind<TeleportationMove>(), {10, 20, 30, 40});
  const TeleportationMove& move = kind<TeleportationMove>();
  struct PointCase {
    int point;
    bool shown;
  };
  const PointCase cases[] = {{-1, true}, {0, true}, {2, true}, {3, false}, {4, false}};
  for (const PointCase& c : cases) EXPECT_EQ(move.hasEndValue(track, c.point), c.shown) << c.point;
  auto& empty = tracks.add(kind<TeleportationMove>(), {});
  EXPECT_FALSE(move.hasEndValue(empty, 0));
  EXPECT_TRUE(move.isTrajectoryVisible(track));
}

}  // namespace
