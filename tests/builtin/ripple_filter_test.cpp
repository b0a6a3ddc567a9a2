// "波紋" on small pictures against the rings computed here: rings travelled by the object's
// time at the scene's rate, limited to a count, thinned by an interval, growing in or fading
// out, around a centre moved off the middle; the pixel at the centre itself is copied.
#include "builtin/filter/ripple_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>

#include "colour_reference.h"
#include "edit/scene.h"
#include "filter_run_support.h"

namespace {

using TestSupport::CpuImage;
using TestSupport::Rgba;

struct Settings {
  double centerX = 0, centerY = 0, width = 3, height = 4, speed = 20;
  int count = 0, interval = 0, amplification = 0;
};

CpuImage ripplesOnCpu(const CpuImage& source, const Settings& s, double seconds) {
  const float cx = static_cast<float>(source.width / 2.0 + s.centerX);
  const float cy = static_cast<float>(source.height / 2.0 + s.centerY);
  const float rings = static_cast<float>(0.5 / s.width);
  const float lift = static_cast<float>(s.height / 2.0);
  const float travelled = static_cast<float>(seconds * s.speed);
  const int interval = s.interval + 1;
  const int count = interval * s.count;
  const int amplifier = interval * s.amplification;
  CpuImage result(source.width, source.height);
  for (int y = 0; y < source.height; ++y)
    for (int x = 0; x < source.width; ++x) {
      Rgba& out = result.at(x, y);
      out = source.get(x, y);
      const float dx = TestSupport::centre(x) - cx, dy = TestSupport::centre(y) - cy;
      const float r = std::hypot(dx, dy);
      if (r == 0.0f) continue;
      const float q = (travelled - r) * rings;
      const int k = static_cast<int>(std::floor(q));
      if (count > 0 && (k < 0 || k >= count)) continue;
      if (interval > 0 && k % interval != 0) continue;
      float a = (std::cos(2.0f * std::numbers::pi_v<float> * (q - static_cast<float>(k))) - 1.0f) *
                lift / r;
      if (amplifier > 0 && k < amplifier)
        a = a * static_cast<float>(k) / static_cast<float>(amplifier);
      if (amplifier < 0)
        a = k < -amplifier ? -a * (1.0f - static_cast<float>(k) / static_cast<float>(-amplifier))
                           : 0.0f;
      out = TestSupport::sample(
          source, (TestSupport::centre(x) + dx * a) / static_cast<float>(source.width),
          (TestSupport::centre(y) + dy * a) / static_cast<float>(source.height),
          TestSupport::kLinearBorder);
    }
  return result;
}

class RippleFilterTest : public TestSupport::FilterWorldTest {
 protected:
  void SetUp() override {
    FilterWorldTest::SetUp();
    scene_.rate = 30;
    scene_.scale = 1;
  }

  CpuImage run(const CpuImage& source, const Settings& s, int framesIn) {
    Effect::RippleFilter ripple;
    ripple.centerX.setValue(s.centerX, 0);
    ripple.centerY.setValue(s.centerY, 0);
    ripple.width.setValue(s.width, 0);
    ripple.height.setValue(s.height, 0);
    ripple.speed.setValue(s.speed, 0);
    ripple.count.value = s.count;
    ripple.interval.value = s.interval;
    ripple.amplification.value = s.amplification;
    Effect::EffectContext context;
    context.scene = &scene_;
    context.objectFrames = {40, 400, {}};
    context.frame = 40 + framesIn;
    context.time = context.frame;
    return TestSupport::filtered(ripple, source, context);
  }

  Edit::Scene scene_{0, 0};
};

TEST_F(RippleFilterTest, RingsMovePixelsAsTheyTravel) {
  const CpuImage source = TestSupport::randomPicture(17, 13, 127);
  const struct {
    const char* what;
    Settings settings;
    int frames;
  } cases[] = {
      {"unlimited rings", {}, 15},
      {"three rings", {.count = 3}, 30},
      {"three rings, every second one moving", {.count = 3, .interval = 1}, 30},
      {"growing over two rings", {.amplification = 2}, 30},
      {"fading over three rings", {.height = -5, .amplification = -3}, 30},
      {"off-centre, wide, travelling inwards",
       {.centerX = -3.5, .centerY = 2, .width = 5, .speed = -15},
       12},
      {"at the first frame", {.count = 2}, 0},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(TestSupport::imagesNear(run(source, c.settings, c.frames),
                                        ripplesOnCpu(source, c.settings, c.frames / 30.0)))
        << c.what;
}

TEST_F(RippleFilterTest, TheCentrePixelIsCopied) {
  // An odd size puts the centre on the middle pixel's centre.
  const CpuImage source = TestSupport::randomPicture(9, 9, 131);
  const CpuImage rippled = run(source, {.height = 40}, 10);
  EXPECT_TRUE(TestSupport::nearHalf(rippled.get(4, 4), source.get(4, 4)));
  EXPECT_FALSE(TestSupport::imagesNear(rippled, source)) << "the rest moves";
}

}  // namespace
