// The camera control and the camera lights on the graphics device (llvmpipe in the tests):
// the target point, a lit 3-D scene against the lighting maths on the CPU, the guide lines'
// shader, and the light bloom with its blur shaders.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "builtin/camera/camera_light.h"
#include "builtin/camera/camera_light_ambient.h"
#include "builtin/camera/camera_light_bloom.h"
#include "builtin/camera/light_bloom_resource.h"
#include "builtin/control/camera_control.h"
#include "builtin/control/camera_guide_resource.h"
#include "builtin/movement/linear_speed.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/anchor_test_support.h"
#include "effect/effect_context.h"
#include "render/render_test_support.h"

namespace {

using TestSupport::floatToHalf;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;
using TestSupport::SolidInput;

constexpr Rgba kClear{0, 0, 0, 0};

class CameraRenderTest : public TestSupport::RenderWorldTest {
 protected:
  std::shared_ptr<Edit::Object> solid(int layer, int size, const Rgba& colour) {
    auto input = std::make_shared<SolidInput>();
    input->width = size;
    input->height = size;
    std::memcpy(input->colour, colour.data(), sizeof(input->colour));
    return world_->placeSolid(layer, 0, 10, input);
  }
  Effect::BasicOutput& output(const std::shared_ptr<Edit::Object>& object) {
    return dynamic_cast<Effect::BasicOutput&>(*object->effects[1]);
  }
};

// ---- the target point ----

TEST_F(CameraRenderTest, TheTargetLayerPicksTheTargetPoint) {
  auto camera = std::make_shared<Effect::CameraControl>();
  auto cameraObject = world_->placeEffect(0, 0, 10, camera);
  auto target = solid(2, 8, {1, 0, 0, 1});
  output(target).x.setValue(100, 0);
  output(target).y.setValue(-50, 0);
  output(target).z.setValue(30, 0);
  world_->placeEffect(3, 0, 10, std::make_shared<Effect::CameraLight>());  // a filter object
  camera->targetX.setValue(1, 0);
  camera->targetY.setValue(2, 0);
  camera->targetZ.setValue(3, 0);

  Effect::EffectContext context;
  context.scene = &world_->scene();
  context.setObject(cameraObject, cameraObject->frames());
  const XMath::Vector position{7, 8, 9, 1};
  struct Case {
    const char* name;
    double layer;  // 1-based
    XMath::Vector expected;
  };
  const Case cases[] = {
      {"no target layer", 0, {1, 2, 3, 1}},
      {"the layer of an input object", 3, {101, -48, 33, 1}},
      {"an empty layer", 2, {1, 2, 3, 1}},
      {"a filter object", 4, {1, 2, 3, 1}},
      {"past the last layer", 1000, {1, 2, 3, 1}},
      {"the camera's own layer: relative to the camera", 1, {8, 10, 12, 1}},
  };
  for (const Case& c : cases) {
    camera->targetLayer.setValue(c.layer, 0);
    const XMath::Vector t = camera->computeTarget(context, position);
    EXPECT_NEAR(t.x, c.expected.x, 1e-4) << c.name;
    EXPECT_NEAR(t.y, c.expected.y, 1e-4) << c.name;
    EXPECT_NEAR(t.z, c.expected.z, 1e-4) << c.name;
    EXPECT_EQ(t.w, 1.0f) << c.name;
  }
}

TEST_F(CameraRenderTest, AMovingTargetLayerGlidesAndIsNeverRelative) {
  static const Effect::LinearSpeed linear;
  auto camera = std::make_shared<Effect::CameraControl>();
  auto cameraObject = world_->placeEffect(0, 0, 10, camera);
  output(solid(2, 8, {1, 0, 0, 1})).x.setValue(100, 0);
  output(solid(4, 8, {1, 0, 0, 1})).x.setValue(-60, 0);

  Effect::EffectContext context;
  context.scene = &world_->scene();
  context.frame = 5;
  context.time = 5;
  context.setObject(cameraObject, cameraObject->frames());
  auto& layer = camera->targetLayer;
  layer.movement = &linear;
  layer.params = linear.defaultParams;
  layer.values = {3, 5};
  // The reference: a track of the sampled positions under the same movement.
  Effect::EffectItemList items;
  Effect::EffectItemNumber reference(items, "X", 0.0, -100000.0, 100000.0, 0.01);
  reference.movement = &linear;
  reference.params = linear.defaultParams;
  reference.values = {0, 0};
  reference.setValue(100, 0);
  reference.setValue(-60, 1);
  const double expected = reference.getValue(context);
  ASSERT_GT(expected, -60.0);
  ASSERT_LT(expected, 100.0);
  EXPECT_NEAR(camera->computeTarget(context, {7, 8, 9, 1}).x, expected, 1e-3);

  // Moving, the camera's own layer is an ordinary layer: a control object, no target there.
  layer.values = {1, 1};
  const XMath::Vector own = camera->computeTarget(context, {7, 8, 9, 1});
  EXPECT_EQ(own.x, 0.0f);
  EXPECT_EQ(own.z, 0.0f);

  // A track without values is a broken item, not a target at the origin.
  layer.values.clear();
  try {
    camera->computeTarget(context, {7, 8, 9, 1});
    ADD_FAILURE() << "no exception";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("item value index out of range."),
              std::string::npos);
  }
}

