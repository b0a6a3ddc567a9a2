// The choice of the single-sample flat shader: only where the object's quad lies parallel to
// the screen and no pixel covers more than one texel; and of the nearest-texel draw, only
// where every pixel centre falls on a texel centre.
#include <gtest/gtest.h>

#include "render/texel_footprint.h"
#include "render/transform.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// The shader constants as the output drawer stores them: the world-view rows.
struct Projection {
  float rows[16];
};

Projection projectionOf(const Render::Transform& transform) {
  const Effect::OutputView view;
  const XMath::Matrix m =
      XMath::multiply(transform.getMatrix(), Render::getDefaultView(view, kWidth, kHeight));
  Projection result;
  for (int row = 0; row < 4; ++row)
    for (int column = 0; column < 4; ++column) result.rows[row * 4 + column] = m.m[column][row];
  return result;
}

// One of the two judgements of a texture of width x height on its own quad, transformed.
using QuadJudgement = bool (*)(const float*, float, float, uint32_t, uint32_t, int32_t, int32_t);

bool judge(QuadJudgement judgement, const Render::Transform& transform, uint32_t width,
           uint32_t height) {
  return judgement(projectionOf(transform).rows, width / 2.0f, height / 2.0f, width, height,
                   kWidth, kHeight);
}

bool singleSample(const Render::Transform& transform, uint32_t width = kWidth,
                  uint32_t height = kHeight) {
  return judge(Render::mapsAtMostOneTexel, transform, width, height);
}

TEST(TexelFootprintTest, OnlyQuadsParallelToTheScreenAtOneTexelOrLessPerPixel) {
  struct Case {
    const char* name;
    Render::Transform transform;
    bool expected;
  };
  const Case cases[] = {
      {"one to one", {}, true},
      {"moved by fractions of a pixel", {.positionX = 0.37f, .positionY = -12.5f}, true},
      {"enlarged", {.scaleX = 2.0f, .scaleY = 2.0f}, true},
      {"shrunk", {.scaleX = 0.5f, .scaleY = 0.5f}, false},
      {"shrunk by one percent", {.scaleX = 0.99f, .scaleY = 0.99f}, false},
      {"shrunk across only", {.scaleX = 0.8f}, false},
      {"turned a quarter", {.rotationZ = 90.0f}, true},
      {"turned on the screen", {.rotationZ = 30.0f}, false},
      {"tilted away", {.rotationY = 20.0f}, false},
      {"tilted forward", {.rotationX = -15.0f}, false},
      {"nearer the eye", {.positionZ = -200.0f}, true},
      {"farther away", {.positionZ = 100.0f}, false},
      {"behind the eye", {.positionZ = -3000.0f}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(singleSample(c.transform), c.expected) << c.name;
}

TEST(TexelFootprintTest, EmptyOrFlatInputsTakeTheGeneralShader) {
  const Projection identity = projectionOf({});
  EXPECT_FALSE(Render::mapsAtMostOneTexel(identity.rows, 960.0f, 540.0f, 0, 1080, kWidth, kHeight));
  EXPECT_FALSE(Render::mapsAtMostOneTexel(identity.rows, 960.0f, 540.0f, 1920, 1080, 0, kHeight));
  // A quad of no width has no footprint to judge.
  EXPECT_FALSE(Render::mapsAtMostOneTexel(identity.rows, 0.0f, 540.0f, 1920, 1080, kWidth, kHeight));
  EXPECT_FALSE(singleSample({.scaleY = 0.0f}));
}

TEST(TexelFootprintTest, TheTextureSizeCountsNotTheQuadSize) {
  // A texture twice the size of its quad puts two texels on every pixel.
  EXPECT_FALSE(Render::mapsAtMostOneTexel(projectionOf({}).rows, 480.0f, 270.0f, 1920, 1080,
                                          kWidth, kHeight));
  EXPECT_TRUE(singleSample({}, 640, 360));
}

TEST(TexelFootprintTest, PixelCentresOnTexelCentresOnlyAtOneToOneOnWholePixels) {
  struct Case {
    const char* name;
    Render::Transform transform;
    uint32_t width, height;
    bool expected;
  };
  const Case cases[] = {
      {"one to one", {}, kWidth, kHeight, true},
      {"moved by whole pixels", {.positionX = 37.0f, .positionY = -12.0f}, kWidth, kHeight, true},
      {"moved by half a pixel", {.positionX = 0.5f}, kWidth, kHeight, false},
      {"moved by a hundredth", {.positionY = 0.01f}, kWidth, kHeight, false},
      {"mirrored", {.scaleX = -1.0f}, kWidth, kHeight, true},
      {"enlarged", {.scaleX = 2.0f, .scaleY = 2.0f}, kWidth, kHeight, false},
      {"shrunk", {.scaleX = 0.5f, .scaleY = 0.5f}, kWidth, kHeight, false},
      {"turned a quarter", {.rotationZ = 90.0f}, kWidth, kHeight, false},
      {"tilted away", {.rotationY = 20.0f}, kWidth, kHeight, false},
      {"nearer the eye", {.positionZ = -200.0f}, kWidth, kHeight, false},
      {"behind the eye", {.positionZ = -3000.0f}, kWidth, kHeight, false},
      // Centred, an even size lands on whole pixels and an odd one half-way.
      {"a smaller picture centred", {}, 640, 360, true},
      {"an odd width centred", {}, 639, 360, false},
      {"an odd width moved by half", {.positionX = 0.5f}, 639, 360, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(judge(Render::landsOnTexelCentres, c.transform, c.width, c.height), c.expected)
        << c.name;
}

TEST(TexelFootprintTest, EmptyInputsAreNeverOnTexelCentres) {
  const Projection identity = projectionOf({});
  EXPECT_FALSE(Render::landsOnTexelCentres(identity.rows, 960.0f, 540.0f, 0, 1080, kWidth, kHeight));
  EXPECT_FALSE(Render::landsOnTexelCentres(identity.rows, 960.0f, 540.0f, 1920, 1080, kWidth, 0));
  EXPECT_FALSE(judge(Render::landsOnTexelCentres, {.scaleY = 0.0f}, kWidth, kHeight));
  // A texture twice the size of its quad is not one texel per pixel.
  EXPECT_FALSE(Render::landsOnTexelCentres(identity.rows, 480.0f, 270.0f, 1920, 1080, kWidth,
                                           kHeight));
}

}  // namespace
