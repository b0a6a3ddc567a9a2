// The box passes of the blur, pixel shader against compute shader, at radii around the
// point where the blur switches from one to the other (radii summing to 200), and the whole
// blur of a 640 x 360 picture on either side of it.
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <memory>

#include "builtin/filter/bokashi_filter.h"
#include "gpu/direct3d_service.h"
#include "gpu/resource_buffer.h"
#include "system/service_holder.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 360;

void services() { static System::ServiceHolder<Media::Direct3DService> direct3D; }

Effect::OwnedImage picture() {
  auto image = std::make_unique<Media::ResourceBuffer>(kWidth, kHeight);
  const float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
  image->clearRenderTarget(grey);
  return Effect::adoptBuffer(std::move(image));
}

// One horizontal box pass keeping the size; argument 0: the radius, 1: compute or not.
void BM_BlurBoxPass(benchmark::State& state) {
  services();
  Effect::BokashiFilter filter;
  const auto radius = static_cast<int>(state.range(0));
  const bool compute = state.range(1) != 0;
  Effect::OwnedImage image = picture();
  for (auto _ : state) {
    image = compute ? filter.dispatchPass(std::move(image), Effect::BokashiFilter::kClampedHorizontal,
                                          kWidth, kHeight, radius, 1, kHeight)
                    : filter.drawPass(std::move(image), Effect::BokashiFilter::kClampedHorizontal,
                                      kWidth, kHeight, radius);
    glFinish();
  }
}
BENCHMARK(BM_BlurBoxPass)
    ->ArgsProduct({{25, 50, 100}, {0, 1}})
    ->ArgNames({"radius", "compute"})
    ->Unit(benchmark::kMillisecond);

// The whole blur keeping the size; the radius 99 stays on the pixel shaders, 100 takes the
// compute ones.
void BM_BlurKeepingTheSize(benchmark::State& state) {
  services();
  Effect::BokashiFilter filter;
  const auto radius = static_cast<int>(state.range(0));
  Effect::OwnedImage image = picture();
  for (auto _ : state) {
    image = filter.blur(std::move(image), radius, 0.0f, Effect::BokashiFilter::kKeepEdge);
    glFinish();
  }
}
BENCHMARK(BM_BlurKeepingTheSize)->Arg(10)->Arg(99)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
