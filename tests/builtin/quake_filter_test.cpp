// "振動": the swing of one period and its sign turning each period, the random strengths
// drawn from the random movement's generator, complex shaking as the weighted sum of the
// halved periods, and the shake added to the object's position, different for objects on
// other layers or frames and the same on every render.
#include "builtin/filter/quake_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "builtin/movement/random_move.h"

namespace {

using Effect::QuakeFilter;
using Shake = QuakeFilter::Shake;

constexpr double kPi = std::numbers::pi;

TEST(QuakeFilter, APeriodOfOneTurnsTheSignEveryFrame) {
  for (const bool random : {false, true}) {
    for (int frame = 0; frame < 12; ++frame) {
      const Shake shake = QuakeFilter::shakeAt(frame, 1, {10, 6, 4}, random, false, 12345);
      const double sign = frame % 2 == 0 ? 1.0 : -1.0;
      EXPECT_GT(shake.x * sign, 0.0) << "frame " << frame << ", random " << random;
      EXPECT_GT(shake.y * sign, 0.0) << "frame " << frame << ", random " << random;
      if (!random) {
        EXPECT_DOUBLE_EQ(shake.x, 10.0 * sign);
      }
    }
  }
}

TEST(QuakeFilter, WithoutRandomStrengthASwingIsASine) {
  // A period of 10: up over the first ten frames, down over the next ten.
  for (int frame = 0; frame < 40; ++frame) {
    const Shake shake = QuakeFilter::shakeAt(frame, 10, {10, -20, 5}, false, false, 7);
    const double expected = 10.0 * std::sin(kPi * frame / 10.0);
    EXPECT_NEAR(shake.x, expected, 1e-9) << frame;
    EXPECT_NEAR(shake.y, -2.0 * expected, 1e-9) << frame;
    EXPECT_NEAR(shake.z, 0.5 * expected, 1e-9) << frame;
    if (frame % 20 > 0 && frame % 20 < 10) {
      EXPECT_GT(shake.x, 0.0) << frame;
    }
    if (frame % 20 > 10) {
      EXPECT_LT(shake.x, 0.0) << frame;
    }
  }
}

TEST(QuakeFilter, RandomStrengthsComeFromTheRandomMovementsGenerator) {
  const uint32_t seed = QuakeFilter::shakeSeed(300, 20, 2, 5);
  for (int frame = 0; frame < 30; ++frame) {
    // A period of 1 swings by the full amplitude: what remains is the strength.
    const Shake shake = QuakeFilter::shakeAt(frame, 1, {100, 100, 100}, true, false, seed);
    float strengths[3];
    Effect::RandomMove::randomFractions(frame, static_cast<int32_t>(seed), strengths);
    EXPECT_FLOAT_EQ(static_cast<float>(std::fabs(shake.x)), 100.0f * strengths[0]) << frame;
    EXPECT_FLOAT_EQ(static_cast<float>(std::fabs(shake.y)), 100.0f * strengths[1]) << frame;
    EXPECT_FLOAT_EQ(static_cast<float>(std::fabs(shake.z)), 100.0f * strengths[2]) << frame;
    EXPECT_EQ(strengths[0], Effect::RandomMove::randomFraction(frame, static_cast<int32_t>(seed)));
  }
  // The three axes draw different strengths.
  const Shake shake = QuakeFilter::shakeAt(0, 1, {1, 1, 1}, true, false, seed);
  EXPECT_NE(shake.x, shake.y);
  EXPECT_NE(shake.y, shake.z);
}

TEST(QuakeFilter, ComplexShakingSumsTheHalvedPeriods) {
  for (int frame = 0; frame < 33; ++frame) {
    double expected = 0.0, weight = 1.0;
    for (const int r : {8, 4, 2, 1}) {
      const int cell = frame / r;
      double theta = kPi * (frame % r) / r + (cell % 2 != 0 ? kPi : 0.0);
      expected += weight * 10.0 * (r == 1 ? std::cos(theta) : std::sin(theta));
      weight *= 0.5;
    }
    EXPECT_NEAR(QuakeFilter::shakeAt(frame, 8, {10, 0, 0}, false, true, 1).x, expected, 1e-9)
        << frame;
  }
  // Each term draws its strengths with a seed of its own.
  const uint32_t seed = 99;
  const Shake complex = QuakeFilter::shakeAt(5, 2, {10, 10, 10}, true, true, seed);
  const Shake halves = QuakeFilter::shakeAt(5, 2, {10, 10, 10}, true, false, seed);
  const Shake ones = QuakeFilter::shakeAt(5, 1, {10, 10, 10}, true, false, seed ^ 3571u);
  EXPECT_NEAR(complex.x, halves.x + 0.5 * ones.x, 1e-9);
  EXPECT_NEAR(complex.z, halves.z + 0.5 * ones.z, 1e-9);
}

// The position a render of the object's frame leaves.
Shake shakenPosition(QuakeFilter& quake, int first, int last, int layer, int frame) {
  Effect::EffectContext context;
  context.frame = frame;
  context.time = frame;
  context.layerIndex = layer;
  context.objectFrames = {first, last, {}};
  context.outputView.x = 100.0f;
  context.outputView.y = -50.0f;
  EXPECT_FALSE(quake.filterVideo(context, nullptr));
  return {context.outputView.x - 100.0, context.outputView.y + 50.0, context.outputView.z};
}

TEST(QuakeFilter, TheShakeMovesThePositionByObject) {
  QuakeFilter quake;
  quake.period.setValue(3, 0);
  quake.z.setValue(8, 0);
  const Shake here = shakenPosition(quake, 10, 200, 1, 14);
  const Shake expected = QuakeFilter::shakeAt(4, 3, {10, 10, 8}, true, false,
                                              QuakeFilter::shakeSeed(200, 10, 0, 1));
  EXPECT_NEAR(here.x, expected.x, 1e-4);
  EXPECT_NEAR(here.y, expected.y, 1e-4);
  EXPECT_NEAR(here.z, expected.z, 1e-4);
  EXPECT_NE(here.x, 0.0);

  const Shake again = shakenPosition(quake, 10, 200, 1, 14);
  EXPECT_EQ(here.x, again.x);
  EXPECT_EQ(here.z, again.z);
  // Another layer, or the same phase of an object that starts elsewhere, shakes otherwise.
  EXPECT_NE(shakenPosition(quake, 10, 200, 2, 14).x, here.x);
  EXPECT_NE(shakenPosition(quake, 11, 200, 1, 15).x, here.x);
}

}  // namespace
