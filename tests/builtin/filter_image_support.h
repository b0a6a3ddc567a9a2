#pragma once
// Pictures for the filter shader tests: small images in main memory that a test fills,
// uploads, reads back and compares with what the same maths gives on the CPU.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "effect/owned_buffer.h"
#include "gpu/gpu_test_support.h"
#include "gpu/resource_buffer.h"

namespace TestSupport {

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

// Premultiplied colours, kept to what half floats hold, the same for every run.
inline CpuImage noisePicture(int width, int height, unsigned seed) {
  CpuImage image(width, height);
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  for (Rgba& pixel : image.pixels) {
    const float alpha = unit(random);
    pixel = {unit(random) * alpha, unit(random) * alpha, unit(random) * alpha, alpha};
    for (float& channel : pixel) channel = halfToFloat(floatToHalf(channel));
  }
  return image;
}

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

inline CpuImage download(Media::ResourceBuffer& buffer) {
  const auto image = buffer.readBack();
  CpuImage picture(static_cast<int>(buffer.width()), static_cast<int>(buffer.height()));
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      picture.at(x, y) = halfPixel(*image, static_cast<uint32_t>(x), static_cast<uint32_t>(y));
  return picture;
}

// Same size and every pixel near, none of them NaN (a NaN is never near anything).
inline ::testing::AssertionResult imagesNear(const CpuImage& actual, const CpuImage& expected,
                                             float tolerance = 4e-3f) {
  if (actual.width != expected.width || actual.height != expected.height)
    return ::testing::AssertionFailure() << "size " << actual.width << " x " << actual.height
                                         << ", expected " << expected.width << " x "
                                         << expected.height;
  for (int y = 0; y < actual.height; ++y)
    for (int x = 0; x < actual.width; ++x) {
      auto near = nearHalf(actual.get(x, y), expected.get(x, y), tolerance);
      if (!near) return near << " at " << x << ", " << y;
    }
  return ::testing::AssertionSuccess();
}

}  // namespace TestSupport
