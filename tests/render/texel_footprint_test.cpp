// The choice of the single-sample flat shader: only where the object's quad lies parallel to
// the screen and no pixel covers more than one texel.
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

bool singleSample(const Render::Transform& transform, uint32_t width = kWidth,
                  uint32_t height = kHeight) {
  return Render::mapsAtMostOneTexel(projectionOf(transform).rows, width / 2.0f, height / 2.0f,
                                    width, height, kWidth, kHeight);
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

}  // namespace
