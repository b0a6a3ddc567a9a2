#pragma once
// Running one filter shader over small pictures and reading the result back, for the tests
// that check the filters' shaders against the same maths done here on the CPU: pictures made
// from a function of the pixel, and the draw with the shader's constants and inputs.
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "filter_image_support.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"
#include "gpu/shader/pixel_shader.h"
#include "gpu/shader/shader_binding.h"

namespace TestSupport {

// A picture of width x height whose pixels come from `pixel`, kept to what half floats hold
// (so that the CPU's maths read what the shader reads).
inline CpuImage pictureOf(int width, int height, const std::function<Rgba(int x, int y)>& pixel) {
  CpuImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgba value = pixel(x, y);
      for (float& channel : value) channel = halfToFloat(floatToHalf(channel));
      image.at(x, y) = value;
    }
  return image;
}

// The set of a filter class's shaders, made as its prototype makes it.
template <class Filter>
auto shadersOf() {
  Filter filter;
  filter.createResource();
  return filter.sharedResource();
}

// Draws `shader` over a new target of width x height with `constants` as its "constant0" and
// the inputs on texture slots 0 and 1, and reads the target back.
template <class Constants>
CpuImage runPixelShader(Media::PixelShader& shader, const Constants& constants,
                        std::initializer_list<const CpuImage*> inputs, int width, int height) {
  Media::ResourceBuffer target(width, height);
  std::vector<Effect::OwnedImage> sources;
  for (const CpuImage* input : inputs) sources.push_back(upload(*input));
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
  return download(target);
}

// Every pixel of `actual` near what `expected` gives for it, none of them NaN or infinite.
inline ::testing::AssertionResult matchesEverywhere(
    const CpuImage& actual, const std::function<Rgba(int x, int y)>& expected,
    float tolerance = 2e-3f) {
  return imagesNear(actual, pictureOf(actual.width, actual.height, expected), tolerance);
}

}  // namespace TestSupport
