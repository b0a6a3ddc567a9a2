#include "effect/output_draw_constants.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Effect::OutputDraw {

namespace {

int32_t roundHalfAway(double value) {
  // Far beyond any image size; keeps the conversion defined for a damaged view.
  return static_cast<int32_t>(std::clamp(std::round(value), -1.0e9, 1.0e9));
}

}  // namespace

DrawPath chooseDrawPath(bool underCamera, std::size_t lightCount) {
  if (!underCamera) return DrawPath::Plain;
  return lightCount > 0 ? DrawPath::Lit : DrawPath::Depth;
}

int standardBlendMode(int blendMode) { return blendMode >= 20 ? 0 : std::clamp(blendMode, 0, 23); }

int vertexListBlendEntry(int blendMode) { return blendMode >= 20 ? 17 : 0; }

StateEntries chooseStates(int samplerOverride, bool culling, bool customVertexList) {
  StateEntries entries;
  entries.sampler = samplerOverride >= 0 ? samplerOverride : (customVertexList ? 1 : 0);
  entries.rasterizer = culling ? 1 : 0;
  return entries;
}

ObjectConstants makeObjectConstants(const XMath::Matrix& world, const XMath::Matrix& view,
                                    float opacity, int blendMode, bool lit, float glossiness) {
  ObjectConstants constants;
  constants.worldViewTransposed = XMath::transpose(XMath::multiply(world, view));
  constants.opacity = opacity;
  constants.blendMode = blendMode;
  if (lit) {
    constants.worldInverse = XMath::inverse(world);
    constants.glossiness = glossiness;
  }
  return constants;
}

Offset2D offset2D(int imageWidth, int imageHeight, int frameWidth, int frameHeight,
                  const OutputView& placement) {
  const auto axis = [](int image, int frame, float center, float position) {
    return roundHalfAway((static_cast<double>(image) - frame) * 0.5 +
                         (static_cast<double>(center) - position));
  };
  return {axis(imageWidth, frameWidth, placement.centerX, placement.x),
          axis(imageHeight, frameHeight, placement.centerY, placement.y)};
}

Draw2DConstants makeDraw2DConstants(float opacity, int blendMode, Offset2D offset) {
  Draw2DConstants constants;
  auto* bytes = constants.bytes;
  if (blendMode == 0) {
    std::memcpy(bytes, &opacity, 4);
    std::memcpy(bytes + 4, &offset.dx, 4);
    std::memcpy(bytes + 8, &offset.dy, 4);
  } else {
    const int32_t blend = blendMode;
    std::memcpy(bytes, &blend, 4);
    std::memcpy(bytes + 4, &opacity, 4);
    std::memcpy(bytes + 8, &offset.dx, 4);
    std::memcpy(bytes + 12, &offset.dy, 4);
  }
  return constants;
}

LightConstants makeLightConstants(std::span<const LightRecord> lights) {
  LightConstants constants;
  const std::size_t used = std::min<std::size_t>(lights.size(), kMaxLights);
  float factor = 1.0f;
  for (std::size_t i = 0; i < used; ++i) {
    const LightRecord& light = lights[i];
    constants.lights[i] = light;
    factor *= light.factor;
    if (light.kind == 0)
      for (int c = 0; c < 3; ++c) constants.ambient[c] += light.color[c];
  }
  for (float& channel : constants.ambient) channel += factor;
  constants.count = static_cast<int32_t>(used);
  return constants;
}

ScreenQuad makeScreenQuad(const XMath::Vector (&rays)[4]) {
  // The vertices run top-left, top-right, bottom-left, bottom-right (a triangle strip);
  // the rays come top-left, top-right, bottom-right, bottom-left.
  static constexpr float kCorners[4][2] = {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}};
  static constexpr int kRayOf[4] = {0, 1, 3, 2};
  ScreenQuad quad;
  for (int i = 0; i < 4; ++i) {
    ScreenQuadVertex& vertex = quad.vertices[i];
    vertex.position[0] = kCorners[i][0];
    vertex.position[1] = kCorners[i][1];
    const XMath::Vector& ray = rays[kRayOf[i]];
    vertex.ray[0] = ray.x;
    vertex.ray[1] = ray.y;
    vertex.ray[2] = ray.z;
  }
  return quad;
}

XMath::Matrix billboardRotation(const XMath::Vector& eye) {
  const XMath::Vector direction{eye.x, eye.y, eye.z, 0.0f};
  return XMath::inverse(
      XMath::lookToLH({0.0f, 0.0f, 0.0f, 1.0f}, direction, {0.0f, 1.0f, 0.0f, 0.0f}));
}

}  // namespace Effect::OutputDraw
