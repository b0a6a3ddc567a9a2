#pragma once
// Running one pixel shader over small pictures and checking it against the same maths done
// here on the CPU: pictures in main memory that a test fills, their upload and read-back,
// the draw with its inputs, constants and sampler, the filtering that the sampler states do
// (to compute expected colours with), and the comparison of every pixel, which also refuses
// any NaN or infinity in the output.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <random>
#include <type_traits>
#include <vector>

#include "effect/owned_buffer.h"
#include "gpu/gpu_test_support.h"
#include "gpu/pixel_format.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/sampler_state_list.h"
#include "gpu/shader/shader_binding.h"

namespace TestSupport {

// ---------------------------------------------------------------------------------------------
// Pictures in main memory.

struct CpuImage {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  CpuImage() = default;
  CpuImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h)) {}

  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Rgba& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  // Transparent black outside the image, as the shaders read it.
  Rgba get(int x, int y) const {
    return inside(x, y) ? pixels[static_cast<std::size_t>(y * width + x)] : Rgba{0, 0, 0, 0};
  }
};

// A colour as a half-float target holds it.
inline Rgba roundedToHalf(Rgba value) {
  for (float& channel : value) channel = halfToFloat(floatToHalf(channel));
  return value;
}

// A picture of width x height whose pixels come from `pixel`, kept to what half floats hold
// (so that the CPU's maths read what the shader reads).
inline CpuImage pictureOf(int width, int height, const std::function<Rgba(int x, int y)>& pixel) {
  CpuImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.at(x, y) = roundedToHalf(pixel(x, y));
  return image;
}

// Premultiplied colours, the same for every run.
inline CpuImage noisePicture(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  return pictureOf(width, height, [&](int, int) {
    const float alpha = unit(random);
    return Rgba{unit(random) * alpha, unit(random) * alpha, unit(random) * alpha, alpha};
  });
}

// Premultiplied colours from a fixed seed, every fourth pixel (diagonally) transparent and
// a few reds above 1, as the pictures of a scene can hold.
inline CpuImage randomPicture(int width, int height, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  return pictureOf(width, height, [&](int x, int y) {
    const float alpha = (x + y) % 4 == 0 ? 0.0f : unit(random);
    const float boost = x % 5 == 3 ? 1.5f : 1.0f;
    return Rgba{unit(random) * alpha * boost, unit(random) * alpha, unit(random) * alpha, alpha};
  });
}

// ---------------------------------------------------------------------------------------------
// Upload and read-back.

// A picture as a format-10 image on the graphics processor.
inline Effect::OwnedImage upload(const CpuImage& picture) {
  auto image = Media::ImageBuffer::makeShared(10, static_cast<uint32_t>(picture.width),
                                              static_cast<uint32_t>(picture.height));
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      setHalfPixel(*image, static_cast<uint32_t>(x), static_cast<uint32_t>(y), picture.get(x, y));
  auto buffer = std::make_unique<Media::ResourceBuffer>();
  buffer->create(*image);
  return Effect::adoptBuffer(std::move(buffer));
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

// A format-10 image in main memory as a picture.
inline CpuImage pictureOf(const Media::ImageBuffer& image) {
  CpuImage picture(static_cast<int>(image.width), static_cast<int>(image.height));
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.at(x, y) = halfPixel(image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
  return picture;
}

inline CpuImage download(Media::ResourceBuffer& buffer) { return pictureOf(*buffer.readBack()); }

// ---------------------------------------------------------------------------------------------
// The draw.

// An input of a draw: a picture uploaded for it, or an image already on the graphics processor.
class ShaderInput {
 public:
  ShaderInput(const CpuImage* picture) : owned_(upload(*picture)), buffer_(owned_.get()) {}
  ShaderInput(Media::ResourceBuffer* buffer) : buffer_(buffer) {}
  Media::ResourceBuffer& buffer() const { return *buffer_; }

 private:
  Effect::OwnedImage owned_;
  Media::ResourceBuffer* buffer_;
};

// Draws `shader` into a new width x height target with the inputs at texture slots 0 and 1,
// `constants` (a constant buffer, or a structure whose bytes make one) at constant slot 0 and,
// when given, `sampler` at sampler slot 0; blending off. Returns the target read back.
template <class Constants>
CpuImage runPixelShader(Media::PixelShader& shader, int width, int height,
                        std::initializer_list<ShaderInput> inputs, const Constants& constants,
                        Media::SamplerState* sampler = nullptr) {
  const Media::ConstantBufferCommon* buffer = nullptr;
  Media::ConstantBufferCommon made;
  if constexpr (std::is_base_of_v<Media::ConstantBufferCommon, Constants>) {
    buffer = &constants;
  } else {
    Media::ConstantBufferCommon::create(made, &constants, sizeof constants);
    buffer = &made;
  }
  Media::ResourceBuffer target(width, height);
  if (sampler) Media::ShaderBindings::setSampler(0, sampler);
  const ShaderInput* input = inputs.begin();
  switch (inputs.size()) {
    case 0:
      shader.drawWithConstants(target, *buffer, nullptr);
      break;
    case 1:
      shader.drawInputWithConstants(target, input[0].buffer(), *buffer, nullptr);
      break;
    default:
      Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, buffer);
      shader.drawTwoInputs(target, input[0].buffer(), input[1].buffer(), nullptr);
      Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, nullptr);
      break;
  }
  if (sampler) Media::ShaderBindings::setSampler(0, nullptr);
  return download(target);
}

