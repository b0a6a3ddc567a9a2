#pragma once
// What the GPU tests share: a fixture that opens the device, half-float conversions for
// reading images back, the device back-end's own headers (the tests look at GL state), and
// small GLSL programs of the tests' own that draw a full-target
// quad or a triangle with constant outputs.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "gpu/direct3d_service.h"
#include "gpu/gl/gl_context.h"
#include "gpu/gl/gl_device.h"
#include "gpu/gl/gl_program.h"
#include "gpu/gl/gl_texture.h"
#include "gpu/image/image_buffer.h"
#include "system/service_holder.h"

namespace TestSupport {

inline float halfToFloat(uint16_t half) {
  const uint32_t sign = (half >> 15) & 1;
  const uint32_t exponent = (half >> 10) & 0x1F;
  const uint32_t mantissa = half & 0x3FF;
  float value;
  if (exponent == 0)
    value = std::ldexp(static_cast<float>(mantissa), -24);
  else if (exponent == 31)
    value = mantissa ? NAN : INFINITY;
  else
    value = std::ldexp(static_cast<float>(mantissa | 0x400), static_cast<int>(exponent) - 25);
  return sign ? -value : value;
}

// Round to nearest; enough for the values of the tests (no denormals, no overflow).
inline uint16_t floatToHalf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, 4);
  const uint32_t sign = (bits >> 16) & 0x8000;
  const int exponent = static_cast<int>((bits >> 23) & 0xFF) - 127 + 15;
  uint32_t mantissa = bits & 0x7FFFFF;
  if (exponent <= 0) return static_cast<uint16_t>(sign);
  if (exponent >= 31) return static_cast<uint16_t>(sign | 0x7C00);
  uint32_t half = sign | (static_cast<uint32_t>(exponent) << 10) | (mantissa >> 13);
  if ((mantissa & 0x1FFF) > 0x1000 || ((mantissa & 0x1FFF) == 0x1000 && (half & 1))) ++half;
  return static_cast<uint16_t>(half);
}

using Rgba = std::array<float, 4>;

// A pixel of an image in format 10.
inline Rgba halfPixel(const Media::ImageBuffer& image, uint32_t x, uint32_t y) {
  const auto* texel = reinterpret_cast<const uint16_t*>(image.row(y) + x * 8);
  return {halfToFloat(texel[0]), halfToFloat(texel[1]), halfToFloat(texel[2]),
          halfToFloat(texel[3])};
}

inline void setHalfPixel(Media::ImageBuffer& image, uint32_t x, uint32_t y, const Rgba& color) {
  auto* texel = reinterpret_cast<uint16_t*>(image.row(y) + x * 8);
  for (int c = 0; c < 4; ++c) texel[c] = floatToHalf(color[c]);
}

// A whole image of one colour in format 10.
inline std::shared_ptr<Media::ImageBuffer> solidHalfImage(uint32_t width, uint32_t height,
                                                          const Rgba& color) {
  auto image = Media::ImageBuffer::makeShared(10, width, height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) setHalfPixel(*image, x, y, color);
  return image;
}

// Half precision keeps 11 significant bits.
inline ::testing::AssertionResult nearHalf(const Rgba& actual, const Rgba& expected,
                                           float tolerance = 2e-3f) {
  for (int c = 0; c < 4; ++c) {
    if (!(std::fabs(actual[c] - expected[c]) <= tolerance * std::max(1.0f, std::fabs(expected[c]))))
      return ::testing::AssertionFailure()
             << "channel " << c << ": got (" << actual[0] << ", " << actual[1] << ", "
             << actual[2] << ", " << actual[3] << ") expected (" << expected[0] << ", "
             << expected[1] << ", " << expected[2] << ", " << expected[3] << ")";
  }
  return ::testing::AssertionSuccess();
}

// The device for one test.
class GpuTest : public ::testing::Test {
 protected:
  void SetUp() override { service_.emplace(); }
  void TearDown() override { service_.reset(); }

  Media::Direct3DService& service() { return Media::Direct3DService::Get(); }

  std::optional<System::ServiceHolder<Media::Direct3DService>> service_;
};

// Vertex programs of the tests: a full-target strip of four corners, or a triangle whose
// corners come from the uniform array "points" (normalised coordinates).
inline constexpr const char* kQuadVertexSource = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
void main() {
  vec2 corner = vec2(float(gl_VertexID & 1), float((gl_VertexID >> 1) & 1));
  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

inline constexpr const char* kTriangleVertexSource = R"(#version 450 core
out gl_PerVertex { vec4 gl_Position; };
layout(location = 0) uniform vec2 points[3];
void main() { gl_Position = vec4(points[gl_VertexID], 0.0, 1.0); }
)";

// Writes the uniform "color" to output 0 and "second" to the second blend source.
inline constexpr const char* kTwoColorPixelSource = R"(#version 450 core
layout(location = 0) uniform vec4 color;
layout(location = 1) uniform vec4 second;
layout(location = 0, index = 0) out vec4 result0;
layout(location = 0, index = 1) out vec4 result1;
void main() {
  result0 = color;
  result1 = second;
}
)";

// Samples texture unit 0 at the uniform "uv" with whatever sampler is bound there.
inline constexpr const char* kSamplePixelSource = R"(#version 450 core
layout(binding = 0) uniform sampler2D source;
layout(location = 0) uniform vec2 uv;
layout(location = 0) out vec4 result;
void main() { result = texture(source, uv); }
)";

// Binds a vertex and a pixel program on the calling thread's context.
inline void usePrograms(Media::GlContext& context, const Media::GlProgram& vertex,
                        const Media::GlProgram& pixel) {
  context.useVertexProgram(&vertex, vertex.name());
  context.usePixelProgram(&pixel, pixel.name());
  glBindVertexArray(context.emptyVertexArray());
}

}  // namespace TestSupport
