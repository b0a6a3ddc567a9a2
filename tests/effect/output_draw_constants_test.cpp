#include "effect/output_draw_constants.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace Effect::OutputDraw;

TEST(OutputDrawTest, BlendModesOfTheTwoPaths) {
  struct Case {
    int mode, standard, listEntry;
  };
  // A script's mode 21 draws straight on the standard path and with its own blend state
  // (entry 17) from a vertex list.
  const Case cases[] = {{0, 0, 0}, {5, 5, 0}, {19, 19, 0}, {20, 0, 17}, {21, 0, 17}, {-3, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(standardBlendMode(c.mode), c.standard) << c.mode;
    EXPECT_EQ(vertexListBlendEntry(c.mode), c.listEntry) << c.mode;
  }
}

TEST(OutputDrawTest, DrawPathAndStates) {
  EXPECT_EQ(chooseDrawPath(false, 3), DrawPath::Plain);
  EXPECT_EQ(chooseDrawPath(true, 0), DrawPath::Depth);
  EXPECT_EQ(chooseDrawPath(true, 1), DrawPath::Lit);
  struct Case {
    int sampler;
    bool culling, customList;
    StateEntries expected;
  };
  const Case cases[] = {{-1, false, false, {0, 0, 0}},
                        {-1, true, true, {1, 0, 1}},
                        {4, false, true, {4, 0, 0}}};
  for (const Case& c : cases) {
    const StateEntries entries = chooseStates(c.sampler, c.culling, c.customList);
    EXPECT_EQ(entries.sampler, c.expected.sampler);
    EXPECT_EQ(entries.blend, c.expected.blend);
    EXPECT_EQ(entries.rasterizer, c.expected.rasterizer);
  }
}

TEST(OutputDrawTest, ObjectConstantsAreTransposedAndLitOnlyWhenAsked) {
  const XMath::Matrix world = XMath::translation(10.0f, 20.0f, 30.0f);
  const XMath::Matrix view = XMath::scaling(2.0f, 2.0f, 2.0f);
  ObjectConstants plain = makeObjectConstants(world, view, 0.5f, 3, false, 0.7f);
  EXPECT_FLOAT_EQ(plain.worldViewTransposed.m[0][3], 20.0f);  // translation in the columns
  EXPECT_FLOAT_EQ(plain.opacity, 0.5f);
  EXPECT_EQ(plain.blendMode, 3);
  EXPECT_EQ(plain.worldInverse, XMath::Matrix{});
  ObjectConstants lit = makeObjectConstants(world, view, 0.5f, 3, true, 0.7f);
  EXPECT_FLOAT_EQ(lit.worldInverse.m[3][1], -20.0f);
  EXPECT_FLOAT_EQ(lit.glossiness, 0.7f);
}

TEST(OutputDrawTest, DirectPathOffsetRoundsHalvesAwayFromZero) {
  Effect::OutputView view;
  // (101 - 100) x 0.5 = 0.5 -> 1; (99 - 100) x 0.5 = -0.5 -> -1.
  Offset2D offset = offset2D(101, 99, 100, 100, view);
  EXPECT_EQ(offset.dx, 1);
  EXPECT_EQ(offset.dy, -1);
  view.centerX = 10.0f;
  view.x = 3.0f;
  offset = offset2D(100, 100, 100, 100, view);
  EXPECT_EQ(offset.dx, 7);

  const Draw2DConstants copy = makeDraw2DConstants(0.25f, 0, {7, -2});
  float opacity;
  int32_t ints[3];
  std::memcpy(&opacity, copy.bytes, 4);
  std::memcpy(ints, copy.bytes + 4, 8);
  EXPECT_FLOAT_EQ(opacity, 0.25f);
  EXPECT_EQ(ints[0], 7);
  EXPECT_EQ(ints[1], -2);
  const Draw2DConstants blend = makeDraw2DConstants(0.25f, 5, {7, -2});
  std::memcpy(&ints[0], blend.bytes, 4);
  std::memcpy(&opacity, blend.bytes + 4, 4);
  std::memcpy(&ints[1], blend.bytes + 8, 8);
  EXPECT_EQ(ints[0], 5);
  EXPECT_FLOAT_EQ(opacity, 0.25f);
  EXPECT_EQ(ints[1], 7);
  EXPECT_EQ(ints[2], -2);
}

TEST(OutputDrawTest, LightConstantsUseTheFirstEightLights) {
  const LightConstants none = makeLightConstants({});
  EXPECT_EQ(none.count, 0);
  EXPECT_FLOAT_EQ(none.ambient[0], 1.0f);  // the product of no factors

  std::vector<LightRecord> lights(10);
  for (LightRecord& light : lights) {
    light.kind = 1;
    light.factor = 1.0f;
  }
  lights[0] = {0, {}, {0.1f, 0.2f, 0.3f}, 0.5f};
  lights[9] = {0, {}, {5.0f, 5.0f, 5.0f}, 0.0f};  // the ninth and later are not used
  const LightConstants used = makeLightConstants(lights);
  EXPECT_EQ(used.count, 8);
  EXPECT_FLOAT_EQ(used.ambient[0], 0.6f);
  EXPECT_FLOAT_EQ(used.ambient[2], 0.8f);
  EXPECT_EQ(used.lights[1].kind, 1);
}

TEST(OutputDrawTest, ScreenQuadTakesTheRaysInCornerOrder) {
  const XMath::Vector rays[4] = {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}};
  const ScreenQuad quad = makeScreenQuad(rays);
  // Vertices top-left, top-right, bottom-left, bottom-right; rays TL, TR, BR, BL.
  const float expectedRay[4] = {1, 2, 4, 3};
  const float expectedX[4] = {-1, 1, -1, 1};
  const float expectedY[4] = {1, 1, -1, -1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(quad.vertices[i].ray[0], expectedRay[i]);
    EXPECT_FLOAT_EQ(quad.vertices[i].position[0], expectedX[i]);
    EXPECT_FLOAT_EQ(quad.vertices[i].position[1], expectedY[i]);
  }
}

TEST(OutputDrawTest, BillboardTurnsTheObjectTowardsTheEye) {
  // An eye straight ahead along +z leaves the object as it is.
  const XMath::Matrix ahead = billboardRotation({0.0f, 0.0f, 5.0f, 1.0f});
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(ahead.m[r][c], r == c ? 1.0f : 0.0f, 1e-6f);
  // An eye on +x turns the object's +z (its facing) towards +x.
  const XMath::Matrix side = billboardRotation({5.0f, 0.0f, 0.0f, 1.0f});
  const XMath::Vector facing = XMath::transformNormal({0, 0, 1, 0}, side);
  EXPECT_NEAR(facing.x, 1.0f, 1e-6f);
  EXPECT_NEAR(facing.z, 0.0f, 1e-6f);
}

}  // namespace
