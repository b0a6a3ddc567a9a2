#include "builtin/camera/camera_light_record.h"

#include <algorithm>

#include "system/xmath.h"

namespace Effect::CameraLightRecord {
namespace {

void setColour(Media::LightSource& light, float strength, uint32_t rgb) {
  light.r = static_cast<float>((rgb >> 16) & 0xFF) / 255.0f * strength;
  light.g = static_cast<float>((rgb >> 8) & 0xFF) / 255.0f * strength;
  light.b = static_cast<float>(rgb & 0xFF) / 255.0f * strength;
}

}  // namespace

Media::LightSource parallel(float latitude, float longitude, float tilt, float brightness,
                            uint32_t rgb) {
  const XMath::Matrix turn =
      XMath::multiply(XMath::multiply(XMath::rotationX(-XMath::toRadians(latitude)),
                                      XMath::rotationY(-XMath::toRadians(longitude))),
                      XMath::rotationZ(XMath::toRadians(tilt)));
  const XMath::Vector towards =
      XMath::normalize3(XMath::transform4({0.0f, 0.0f, -1.0f, 1.0f}, turn));
  Media::LightSource light;
  light.type = 1;
  light.x = towards.x;
  light.y = towards.y;
  light.z = towards.z;
  const float strength = brightness * 0.01f;
  setColour(light, strength, rgb);
  light.a = std::max(1.0f - strength, 0.0f);
  return light;
}

Media::LightSource ambient(float brightness, uint32_t rgb) {
  Media::LightSource light;
  light.type = 0;
  setColour(light, brightness * 0.01f, rgb);
  return light;
}

}  // namespace Effect::CameraLightRecord