// ---- a lit 3-D scene ----

XMath::Vector normalized(float x, float y, float z) { return XMath::normalize3({x, y, z, 0}); }

// The lighting of one parallel light on a surface, as the lighting pass defines it: the
// cosine of the light's angle times the microfacet specular term (GGX distribution, height-
// correlated visibility, Schlick Fresnel from a reflectance of 0.04) plus the diffuse rest.
float parallelShade(const XMath::Vector& n, const XMath::Vector& v, const XMath::Vector& l,
                    float shine) {
  const auto sat = [](float x) { return std::clamp(x, 0.0f, 1.0f); };
  const float roughness = 1.0f - shine;
  const float a2 = roughness * roughness * roughness * roughness;
  const XMath::Vector h = XMath::normalize3(XMath::add3(v, l));
  const float f = 0.04f + 0.96f * std::pow(1.0f - sat(XMath::dot3(h, l)), 5.0f);
  const float nh = sat(XMath::dot3(n, h));
  const float nl = sat(XMath::dot3(n, l));
  const float nv = sat(XMath::dot3(n, v));
  const float d = nh * nh * (a2 - 1.0f) + 1.0f;
  const float distribution = a2 / (d * d);
  const float visibility = 0.5f / (nv * std::sqrt(nl * nl * (1.0f - a2) + a2) +
                                   nl * std::sqrt(nv * nv * (1.0f - a2) + a2) + 1e-5f);
  return (distribution * visibility * f + 1.0f - f) * nl;
}

TEST_F(CameraRenderTest, TwoCrossingPlanesUnderAParallelLight) {
  // White planes turned by +45 and -45 degrees about y cross along the y axis in front of
  // the default camera: left of the centre the plane z = x is nearer, right of it z = -x.
  auto camera = std::make_shared<Effect::CameraControl>();
  auto cameraObject = world_->placeEffect(0, 0, 10, camera);
  output(solid(1, 64, {1, 1, 1, 1})).rotationY.setValue(45, 0);
  output(solid(2, 64, {1, 1, 1, 1})).rotationY.setValue(-45, 0);

  struct Light {
    bool ambient;
    float brightness;
  };
  struct Case {
    const char* name;
    std::vector<Light> lights;
    float plain;   // the ambient term
    float direct;  // the parallel light's colour
  };
  const Case cases[] = {
      {"no light: drawn as it is", {}, 1.0f, 0.0f},
      {"a parallel light of 100", {{false, 100}}, 0.0f, 1.0f},
      {"a parallel light of 40 leaves 0.6 unlit", {{false, 40}}, 0.6f, 0.4f},
      {"with an ambient light of 50", {{false, 100}, {true, 50}}, 0.5f, 1.0f},
  };
  const XMath::Vector eye{0, 0, -1024, 1};
  const XMath::Vector towardsLight{0, 0, -1, 0};
  const float shine = Effect::OutputView{}.glossiness;
  for (const Case& c : cases) {
    cameraObject->effects.resize(1);
    for (const Light& light : c.lights) {
      if (light.ambient) {
        auto effect = std::make_shared<Effect::CameraLightAmbient>();
        effect->brightness.setValue(light.brightness, 0);
        cameraObject->effects.push_back(effect);
      } else {
        auto effect = std::make_shared<Effect::CameraLight>();
        effect->brightness.setValue(light.brightness, 0);
        cameraObject->effects.push_back(effect);
      }
    }
    const auto image = renderFrame();
    ASSERT_TRUE(image) << c.name;
    for (const auto& [px, normal] :
         {std::pair{20, normalized(1, 0, -1)}, std::pair{44, normalized(-1, 0, -1)}}) {
      // The ray from the picture plane point under the pixel's centre to the eye.
      const XMath::Vector onPlane{static_cast<float>(px) + 0.5f - 32.0f, 0.5f, 0.0f, 1.0f};
      const XMath::Vector v = XMath::normalize3(XMath::subtract3(eye, onPlane));
      const float s =
          c.plain + (c.direct > 0 ? c.direct * parallelShade(normal, v, towardsLight, shine) : 0);
      EXPECT_TRUE(nearHalf(halfPixel(*image, static_cast<uint32_t>(px), 24), {s, s, s, 1}, 4e-3))
          << c.name << " at x " << px;
    }
    // Beside the planes nothing is lit: the light multiplies what was drawn.
    EXPECT_TRUE(nearHalf(halfPixel(*image, 2, 24), kClear)) << c.name;
  }
}

