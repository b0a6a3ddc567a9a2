// "フェード" over an object's frames: the opacity rising over the fade-in, falling over the
// fade-out, both meeting on a short object, neither with times of 0, and a scene without a
// frame rate leaving it alone; the picture always passes through as it is.
#include "builtin/filter/fade_filter.h"

#include <gtest/gtest.h>

#include "edit/scene.h"

namespace {

struct Case {
  const char* what;
  double in, out;
  int start, end, frame;
  float opacity;  // the factor the fade leaves on an opaque object
};

float fadedOpacity(Edit::Scene& scene, const Case& c) {
  Effect::FadeFilter fade;
  fade.fadeIn.setValue(c.in, 0);
  fade.fadeOut.setValue(c.out, 0);
  Effect::EffectContext context;
  context.scene = &scene;
  context.frame = c.frame;
  context.time = c.frame;
  context.objectFrames = {c.start, c.end, {}};
  context.outputView.opacity = 0.8f;
  Effect::OwnedImage image = fade.filterVideo(context, nullptr);
  EXPECT_FALSE(image);
  return context.outputView.opacity / 0.8f;
}

TEST(FadeFilter, TheOpacityFollowsTheFadesAtTheSceneRate) {
  Edit::Scene scene(0, 0);
  scene.rate = 30;
  scene.scale = 1;
  const Case cases[] = {
      {"first frame", 0.5, 0.5, 100, 400, 100, 0.0f},
      {"a third into the fade-in", 0.5, 0.5, 100, 400, 105, 1.0f / 3.0f},
      {"after the fade-in", 0.5, 0.5, 100, 400, 115, 1.0f},
      {"middle", 0.5, 0.5, 100, 400, 250, 1.0f},
      {"into the fade-out", 1.0, 1.0, 100, 400, 385, 0.5f},
      {"last frame", 0.5, 0.5, 100, 400, 400, 0.0f},
      {"no fades", 0.0, 0.0, 100, 400, 100, 1.0f},
      {"only a fade-out", 0.0, 2.0, 0, 90, 30, 1.0f},
      // 20 frames: 10 frames in of a 1 s fade-in (1/3) and of a 0.5 s fade-out (2/3).
      {"short object: the smaller factor", 1.0, 0.5, 0, 20, 10, 1.0f / 3.0f},
      {"short object, near its end", 1.0, 0.5, 0, 20, 17, 0.2f},
  };
  for (const Case& c : cases) EXPECT_NEAR(fadedOpacity(scene, c), c.opacity, 1e-5f) << c.what;
}

TEST(FadeFilter, ARateOfHalfFramesPerSecondCountsInSecondsToo) {
  Edit::Scene scene(0, 0);
  scene.rate = 60000;
  scene.scale = 1001;  // 59.94 frames per second
  EXPECT_NEAR(fadedOpacity(scene, {"", 1.0, 0.0, 0, 1000, 30, 0}), 30 * 1001 / 60000.0f, 1e-5f);
}

TEST(FadeFilter, WithoutAFrameRateTheOpacityStays) {
  Edit::Scene scene(0, 0);
  scene.rate = 0;
  EXPECT_EQ(fadedOpacity(scene, {"", 0.5, 0.5, 0, 100, 0, 0}), 1.0f);
  Effect::FadeFilter fade;
  Effect::EffectContext context;  // no scene at all
  fade.filterVideo(context, nullptr);
  EXPECT_EQ(context.outputView.opacity, 1.0f);
}

}  // namespace
