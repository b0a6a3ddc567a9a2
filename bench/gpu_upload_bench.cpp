#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <cstring>
#include <optional>

#include "gpu/copy_pass.h"
#include "gpu/direct3d_service.h"
#include "gpu/image/image_buffer.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "system/service_holder.h"

namespace {

constexpr uint32_t kWidth = 1920;
constexpr uint32_t kHeight = 1080;

// A full-HD frame in the working format, every half float 0.5.
Media::ImageBuffer frameImage() {
  Media::ImageBuffer image(10, kWidth, kHeight);
  auto* halves = reinterpret_cast<uint16_t*>(image.data());
  for (uint64_t i = 0; i < image.usedSize() / 2; ++i) halves[i] = 0x3800;
  return image;
}

// One device for every benchmark of the run.
Media::Direct3DService& device() {
  static System::ServiceHolder<Media::Direct3DService> holder;
  return Media::Direct3DService::Get();
}

void setBytes(benchmark::State& state) {
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 8);
}

// A decoded frame becomes a new GPU image (texture made and filled), and is ready to draw.
void BM_GpuUploadNewImage(benchmark::State& state) {
  device();
  const Media::ImageBuffer image = frameImage();
  for (auto _ : state) {
    Media::ResourceBuffer buffer;
    buffer.create(image);
    glFinish();
  }
  setBytes(state);
}

// The same frame written into an image that exists already.
void BM_GpuUploadIntoImage(benchmark::State& state) {
  device();
  const Media::ImageBuffer image = frameImage();
  Media::ResourceBuffer buffer(kWidth, kHeight);
  for (auto _ : state) {
    buffer.writePixels(0, 0, kWidth, kHeight, 10, image.data(), image.pitch, image.usedSize());
    glFinish();
  }
  setBytes(state);
}

// One full-image pixel pass: every pixel of the image drawn into a frame.
void BM_GpuFullImagePass(benchmark::State& state) {
  device();
  const Media::ImageBuffer image = frameImage();
  Media::ResourceBuffer source;
  source.create(image);
  Media::RenderBuffer frame(kWidth, kHeight);
  const auto input = source.createShaderResourceView();
  const auto target = frame.createRenderTargetView();
  for (auto _ : state) {
    Media::drawCopy(Media::CopyKind::Opaque, *input, *target);
    glFinish();
  }
  setBytes(state);
}

void BM_GpuReadBack(benchmark::State& state) {
  device();
  Media::RenderBuffer frame(kWidth, kHeight);
  Media::ResourceBuffer source;
  source.create(frameImage());
  Media::drawCopy(Media::CopyKind::Plain, *source.createShaderResourceView(),
                  *frame.createRenderTargetView());
  for (auto _ : state) benchmark::DoNotOptimize(frame.readBack());
  setBytes(state);
}

// The road of a frame to the preview: converted to 8 bits on the GPU and read back.
void BM_GpuReadBackAs8Bits(benchmark::State& state) {
  device();
  Media::RenderBuffer frame(kWidth, kHeight);
  Media::ResourceBuffer source;
  source.create(frameImage());
  Media::drawCopy(Media::CopyKind::Plain, *source.createShaderResourceView(),
                  *frame.createRenderTargetView());
  for (auto _ : state) benchmark::DoNotOptimize(frame.createImageBuffer(28, false));
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}

// Upload, one pass, read back: a frame through the GPU and out again.
void BM_GpuRoundTrip(benchmark::State& state) {
  device();
  const Media::ImageBuffer image = frameImage();
  Media::RenderBuffer frame(kWidth, kHeight);
  const auto target = frame.createRenderTargetView();
  for (auto _ : state) {
    Media::ResourceBuffer source;
    source.create(image);
    Media::drawCopy(Media::CopyKind::Opaque, *source.createShaderResourceView(), *target);
    benchmark::DoNotOptimize(frame.readBack());
  }
  setBytes(state);
}

BENCHMARK(BM_GpuUploadNewImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuUploadIntoImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuFullImagePass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuReadBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuReadBackAs8Bits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GpuRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace
