// "ランダム移動": a seeded wander between the track's two values, a new target every
// period of frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "builtin/movement/random_move.h"
#include "movement_kind_support.h"

namespace {

using namespace Effect;
using MovementTest::kind;
using MovementTest::Tracks;
using MovementTest::valueAt;
using TestSupport::makeObject;

constexpr int kWhole = EffectItemNumber::FlagIgnoreMidpoints;

struct FractionCase {
  int64_t cell;
  int64_t seed;
  float expected;
};

TEST(RandomMove, DrawsAFixedSequenceOfFractions) {
  const FractionCase cases[] = {
      {0, 0, 0.14401069283485413f},   {1, 0, 0.2917950749397278f},
      {2, 0, 0.046661585569381714f},  {-1, 0, 0.16005127131938934f},
      {-5, 0, 0.989159882068634f},    {0, 1, 0.36670997738838196f},
      {0, 2, 0.7989457249641418f},    {7, 1, 0.2745584547519684f},
      {123456789, 2, 0.3761231005191803f},
  };
  for (const FractionCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cell << ", " << c.seed);
    EXPECT_EQ(RandomMove::randomFraction(c.cell, c.seed), c.expected);
  }
}

TEST(RandomMove, FractionsStayWithinZeroAndOne) {
  for (int64_t cell = -2000; cell < 2000; ++cell) {
    for (int64_t seed = 0; seed < 3; ++seed) {
      const float fraction = RandomMove::randomFraction(cell, seed);
      ASSERT_GE(fraction, 0.0f) << cell << ", " << seed;
      ASSERT_LE(fraction, 1.0f) << cell << ", " << seed;
    }
  }
  const int64_t extremes[] = {std::numeric_limits<int64_t>::min(),
                              std::numeric_limits<int64_t>::max()};
  for (int64_t cell : extremes) {
    const float fraction = RandomMove::randomFraction(cell, 0);
    EXPECT_GE(fraction, 0.0f);
    EXPECT_LE(fraction, 1.0f);
  }
}

struct WanderCase {
  const char* what;
  std::vector<double> values;
  std::vector<double> params;
  double time;
  double expected;
};

TEST(RandomMove, PassesThroughItsTargets) {
  // From 0 to 100 the target of cell c is 100 h(c).
  const std::vector<double> range = {0, 100};
  const WanderCase cases[] = {
      {"period 1: frame 0", range, {1}, 0, 14.401069283485413},
      {"period 1: frame 1", range, {1}, 1, 29.17950749397278},
      {"period 1: frame 2", range, {1}, 2, 4.666158556938171},
      {"period 1: frame 3", range, {1}, 3, 47.767698764801025},
      {"period 2: every other frame", range, {2}, 4, 4.666158556938171},
      {"period 2.9 is 2", range, {2.9}, 4, 4.666158556938171},
      {"period 0 is 1", range, {0}, 3, 47.767698764801025},
      {"a negative period is 1", range, {-4}, 3, 47.767698764801025},
      {"a period that is not a number is 1", range, {std::numeric_limits<double>::quiet_NaN()},
       3, 47.767698764801025},
      {"the default period of 15", range, {15}, 30, 4.666158556938171},
      {"params of another count read as the default", range, {}, 30, 4.666158556938171},
      // Between the targets the curve's control values lean towards the neighbours.
      {"inside a cell", {-50, 50}, {15}, 7.5, -25.190139744049787},
      {"equal values stay put", {20, 20}, {3}, 7.5, 20},
      // Targets less than a unit apart are not bent: the curve between cells 3 and 4
      // has flat control values, and half way it is their mean.
      {"close values are not bent", {0, 0.5}, {1}, 3.5, 0.2930123955011368},
  };
  const auto object = makeObject(0, 100, {40});
  for (const WanderCase& c : cases) {
    SCOPED_TRACE(c.what);
    Tracks tracks;
    auto& track = tracks.add(kind<RandomMove>(), c.values, kWhole, 0.01);
    track.params = c.params;
    EXPECT_NEAR(valueAt(track, object, c.time), c.expected, 1e-9);
  }
}

TEST(RandomMove, EachLinkPositionWandersItsOwnWay) {
  const auto object = makeObject(0, 300);
  Tracks tracks;
  auto& x = tracks.add(kind<RandomMove>(), {-50, 50}, kWhole);
  auto& y = tracks.add(kind<RandomMove>(), {-50, 50}, kWhole);
  auto& z = tracks.add(kind<RandomMove>(), {-50, 50}, kWhole);
  tracks.link({&x, &y, &z});
  EXPECT_NEAR(valueAt(y, object, 22), 28.685226801978338, 1e-9);
  EXPECT_NEAR(valueAt(z, object, 22), -5.8421024789331595, 1e-9);
  for (int frame = 0; frame < 300; frame += 7) {
    SCOPED_TRACE(frame);
    EXPECT_NE(valueAt(x, object, frame), valueAt(y, object, frame));
    EXPECT_NE(valueAt(y, object, frame), valueAt(z, object, frame));
  }
}

TEST(RandomMove, CountsCellsFromTheObjectsStart) {
  // Two objects at different places on the timeline, with midpoints of their own, move
  // alike frame for frame; so does the same track on every render.
  Tracks tracks;
  const auto& track = tracks.add(kind<RandomMove>(), {-200, 300}, kWhole, 0.1);
  const auto early = makeObject(0, 200, {30});
  const auto late = makeObject(1000, 1200, {150, 170});
  for (double offset = 0; offset <= 200; offset += 3.25) {
    SCOPED_TRACE(offset);
    const double value = valueAt(track, early, offset);
    EXPECT_EQ(valueAt(track, late, 1000 + offset), value);
    EXPECT_EQ(valueAt(track, early, offset), value);
  }
}

TEST(RandomMove, DrawsNoTrajectory) {
  Tracks tracks;
  const auto& track = tracks.add(kind<RandomMove>(), {0, 100}, kWhole);
  EXPECT_FALSE(kind<RandomMove>().isTrajectoryVisible(track));
  EXPECT_TRUE(kind<RandomMove>().hasEndValue(track, 1));
}

}  // namespace
