#pragma once
// The two noise lookup tables that noise and raster filters sample: a permutation of the
// values i / 65535 and a smooth noise spanning -0.5 ... 0.5, each a 256 x 256 image of
// 32-bit floats. They come from a fixed generator, so they are the same on every machine
// and in every run; a render made anywhere looks the same.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace Media {
class ResourceBuffer;
}

namespace Resource {

inline constexpr uint32_t kLookupTableSide = 256;
inline constexpr uint64_t kLookupTableSeed = 0xE6664C4F32C445C6ull;

// One step of the generator (all arithmetic modulo 2^64).
uint64_t lookupTableStep(uint64_t state);
// The table values, row by row.
std::vector<float> permutationTableValues();
std::vector<float> smoothNoiseTableValues();

// A GPU image made by its generator when it is first asked for, then kept. Workers may ask
// at the same time: the first makes it, the others wait for it.
class LazySharedResource {
 public:
  using Generator = std::function<std::shared_ptr<Media::ResourceBuffer>()>;
  explicit LazySharedResource(Generator generator) : generator_(std::move(generator)) {}
  std::shared_ptr<Media::ResourceBuffer> get();

 private:
  std::mutex mutex_;
  std::shared_ptr<Media::ResourceBuffer> resource_;
  Generator generator_;
};

// The tables uploaded as R32_FLOAT images.
std::shared_ptr<Media::ResourceBuffer> makePermutationTable();
std::shared_ptr<Media::ResourceBuffer> makeSmoothNoiseTable();

}  // namespace Resource
