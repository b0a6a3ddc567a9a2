#pragma once
// Running one pixel shader over a small image and checking it against the same maths done
// here on the CPU: the draw with its inputs, constants and sampler, the filtering that the
// sampler states do (to compute expected colours with), and the comparison of every pixel,
// which also refuses any NaN or infinity in the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "gpu/gpu_test_support.h"
#include "gpu/pixel_format.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader/shader_binding.h"

namespace TestSupport {

// An entry of the sampler state list and the filtering it does: bilinear between the four
// texels around (u, v) or the texel under it, addressing past the edge by clamping, by
// wrapping, or with a transparent black border.
enum class Address { Border, Clamp, Wrap };
struct Sampler {
  std::size_t entry;
  Address address;
  bool nearest;
};
inline constexpr Sampler kLinearBorder{0, Address::Border, false};
inline constexpr Sampler kLinearClamp{1, Address::Clamp, false};
inline constexpr Sampler kLinearWrap{2, Address::Wrap, false};
inline constexpr Sampler kNearestClamp{6, Address::Clamp, true};

// A texel of a format-10 image, or of a one-channel float table (its value in channel 0).
using TexelReader = std::function<Rgba(int x, int y)>;

inline Rgba halfTexel(const Media::ImageBuffer& image, int x, int y) {
  return halfPixel(image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

inline Rgba addressedTexel(const Media::ImageBuffer& image, int x, int y, Address address) {
  const int w = int(image.width), h = int(image.height);
  switch (address) {
    case Address::Border:
      if (x < 0 || y < 0 || x >= w || y >= h) return Rgba{};
      break;
    case Address::Clamp:
      x = std::clamp(x, 0, w - 1);
      y = std::clamp(y, 0, h - 1);
      break;
    case Address::Wrap:
      x = ((x % w) + w) % w;
      y = ((y % h) + h) % h;
      break;
  }
  return halfTexel(image, x, y);
}

// The texel at (x, y), transparent black outside the image (a bounds-checked load).
inline Rgba loadTexel(const Media::ImageBuffer& image, int x, int y) {
  return addressedTexel(image, x, y, Address::Border);
}

inline Rgba sample(const Media::ImageBuffer& image, float u, float v, const Sampler& sampler) {
  const float tx = u * float(image.width), ty = v * float(image.height);
  if (sampler.nearest)
    return addressedTexel(image, int(std::floor(tx)), int(std::floor(ty)), sampler.address);
  const float x0 = std::floor(tx - 0.5f), y0 = std::floor(ty - 0.5f);
  const float fx = tx - 0.5f - x0, fy = ty - 0.5f - y0;
  const auto t = [&](int dx, int dy) {
    return addressedTexel(image, int(x0) + dx, int(y0) + dy, sampler.address);
  };
  const Rgba a = t(0, 0), b = t(1, 0), c = t(0, 1), d = t(1, 1);
  Rgba r;
  for (int i = 0; i < 4; ++i)
    r[i] = (a[i] * (1 - fx) + b[i] * fx) * (1 - fy) + (c[i] * (1 - fx) + d[i] * fx) * fy;
  return r;
}

// A format-10 image of width x height with the colour `color(x, y)` at each pixel.
inline std::shared_ptr<Media::ImageBuffer> halfImage(uint32_t width, uint32_t height,
                                                     const std::function<Rgba(int, int)>& color) {
  auto image = Media::ImageBuffer::makeShared(10, width, height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) setHalfPixel(*image, x, y, color(int(x), int(y)));
  return image;
}

// Premultiplied colours from a fixed seed, every fourth pixel (diagonally) transparent and
// a few reds above 1, as the pictures of a scene can hold.
inline std::shared_ptr<Media::ImageBuffer> randomPicture(uint32_t width, uint32_t height,
                                                         uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  return halfImage(width, height, [&](int x, int y) {
    const float alpha = (x + y) % 4 == 0 ? 0.0f : unit(random);
    const float boost = x % 5 == 3 ? 1.5f : 1.0f;
    return Rgba{unit(random) * alpha * boost, unit(random) * alpha, unit(random) * alpha, alpha};
  });
}

// A format-10 image as a shader input.
inline std::unique_ptr<Media::ResourceBuffer> uploadImage(const Media::ImageBuffer& image) {
  auto buffer = std::make_unique<Media::ResourceBuffer>();
  buffer->create(image);
  return buffer;
}

// A one-channel float table (row by row) as a shader input.
inline std::unique_ptr<Media::ResourceBuffer> uploadTable(uint32_t width, uint32_t height,
                                                          const std::vector<float>& values) {
  auto buffer = std::make_unique<Media::ResourceBuffer>(int32_t(width), int32_t(height),
                                                        Media::DxgiFormat::R32_FLOAT);
  const uint64_t pitch = uint64_t{width} * sizeof(float);
  buffer->writePixels(0, 0, width, height, Media::DxgiFormat::R32_FLOAT, values.data(), pitch,
                      pitch * height);
  return buffer;
}

// Draws `shader` into a new width x height target with the inputs at texture slots 0 and 1,
// `constants` at constant slot 0 and the sampler at sampler slot 0, blending off; returns
// the target read back.
inline std::shared_ptr<Media::ImageBuffer> runPixelShader(
    Media::PixelShader& shader, uint32_t width, uint32_t height,
    std::initializer_list<Media::ResourceBuffer*> inputs,
    const Media::ConstantBufferCommon& constants, Media::SamplerState* sampler = nullptr) {
  Media::ResourceBuffer target{int32_t(width), int32_t(height)};
  Media::ShaderBindings::setSampler(0, sampler);
  auto* const* input = inputs.begin();
  if (inputs.size() == 1) {
    shader.drawInputWithConstants(target, *input[0], constants, nullptr);
  } else {
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &constants);
    shader.drawTwoInputs(target, *input[0], *input[1], nullptr);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, nullptr);
  }
  Media::ShaderBindings::setSampler(0, nullptr);
  return target.readBack();
}

// A buffer holding the bytes of a constants structure.
template <class Constants>
void makeConstants(Media::ConstantBufferCommon& buffer, const Constants& constants) {
  Media::ConstantBufferCommon::create(buffer, &constants, sizeof constants);
}

// The expected colour at (x, y), or none where the maths sits on a threshold that rounding
// may tip either way (such pixels are only checked to be finite).
using Expected = std::function<std::optional<Rgba>(int x, int y)>;

// Every pixel of a format-10 result finite and, where `expected` gives one, within
// `tolerance` of it (relative above 1, as nearHalf).
inline ::testing::AssertionResult matchesEverywhere(const Media::ImageBuffer& result,
                                                    const Expected& expected,
                                                    float tolerance = 2e-3f) {
  for (uint32_t y = 0; y < result.height; ++y)
    for (uint32_t x = 0; x < result.width; ++x) {
      const Rgba actual = halfPixel(result, x, y);
      for (const float value : actual)
        if (!std::isfinite(value))
          return ::testing::AssertionFailure() << "not finite at " << x << ", " << y;
      const std::optional<Rgba> wanted = expected(int(x), int(y));
      if (!wanted) continue;
      if (auto near = nearHalf(actual, *wanted, tolerance); !near)
        return near << " at " << x << ", " << y;
    }
  return ::testing::AssertionSuccess();
}

}  // namespace TestSupport