// ---- the guide lines ----

class GuideShaderTest : public CameraRenderTest {
 protected:
  // Draws a 3-pixel line along x at y = 0, at view depth `depth` from the camera, through a
  // camera of focal distance `focal`, over an opaque surface at `opaque` (in the depth
  // buffer's units), and returns the transparent layer and its depth.
  struct Drawn {
    std::shared_ptr<Media::ImageBuffer> frame, layer, layerDepth;
    float depthAt(uint32_t x, uint32_t y) const {
      float value;
      std::memcpy(&value, layerDepth->row(y) + x * 4, 4);
      return value;
    }
  };
  // The transparent layer after the camera object's guides, as a frame of the preview
  // (with handles) draws them when `preview`.
  std::shared_ptr<Media::ImageBuffer> guidesOf(const std::shared_ptr<Edit::Object>& cameraObject,
                                               bool preview) {
    auto& camera = dynamic_cast<Effect::CameraControl&>(*cameraObject->effects[0]);
    TestSupport::RecordingAnchorList anchors;
    Media::RenderBuffer frame(64, 48);
    frame.clear(kClear.data());
    Effect::EffectContext context;
    context.scene = &world_->scene();
    context.setObject(cameraObject, cameraObject->frames());
    context.outputView.cameraControl = cameraObject;
    context.outputView.target = &frame;
    if (preview) context.anchorList = &anchors;
    camera.drawGuides(context, frame);
    return frame.getOitColorBuffer1()->readBack();
  }
  Drawn draw(float focal, float depth, float opaque) {
    Media::RenderBuffer frame(64, 48);
    frame.clear(kClear.data());
    frame.getOitDepthBuffer1()->clear(opaque);
    Edit::CameraView camera;
    camera.extra[5] = focal;
    const XMath::Matrix matrix =
        XMath::multiply(Effect::CameraControl::makeViewMatrix(camera),
                        Effect::CameraControl::makeProjection(focal, 64.0f, 48.0f));
    Effect::CameraGuideResource resource;
    {
      Effect::CameraGuideResource::Drawing drawing(resource, frame, matrix, focal);
      const float z = depth - 1024.0f;
      drawing.drawGuideLine({-1000000, 0, z, 1}, {1000000, 0, z, 1}, 1.5f);
      const float grey[4] = {0.4f, 0.4f, 0.4f, 0.8f};
      drawing.flushLines(grey);
    }
    return {frame.readBack(), frame.getOitColorBuffer1()->readBack(),
            frame.getOitDepthBuffer2()->readBack()};
  }
};

TEST_F(GuideShaderTest, LinesHideBehindSurfacesAndFadeWithTheirRealDepth) {
  struct Case {
    const char* name;
    float focal, depth, opaque;
    float alpha;        // of the line's middle rows in the transparent layer
    float storedDepth;  // in the 3-D objects' units: depth x 1024 / focal
  };
  const float near = 1.0f - 1024.0f / 1000000.0f;
  const Case cases[] = {
      {"over nothing", 1024, 1024, 1e10f, 0.8f * near, 1024},
      {"behind a surface", 1024, 1024, 500, 0, 0},
      {"a quarter in front of a surface: softened", 1024, 1024, 1024.25f, 0.8f * 0.75f * near,
       1024},
      {"far away: half faded", 1024, 500000, 1e10f, 0.4f, 500000},
      {"far away through a wide lens: faded by the real depth", 512, 500000, 1e10f, 0.4f, 1000000},
  };
  for (const Case& c : cases) {
    const Drawn drawn = draw(c.focal, c.depth, c.opaque);
    for (uint32_t y : {23u, 24u}) {
      const float a = c.alpha;
      EXPECT_TRUE(nearHalf(halfPixel(*drawn.layer, 10, y), {0.4f * a, 0.4f * a, 0.4f * a, a}))
          << c.name << " row " << y;
      if (a > 0) {
        EXPECT_NEAR(drawn.depthAt(10, y), c.storedDepth, c.storedDepth * 1e-4) << c.name;
      }
      // Translucent lines wait in the transparent layer for the closing resolve.
      EXPECT_TRUE(nearHalf(halfPixel(*drawn.frame, 10, y), kClear)) << c.name;
    }
    EXPECT_TRUE(nearHalf(halfPixel(*drawn.layer, 10, 18), kClear)) << c.name;
  }
}

