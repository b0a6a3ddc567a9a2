// Decoding a 12-megapixel photo-sized picture, as the image cache does for every still in a
// project: a JPEG through TurboJPEG and a PNG through libpng, both made at the start by the
// image service's own writers.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "gpu/image/image_buffer.h"
#include "media/image/image_service.h"
#include "system/service_holder.h"

namespace {

constexpr uint32_t kWidth = 4000;
constexpr uint32_t kHeight = 3000;

Media::ImageService& service() {
  static System::ServiceHolder<Media::ImageService> holder;
  return Media::ImageService::Get();
}

// Smooth gradients with a little noise: compresses about as a photo does, neither as well as
// a flat colour nor as badly as pure noise.
std::vector<uint8_t> photoLikePixels() {
  std::vector<uint8_t> pixels(std::size_t{kWidth} * kHeight * 4);
  std::mt19937 random(1);
  for (uint32_t y = 0; y < kHeight; ++y)
    for (uint32_t x = 0; x < kWidth; ++x) {
      uint8_t* p = &pixels[(std::size_t{y} * kWidth + x) * 4];
      const uint32_t grain = random() % 8;
      p[0] = static_cast<uint8_t>((x * 255 / kWidth + grain) & 0xff);
      p[1] = static_cast<uint8_t>((y * 255 / kHeight + grain) & 0xff);
      p[2] = static_cast<uint8_t>(((x + y) / 32 + grain) & 0xff);
      p[3] = 255;
    }
  return pixels;
}

// The two files, written once per run into the temporary folder.
struct Files {
  std::string jpeg;
  std::string png;
  Files() {
    const std::string base = (std::filesystem::temp_directory_path() /
                              ("velumo-image-bench-" + std::to_string(::getpid())))
                                 .string();
    jpeg = base + ".jpg";
    png = base + ".png";
    const std::vector<uint8_t> pixels = photoLikePixels();
    Media::FormatGuid request = Media::ImageFormat::kContainerJpeg;
    service().saveToFile(jpeg, pixels.data(), kWidth, kHeight, kWidth * 4,
                         Media::ImageFormat::kPixel32bppBgr, request);
    request = Media::ImageFormat::kContainerPng;
    service().saveToFile(png, pixels.data(), kWidth, kHeight, kWidth * 4,
                         Media::ImageFormat::kPixel32bppBgr, request);
  }
  ~Files() {
    std::filesystem::remove(jpeg);
    std::filesystem::remove(png);
  }
};

const Files& files() {
  static Files made;
  return made;
}

void decode(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    auto image = service().loadFromFile(path);
    benchmark::DoNotOptimize(image->data());
  }
  state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void BM_ImageDecodeJpeg4000x3000(benchmark::State& state) { decode(state, files().jpeg); }
BENCHMARK(BM_ImageDecodeJpeg4000x3000)->Unit(benchmark::kMillisecond);

void BM_ImageDecodePng4000x3000(benchmark::State& state) { decode(state, files().png); }
BENCHMARK(BM_ImageDecodePng4000x3000)->Unit(benchmark::kMillisecond);

}  // namespace
