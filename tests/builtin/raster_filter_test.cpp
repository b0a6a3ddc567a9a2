// "ラスター" on small pictures: rows shifted along the sine wave against the shifts computed
// here, columns as the rows of the turned picture, the wave's travel with time and cycle, the
// uneven wave of random amplitudes, the output's growth and the zero sizes that return the
// picture itself.
#include "builtin/filter/raster_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "edit/scene.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double amplitude = 3, wavelength = 8, cycle = 1;
  bool vertical = false, random = false;
  double seconds = 0;  // the object's time
};

// Whether a run's end sits so near a rounding step that the shader may round either way.
bool onStep(float v) { return std::fabs(v - std::round(v)) < 2e-3f; }

// The horizontal raster on the CPU; none where a run's end is on a rounding step.
std::optional<Rgba> rowsOnCpu(const CpuImage& in, int x, int y, const Settings& s) {
  const int a = int(std::lround(s.amplitude)), w = int(std::lround(s.wavelength));
  const double phase = s.seconds * s.cycle * w + double(w) * (in.height / w + 1) - in.height / 2.0;
  const auto wave = [&](int row) {
    return std::sin((float(row) + float(phase)) * (2.0f * std::numbers::pi_v<float> / float(w)));
  };
  const float lo = float(a) * std::min(wave(y - 1), wave(y + 1));
  const float hi = float(a) * std::max(wave(y - 1), wave(y + 1));
  if (onStep(lo + 0.5f) || onStep(hi + 0.5f)) return std::nullopt;
  const int first = x - a + int(std::trunc(lo + 0.5f)), last = x - a + int(std::trunc(hi + 0.5f));
  Rgba sum{};
  for (int i = first; i <= last; ++i)
    for (int c = 0; c < 4; ++c) sum[c] += in.get(i, y)[c] / float(last - first + 1);
  return sum;
}

CpuImage turned(const CpuImage& in) {
  CpuImage out(in.height, in.width);
  for (int y = 0; y < in.height; ++y)
    for (int x = 0; x < in.width; ++x) out.at(y, x) = in.get(x, y);
  return out;
}

class RasterFilterTest : public TestSupport::FilterRunTest {
 protected:
  static void set(Effect::RasterFilter& raster, const Settings& s) {
    raster.amplitude.setValue(s.amplitude, 0);
    raster.wavelength.setValue(s.wavelength, 0);
    raster.cycle.setValue(s.cycle, 0);
    raster.vertical.value = s.vertical;
    raster.randomAmplitude.value = s.random;
  }
  CpuImage run(const CpuImage& source, const Settings& s) {
    Effect::RasterFilter raster;
    set(raster, s);
    // A scene of 100 frames a second: the object's time in hundredths.
    Edit::Scene& scene = world_->scene();
    scene.rate = 100;
    scene.scale = 1;
    Effect::EffectContext context;
    context.scene = &scene;
    context.objectFrames.start = 10;
    context.frame = 10 + static_cast<int>(std::lround(s.seconds * 100));
    context.time = context.frame;
    return runOn(raster, source, context);
  }
};

TEST_F(RasterFilterTest, RowsFollowTheSineWave) {
  const struct {
    const char* what;
    Settings settings;
  } cases[] = {
      {"at the start", {}},
      {"a quarter second on", {.seconds = 0.25}},
      {"wider than the picture, amplitude rounded up",
       {.amplitude = 4.5, .wavelength = 13, .cycle = 0.7, .seconds = 0.4}},
      {"a short wave running backwards",
       {.amplitude = 2, .wavelength = 3, .cycle = -2.5, .seconds = 0.13}},
  };
  const CpuImage source = TestSupport::randomPicture(9, 11, 21);
  for (const auto& c : cases) {
    const CpuImage result = run(source, c.settings);
    ASSERT_EQ(result.height, source.height) << c.what;
    ASSERT_EQ(result.width, source.width + 2 * int(std::lround(c.settings.amplitude))) << c.what;
    EXPECT_TRUE(TestSupport::matchesEverywhere(
        result, [&](int x, int y) { return rowsOnCpu(source, x, y, c.settings); }))
        << c.what;
  }
}

TEST_F(RasterFilterTest, ColumnsAreTheRowsOfTheTurnedPicture) {
  const CpuImage source = TestSupport::randomPicture(10, 7, 4);
  for (const bool random : {false, true}) {
    const Settings rows{
        .amplitude = 4, .wavelength = 6, .cycle = 0.3, .random = random, .seconds = 0.5};
    Settings columns = rows;
    columns.vertical = true;
    const CpuImage result = run(source, columns);
    EXPECT_EQ(result.width, 10);
    EXPECT_EQ(result.height, 7 + 8);
    EXPECT_TRUE(TestSupport::imagesNear(result, turned(run(turned(source), rows)))) << random;
  }
}

TEST_F(RasterFilterTest, TheWaveTravelsWithTimeAndCycle) {
  const CpuImage source = TestSupport::randomPicture(8, 12, 8);
  const CpuImage start = run(source, {.cycle = 1});
  EXPECT_FALSE(TestSupport::imagesNear(run(source, {.cycle = 1, .seconds = 0.25}), start))
      << "a quarter wave on";
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.cycle = 1, .seconds = 1}), start))
      << "one cycle per second";
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.cycle = 0, .seconds = 0.37}), start))
      << "cycle 0 stands still";
  EXPECT_TRUE(TestSupport::imagesNear(run(source, {.cycle = -1, .seconds = 0.75}),
                                      run(source, {.cycle = 1, .seconds = 0.25})))
      << "a negative cycle runs the other way";
}

TEST_F(RasterFilterTest, RandomAmplitudesMakeAnUnevenWave) {
  const CpuImage source = TestSupport::randomPicture(9, 40, 12);
  const Settings uneven{.amplitude = 5, .wavelength = 7, .random = true, .seconds = 0.2};
  const CpuImage result = run(source, uneven);
  ASSERT_EQ(result.width, 19);
  EXPECT_TRUE(TestSupport::imagesNear(run(source, uneven), result, 0.0f)) << "the same every time";
  Settings plain = uneven;
  plain.random = false;
  EXPECT_FALSE(TestSupport::imagesNear(run(source, plain), result));
}

TEST_F(RasterFilterTest, ZeroAmplitudeOrWavelengthReturnsThePictureItself) {
  const CpuImage source = TestSupport::randomPicture(5, 4, 1);
  for (const Settings& s : {Settings{.amplitude = 0}, Settings{.wavelength = 0},
                            Settings{.amplitude = 0.4, .vertical = true}}) {
    Effect::RasterFilter raster;
    set(raster, s);
    EXPECT_TRUE(returnsItsInput(raster, source)) << s.amplitude << " " << s.wavelength;
  }
}

}  // namespace