TEST_F(GuideShaderTest, ThePreviewDrawsTheGroundGridAndTheFocusAxes) {
  auto camera = std::make_shared<Effect::CameraControl>();
  auto cameraObject = world_->placeEffect(0, 0, 10, camera);
  // Above the ground, looking down at the origin through a narrow field: the grid line
  // x = 0 runs through the picture's middle from top to bottom, the other lines along z are
  // out of sight.
  camera->camera.eye = {0, -1000, -1000, 1};
  camera->camera.target = {0, 0, 0, 1};
  camera->viewProjection = XMath::multiply(Effect::CameraControl::makeViewMatrix(camera->camera),
                                           Effect::CameraControl::makeProjection(1024, 64, 48));
  // How many rows of the middle column lie under a line of at least `alpha`.
  const auto drawGuides = [&](bool preview, float alpha) {
    const auto layer = guidesOf(cameraObject, preview);
    int rows = 0;
    for (uint32_t y = 0; y < 48; ++y)
      if (halfPixel(*layer, 32, y)[3] >= alpha) ++rows;
    return rows;
  };

  // Only frames of the preview carry handles, and only they get guides.
  // The grid's lines are 0.8 opaque, the axes 0.4 (a little less with the distance fade).
  EXPECT_EQ(drawGuides(false, 0.01f), 0);
  EXPECT_EQ(drawGuides(true, 0.79f), 48);
  EXPECT_EQ(camera->guidePoint.w, 0.0f);  // not the focus object: no axes

  world_->video().setCameraGrid(false);
  EXPECT_EQ(drawGuides(true, 0.01f), 0);
  // The focus object's target gets the axes: the y axis through the origin runs up the
  // middle too.
  world_->scene().focusObject = cameraObject;
  EXPECT_EQ(drawGuides(true, 0.39f), 48);
  EXPECT_EQ(camera->guidePoint.w, 1.0f);
  EXPECT_EQ(camera->guidePoint.y, 0.0f);
  world_->scene().focusObject.reset();
}

TEST_F(GuideShaderTest, TheFreeViewShowsTheCamerasOwnFrame) {
  auto camera = std::make_shared<Effect::CameraControl>();
  auto cameraObject = world_->placeEffect(0, 0, 10, camera);
  // The edit camera (the default view) sees the effect's camera 500 in front of the picture
  // plane: its image plane, 64 x 48 at z = 524, appears 42 x 32 around the centre, and the
  // four faces of its pyramid from the eye cover that rectangle.
  camera->camera.eye = {0, 0, -500, 1};
  camera->camera.target = {0, 0, 0, 1};
  const Edit::CameraView edit;
  camera->freeView = true;
  camera->viewProjection = XMath::multiply(Effect::CameraControl::makeViewMatrix(edit),
                                           Effect::CameraControl::makeProjection(1024, 64, 48));
  world_->video().setCameraGrid(false);
  world_->video().setCameraFreeView(true);
  const auto layer = guidesOf(cameraObject, true);

  // The side faces are dark, the face along the bottom edge (view y = H/2) light, all 0.3.
  EXPECT_TRUE(nearHalf(halfPixel(*layer, 44, 24), {0, 0, 0, 0.3f}));
  EXPECT_TRUE(nearHalf(halfPixel(*layer, 20, 24), {0, 0, 0, 0.3f}));
  const Rgba above = halfPixel(*layer, 32, 14);
  const Rgba below = halfPixel(*layer, 32, 34);
  EXPECT_NEAR(above[3], 0.3f, 1e-3);
  EXPECT_NEAR(below[3], 0.3f, 1e-3);
  EXPECT_NEAR(above[0] + below[0], 0.3f, 1e-3);  // one dark, one light
  // Outside the camera's frame nothing.
  EXPECT_TRUE(nearHalf(halfPixel(*layer, 2, 2), kClear));
  // The frame's outline: the right edge at x = 32 + 21.
  EXPECT_GT(halfPixel(*layer, 53, 24)[3], 0.5f);
}

// ---- the light bloom ----

