#pragma once
// Running one effect shader over a small picture and reading the result back, for the tests
// that check the effects' shaders against the same maths done here on the CPU: pictures in
// the working format (10) made from a function of the pixel, the draw with the shader's
// constants and inputs, and the comparison of every pixel, which also fails on NaN or
// infinity anywhere.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "builtin/filter/filter_shaders.h"
#include "gpu/gpu_test_support.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/shader_binding.h"

namespace TestSupport {

using PixelFunction = std::function<Rgba(int x, int y)>;

// The shaders of an effect class, made as its prototype makes them.
template <class Filter>
std::shared_ptr<Effect::FilterShaders> shadersOf() {
  Filter filter;
  filter.createResource();
  return filter.commonResource();
}

// A pixel of a picture in format 10.
inline Rgba at(const Media::ImageBuffer& image, int x, int y) {
  return halfPixel(image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

// A picture of width x height in format 10 whose pixels come from `pixel`.
inline std::shared_ptr<Media::ImageBuffer> halfImage(uint32_t width, uint32_t height,
                                                     const PixelFunction& pixel) {
  auto image = Media::ImageBuffer::makeShared(10, width, height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      setHalfPixel(*image, x, y, pixel(static_cast<int>(x), static_cast<int>(y)));
  return image;
}

// Draws `shader` over a new target of width x height (format 10) with `constants` as its
// "constant0" and the inputs on texture slots 0 and 1, and reads the target back.
template <class Constants>
std::shared_ptr<Media::ImageBuffer> runPixelShader(
    Media::PixelShader& shader, const Constants& constants,
    std::initializer_list<const Media::ImageBuffer*> inputs, uint32_t width, uint32_t height) {
  Media::ResourceBuffer target(static_cast<int32_t>(width), static_cast<int32_t>(height));
  std::vector<std::unique_ptr<Media::ResourceBuffer>> sources;
  for (const Media::ImageBuffer* input : inputs) {
    sources.push_back(std::make_unique<Media::ResourceBuffer>());
    sources.back()->create(*input);
  }
  Media::ConstantBufferCommon buffer;
  Media::ConstantBufferCommon::create(buffer, &constants, sizeof constants);
  switch (sources.size()) {
    case 0: shader.drawWithConstants(target, buffer, nullptr); break;
    case 1: shader.drawInputWithConstants(target, *sources[0], buffer, nullptr); break;
    default:
      Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &buffer);
      shader.drawTwoInputs(target, *sources[0], *sources[1], nullptr);
      break;
  }
  return target.readBack();
}

// Every pixel of `image` against `expected` (half precision: about 11 significant bits,
// widened by `tolerance`), stopping at the first that differs or is not a finite number.
inline ::testing::AssertionResult matchesEverywhere(const Media::ImageBuffer& image,
                                                    const PixelFunction& expected,
                                                    float tolerance = 2e-3f) {
  for (uint32_t y = 0; y < image.height; ++y)
    for (uint32_t x = 0; x < image.width; ++x) {
      const Rgba actual = halfPixel(image, x, y);
      for (float channel : actual)
        if (!std::isfinite(channel))
          return ::testing::AssertionFailure() << "not finite at " << x << ", " << y;
      if (auto near = nearHalf(actual, expected(static_cast<int>(x), static_cast<int>(y)),
                               tolerance);
          !near)
        return near << " at " << x << ", " << y;
    }
  return ::testing::AssertionSuccess();
}

}  // namespace TestSupport
