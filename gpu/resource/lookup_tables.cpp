#include "gpu/resource/lookup_tables.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "gpu/image/image_buffer.h"
#include "gpu/pixel_format.h"
#include "gpu/resource_buffer.h"

namespace Resource {
namespace {

constexpr std::size_t kCount = std::size_t{kLookupTableSide} * kLookupTableSide;

std::shared_ptr<Media::ResourceBuffer> upload(const std::vector<float>& values) {
  // Rows of 256 floats: a pitch of 1024 bytes.
  Media::ImageBuffer image(Media::DxgiFormat::R32_FLOAT, kLookupTableSide, kLookupTableSide,
                           kLookupTableSide * sizeof(float));
  for (uint32_t y = 0; y < kLookupTableSide; ++y)
    std::memcpy(image.row(y), values.data() + std::size_t{y} * kLookupTableSide,
                kLookupTableSide * sizeof(float));
  auto buffer = std::make_shared<Media::ResourceBuffer>();
  buffer->create(image);
  return buffer;
}

}  // namespace

uint64_t lookupTableStep(uint64_t s) {
  uint64_t t = 97555u * s - 135829u * (s / 135829u);
  t = t ^ (t << 17) ^ 0x137BD137BD137BD1ull;
  t = t ^ (t >> 19) ^ 0x37BD137BD137BD13ull;
  t = t ^ (t << 41) ^ 0x7BD137BD137BD137ull;
  t = t ^ (t >> 47) ^ 0xBD137BD137BD137Bull;
  return t;
}

std::vector<float> permutationTableValues() {
  std::vector<float> values(kCount);
  for (std::size_t i = 0; i < kCount; ++i) values[i] = static_cast<float>(i) / 65535.0f;
  uint64_t s = kLookupTableSeed;
  for (std::size_t i = 0; i < kCount; ++i)
    for (int round = 0; round < 4; ++round) {
      s = lookupTableStep(s);
      std::swap(values[i], values[s % 65536u]);
    }
  return values;
}

std::vector<float> smoothNoiseTableValues() {
  std::vector<float> random(kCount);
  uint64_t s = kLookupTableSeed;
  for (std::size_t i = 0; i < kCount; ++i) {
    s = lookupTableStep(s);
    random[i] = static_cast<float>(s % 4294967297ull) * (1.0f / 4294967296.0f);
  }
  // A 3 x 3 tent filter over the grid, wrapping at the edges.
  constexpr int kSide = static_cast<int>(kLookupTableSide);
  auto at = [&](int x, int y) {
    return random[static_cast<std::size_t>(((y + kSide) % kSide) * kSide + (x + kSide) % kSide)];
  };
  std::vector<float> noise(kCount);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x)
      noise[static_cast<std::size_t>(y * kSide + x)] =
          4 * at(x, y) + 2 * (at(x - 1, y) + at(x + 1, y) + at(x, y - 1) + at(x, y + 1)) +
          (at(x - 1, y - 1) + at(x + 1, y - 1) + at(x - 1, y + 1) + at(x + 1, y + 1));
  const auto [low, high] = std::minmax_element(noise.begin(), noise.end());
  const float minimum = *low, range = *high - *low;
  for (float& value : noise) value = (value - minimum) / range - 0.5f;
  return noise;
}

std::shared_ptr<Media::ResourceBuffer> LazySharedResource::get() {
  std::lock_guard lock(mutex_);
  if (!resource_) resource_ = generator_();
  return resource_;
}

std::shared_ptr<Media::ResourceBuffer> makePermutationTable() {
  return upload(permutationTableValues());
}

std::shared_ptr<Media::ResourceBuffer> makeSmoothNoiseTable() {
  return upload(smoothNoiseTableValues());
}

}  // namespace Resource