TEST_F(CameraRenderTest, TheBlurShadersSumTheBoxAroundEachTexel) {
  constexpr int kW = 12, kH = 7, kRange = 2;
  std::vector<Rgba> pixels(kW * kH, kClear);
  pixels[0] = {1, 2, 3, 1};               // a corner: half the box lies outside
  pixels[3 * kW + 6] = {4, 0, 0, 1};      // inside
  pixels[6 * kW + 11] = {0, 0, 8, 0.5f};  // the opposite corner
  std::vector<uint16_t> halves;
  for (const Rgba& p : pixels)
    for (float c : p) halves.push_back(floatToHalf(c));
  Media::ResourceBuffer image(kW, kH);
  image.writePixels(0, 0, kW, kH, 10, halves.data(), kW * 8, halves.size() * 2);
  Media::ResourceBuffer scratch(kW, kH);
  Effect::LightBloomResource resource;
  resource.blur(image, scratch, kRange);
  const auto result = image.readBack();

  // The box on the CPU: along x, then along y, texels outside counting as 0.
  const auto at = [&](const std::vector<Rgba>& from, int x, int y) {
    return x < 0 || y < 0 || x >= kW || y >= kH ? kClear
                                                : from[static_cast<std::size_t>(y * kW + x)];
  };
  std::vector<Rgba> across(pixels.size()), expected(pixels.size());
  const float mean = 1.0f / (2 * kRange + 1);
  for (int pass = 0; pass < 2; ++pass) {
    const auto& from = pass == 0 ? pixels : across;
    auto& to = pass == 0 ? across : expected;
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        Rgba sum = kClear;
        for (int i = -kRange; i <= kRange; ++i) {
          const Rgba t = pass == 0 ? at(from, x + i, y) : at(from, x, y + i);
          for (int ch = 0; ch < 4; ++ch) sum[ch] += t[ch] * mean;
        }
        to[static_cast<std::size_t>(y * kW + x)] = sum;
      }
  }
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{2, 2}, std::pair{3, 2}, std::pair{6, 3},
                             std::pair{8, 5}, std::pair{11, 6}, std::pair{9, 4}, std::pair{5, 0}})
    EXPECT_TRUE(nearHalf(halfPixel(*result, static_cast<uint32_t>(x), static_cast<uint32_t>(y)),
                         expected[static_cast<std::size_t>(y * kW + x)]))
        << x << ", " << y;
  // Range 0 leaves the image as it is.
  resource.blur(image, scratch, 0);
  EXPECT_TRUE(nearHalf(halfPixel(*image.readBack(), 6, 3), expected[3 * kW + 6]));
}

TEST_F(CameraRenderTest, TheBloomGlowsAroundOverBrightPixelsOnly) {
  auto camera = std::make_shared<Effect::CameraControl>();
  auto cameraObject = world_->placeEffect(0, 0, 10, camera);
  auto bloom = std::make_shared<Effect::CameraLightBloom>();
  cameraObject->effects.push_back(bloom);
  auto object = solid(1, 8, {4, 4, 4, 1});  // 8 x 8 at (28..35, 20..27), luma 4
  auto& input = dynamic_cast<SolidInput&>(*object->effects[0]);

  struct Case {
    const char* name;
    float colour[4];
    double strength, spread;
    bool glows;
  };
  const Case cases[] = {
      // Boxes of 1, 1, 2, 4 and 8 pixels: the glow reaches 16 pixels beyond the object.
      {"over-bright", {4, 4, 4, 1}, 500, 16, true},
      {"strength 0", {4, 4, 4, 1}, 0, 16, false},
      {"spread 0", {4, 4, 4, 1}, 500, 0, false},
      {"no luma above 1", {1, 1, 1, 1}, 500, 16, false},
      {"spread below 16: the first stages blur nothing, the rest still glow",
       {4, 4, 4, 1},
       500,
       12,
       true},
  };
  for (const Case& c : cases) {
    std::memcpy(input.colour, c.colour, sizeof(input.colour));
    bloom->strength.setValue(c.strength, 0);
    bloom->spread.setValue(c.spread, 0);
    const auto image = renderFrame();
    ASSERT_TRUE(image) << c.name;
    const Rgba outside = halfPixel(*image, 38, 24);
    const Rgba inside = halfPixel(*image, 31, 24);
    if (c.glows) {
      EXPECT_GT(outside[0], 0.01f) << c.name;
      EXPECT_GT(inside[0], c.colour[0]) << c.name;
    } else {
      EXPECT_TRUE(nearHalf(outside, kClear)) << c.name;
      EXPECT_TRUE(nearHalf(inside, {c.colour[0], c.colour[1], c.colour[2], c.colour[3]})) << c.name;
    }
    // Far from the object nothing arrives at any spread used here.
    EXPECT_TRUE(nearHalf(halfPixel(*image, 0, 0), kClear)) << c.name;
  }
}

}  // namespace