// The set of a filter class's shaders, made as its prototype makes it.
template <class Filter>
auto shadersOf() {
  Filter filter;
  filter.createResource();
  return filter.sharedResource();
}

// ---------------------------------------------------------------------------------------------
// What the sampler states do, for the expected colours.

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

// The size and texels of either kind of picture: one filled here or a format-10 image.
inline int widthOf(const CpuImage& image) { return image.width; }
inline int heightOf(const CpuImage& image) { return image.height; }
inline Rgba texelOf(const CpuImage& image, int x, int y) { return image.get(x, y); }
inline int widthOf(const Media::ImageBuffer& image) { return int(image.width); }
inline int heightOf(const Media::ImageBuffer& image) { return int(image.height); }
inline Rgba texelOf(const Media::ImageBuffer& image, int x, int y) {
  return halfPixel(image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

template <class Image>
Rgba addressedTexel(const Image& image, int x, int y, Address address) {
  const int w = widthOf(image), h = heightOf(image);
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
  return texelOf(image, x, y);
}

// The texel at (x, y), transparent black outside the image (a bounds-checked load).
template <class Image>
Rgba loadTexel(const Image& image, int x, int y) {
  return addressedTexel(image, x, y, Address::Border);
}

// What `sampler` reads at the texture coordinates (u, v).
template <class Image>
Rgba sample(const Image& image, float u, float v, const Sampler& sampler) {
  const float tx = u * float(widthOf(image)), ty = v * float(heightOf(image));
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

// ---------------------------------------------------------------------------------------------
// The comparison.

// The expected colour at (x, y), or none where the maths sits on a threshold that rounding
// may tip either way (such pixels are only checked to be finite).
using Expected = std::function<std::optional<Rgba>(int x, int y)>;

// Every pixel of `actual` finite and, where `expected` gives one, within `tolerance` of it as
// the half-float target holds it (relative above 1, as nearHalf).
inline ::testing::AssertionResult matchesEverywhere(const CpuImage& actual,
                                                    const Expected& expected,
                                                    float tolerance = 2e-3f) {
  for (int y = 0; y < actual.height; ++y)
    for (int x = 0; x < actual.width; ++x) {
      const Rgba value = actual.get(x, y);
      for (const float channel : value)
        if (!std::isfinite(channel))
          return ::testing::AssertionFailure() << "not finite at " << x << ", " << y;
      const std::optional<Rgba> wanted = expected(x, y);
      if (!wanted) continue;
      if (auto near = nearHalf(value, roundedToHalf(*wanted), tolerance); !near)
        return near << " at " << x << ", " << y;
    }
  return ::testing::AssertionSuccess();
}

// Same size and every pixel near, as matchesEverywhere.
inline ::testing::AssertionResult imagesNear(const CpuImage& actual, const CpuImage& expected,
                                             float tolerance = 4e-3f) {
  if (actual.width != expected.width || actual.height != expected.height)
    return ::testing::AssertionFailure()
           << "size " << actual.width << " x " << actual.height << ", expected " << expected.width
           << " x " << expected.height;
  return matchesEverywhere(
      actual, [&](int x, int y) -> std::optional<Rgba> { return expected.get(x, y); }, tolerance);
}

}  // namespace TestSupport
