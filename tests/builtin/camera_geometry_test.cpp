// The camera control's arithmetic without a device: the focal distance, the corner rays of
// the lighting pass, the ground grid and the guide lines' cut at the near plane; and the
// light records of the camera lights.
#include "builtin/control/camera_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "builtin/camera/camera_light_record.h"
#include "builtin/control/camera_control.h"
#include "render/camera_lighting.h"

namespace {

using namespace Effect::CameraGeometry;

TEST(CameraGeometry, FocalDistanceFromTheFieldOfView) {
  struct Case {
    float field, height, expected;
  };
  const Case cases[] = {
      {0.0f, 1080.0f, 1024.0f},  // the default view, whatever the frame
      {0.0f, 48.0f, 1024.0f},
      {-5.0f, 1080.0f, 1024.0f},  // never below the item's range, but no negative field
      {90.0f, 1080.0f, 540.0f},
      {60.0f, 1080.0f, 540.0f / std::tan(XMath::kPi / 6.0f)},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(focalDistance(c.field, c.height), c.expected, c.expected * 1e-5)
        << c.field << " degrees, " << c.height << " pixels";
}

TEST(CameraGeometry, CornerRaysPointFromThePictureCornersToTheEye) {
  // The default camera: 1024 in front of the picture plane, which it sees 1:1.
  const Edit::CameraView camera;
  const auto rays = cornerRays(camera, 64.0f, 48.0f);
  const float corners[4][2] = {{-32, -24}, {32, -24}, {32, 24}, {-32, 24}};
  for (int i = 0; i < 4; ++i) {
    const XMath::Vector expected =
        XMath::normalize3({-corners[i][0], -corners[i][1], -1024.0f, 0.0f});
    EXPECT_NEAR(rays[i].x, expected.x, 1e-5) << i;
    EXPECT_NEAR(rays[i].y, expected.y, 1e-5) << i;
    EXPECT_NEAR(rays[i].z, expected.z, 1e-5) << i;
  }
  // A camera looking along +x from the origin: the rays come back along -x.
  Edit::CameraView side;
  side.eye = {0.0f, 0.0f, 0.0f, 1.0f};
  side.target = {10.0f, 0.0f, 0.0f, 1.0f};
  side.extra[5] = 100.0f;
  for (const XMath::Vector& ray : cornerRays(side, 2.0f, 2.0f)) {
    EXPECT_LT(ray.x, -0.99f);
    EXPECT_NEAR(XMath::length3(ray), 1.0f, 1e-5);
  }
}

TEST(CameraGeometry, TheGridIncludesBothEndsAndNeverRunsAway) {
  struct Case {
    float range, step;
    std::size_t linesEachWay;
  };
  const Case cases[] = {
      {10000.0f, 200.0f, 101},  // the default settings: -R, ..., R
      {10000.0f, 300.0f, 67},   // 2R/S not whole: the last line falls short of R
      {0.0f, 200.0f, 1},        // one line each way through the origin
      {10000.0f, 0.0f, 0},      // a step of 0 would never end: no grid
      {10000.0f, -200.0f, 0},  {10000.0f, NAN, 0},    {-1.0f, 200.0f, 0},
      {INFINITY, 200.0f, 0},   {100000.0f, 0.01f, 0},  // 2e7 lines: too dense to draw
  };
  for (const Case& c : cases) {
    const auto lines = gridLines(c.range, c.step);
    ASSERT_EQ(lines.size(), c.linesEachWay * 2) << c.range << " / " << c.step;
    if (lines.empty()) continue;
    // Alternating: along z at x, then along x at z = x.
    EXPECT_EQ(lines[0].from.x, -c.range);
    EXPECT_EQ(lines[0].from.z, -c.range);
    EXPECT_EQ(lines[0].to.z, c.range);
    EXPECT_EQ(lines[1].from.z, -c.range);
    EXPECT_EQ(lines[1].to.x, c.range);
    const float last = -c.range + c.step * static_cast<float>(c.linesEachWay - 1);
    EXPECT_FLOAT_EQ(lines[lines.size() - 2].from.x, last);
    EXPECT_LE(last, c.range);
  }
}

// The default camera's view-projection on a 64 x 48 frame.
XMath::Matrix defaultViewProjection() {
  const Edit::CameraView camera;
  return XMath::multiply(Effect::CameraControl::makeViewMatrix(camera),
                         Effect::CameraControl::makeProjection(1024.0f, 64.0f, 48.0f));
}

TEST(CameraGeometry, AGuideLineIsCutAtTheNearPlane) {
  const XMath::Matrix matrix = defaultViewProjection();
  // The eye stands at z = -1024; the near plane lies d/20 = 51.2 in front of it.
  struct Case {
    const char* name;
    XMath::Vector p0, p1;
    bool drawn;
    float z0, z1;  // projected depth of the two ends (1 on the near plane)
  };
  const Case cases[] = {
      {"both in front", {-10, 0, 0, 1}, {10, 0, 0, 1}, true, 0.05f, 0.05f},
      {"both behind", {-10, 0, -1100, 1}, {10, 0, -2000, 1}, false, 0, 0},
      {"both behind the near plane, in front of the eye",
       {0, 0, -1000, 1},
       {5, 0, -990, 1},
       false,
       0,
       0},
      {"first behind", {0, 5, -2048, 1}, {0, 5, 1024, 1}, true, 1.0f, 0.025f},
      {"second behind", {0, 5, 1024, 1}, {0, 5, -2048, 1}, true, 0.025f, 1.0f},
  };
  for (const Case& c : cases) {
    const auto strip = guideLineStrip(c.p0, c.p1, matrix, 32.0f, 24.0f, 1.5f);
    ASSERT_EQ(strip.has_value(), c.drawn) << c.name;
    if (!strip) continue;
    const auto& v = *strip;
    EXPECT_NEAR(v[0].z, c.z0, 1e-4) << c.name;
    EXPECT_NEAR(v[1].z, c.z0, 1e-4) << c.name;
    EXPECT_NEAR(v[2].z, c.z1, 1e-4) << c.name;
    EXPECT_NEAR(v[3].z, c.z1, 1e-4) << c.name;
    // Line coordinates: (0, 0), (0, 1), (1, 0), (1, 1), the third always 1.
    const float uv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(v[i].u, uv[i][0]);
      EXPECT_EQ(v[i].v, uv[i][1]);
      EXPECT_EQ(v[i].w, 1.0f);
    }
  }
}

TEST(CameraGeometry, AGuideLineIsTwiceTheHalfWidthAcross) {
  const XMath::Matrix matrix = defaultViewProjection();
  // A horizontal line through the picture's centre: offsets straight up and down.
  const auto strip = guideLineStrip({-10, 0, 0, 1}, {10, 0, 0, 1}, matrix, 32.0f, 24.0f, 1.5f);
  ASSERT_TRUE(strip);
  const auto& v = *strip;
  // In pixels: 1.5 to each side, so 3 across.
  EXPECT_NEAR((v[1].y - v[0].y) * 24.0f, 3.0f, 1e-4);
  EXPECT_NEAR(v[1].x, v[0].x, 1e-6);
  // Ends 10 pixels either side of the centre (the default camera sees z = 0 at 1:1).
  EXPECT_NEAR(v[0].x * 32.0f, -10.0f, 1e-3);
  EXPECT_NEAR(v[2].x * 32.0f, 10.0f, 1e-3);
  // A line seen end-on projects onto a point: nothing to draw.
  EXPECT_FALSE(guideLineStrip({0, 0, 0, 1}, {0, 0, 500, 1}, matrix, 32.0f, 24.0f, 1.0f));
}

TEST(CameraLightRecords, ParallelLightDirectionAndColour) {
  struct Case {
    const char* name;
    float latitude, longitude, tilt, brightness;
    uint32_t rgb;
    Media::LightSource expected;
  };
  const Case cases[] = {
      {"from the camera's side", 0, 0, 0, 50, 0xFFFFFF, {1, 0, 0, -1, 0.5f, 0.5f, 0.5f, 0.5f}},
      {"latitude 90: from below", 90, 0, 0, 50, 0xFFFFFF, {1, 0, -1, 0, 0.5f, 0.5f, 0.5f, 0.5f}},
      {"longitude 90", 0, 90, 0, 100, 0xFF0000, {1, 1, 0, 0, 1, 0, 0, 0}},
      {"tilt alone keeps the direction", 0, 0, 45, 100, 0x0000FF, {1, 0, 0, -1, 0, 0, 1, 0}},
      {"brightness 150: nothing unlit, not -0.5",
       0,
       0,
       0,
       150,
       0xFFFFFF,
       {1, 0, 0, -1, 1.5f, 1.5f, 1.5f, 0}},
      {"colour bytes over 255", 0, 0, 0, 200, 0x336699, {1, 0, 0, -1, 0.4f, 0.8f, 1.2f, 0}},
  };
  for (const Case& c : cases) {
    const Media::LightSource light =
        Effect::CameraLightRecord::parallel(c.latitude, c.longitude, c.tilt, c.brightness, c.rgb);
    const auto& e = c.expected;
    EXPECT_EQ(light.type, 1) << c.name;
    EXPECT_NEAR(light.x, e.x, 1e-6) << c.name;
    EXPECT_NEAR(light.y, e.y, 1e-6) << c.name;
    EXPECT_NEAR(light.z, e.z, 1e-6) << c.name;
    EXPECT_NEAR(light.r, e.r, 1e-6) << c.name;
    EXPECT_NEAR(light.g, e.g, 1e-6) << c.name;
    EXPECT_NEAR(light.b, e.b, 1e-6) << c.name;
    EXPECT_EQ(light.a, e.a) << c.name;
  }
}

TEST(CameraLightRecords, TheLightsMakeTheLightingConstants) {
  using Effect::CameraLightRecord::ambient;
  using Effect::CameraLightRecord::parallel;
  // Two ambient lights of 50 in white: a full ambient, and no plain brightness left.
  const Media::LightSource ambients[] = {ambient(50, 0xFFFFFF), ambient(50, 0xFFFFFF)};
  const auto both = Render::makeFrameLightConstants(ambients);
  for (float channel : both.ambient) EXPECT_FLOAT_EQ(channel, 1.0f);
  EXPECT_EQ(both.count, 2);
  EXPECT_EQ(both.lights[0].kind, 0);
  // One parallel light of 100: nothing left unlit; of 30: 0.7 of plain brightness.
  for (const auto& [brightness, plain] : {std::pair{100.0f, 0.0f}, std::pair{30.0f, 0.7f}}) {
    const Media::LightSource one[] = {parallel(0, 0, 0, brightness, 0xFFFFFF)};
    const auto lit = Render::makeFrameLightConstants(one);
    for (float channel : lit.ambient) EXPECT_NEAR(channel, plain, 1e-6) << brightness;
    EXPECT_EQ(lit.lights[0].kind, 1);
    EXPECT_EQ(lit.lights[0].data[2], -1.0f);
    EXPECT_FLOAT_EQ(lit.lights[0].color[0], brightness * 0.01f);
  }
  // Only the first eight lights count: a ninth ambient light adds nothing.
  std::vector<Media::LightSource> many(8, parallel(0, 0, 0, 100, 0xFFFFFF));
  many.push_back(ambient(100, 0xFFFFFF));
  const auto eight = Render::makeFrameLightConstants(many);
  EXPECT_EQ(eight.count, 8);
  for (float channel : eight.ambient) EXPECT_EQ(channel, 0.0f);
}

}  // namespace
