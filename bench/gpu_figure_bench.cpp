// Figures and wipes drawn at full HD: each built-in figure filled and as an outline, and a
// shape wipe half way.
#include <benchmark/benchmark.h>

#include "effect/effect_item_select.h"
#include "gpu/direct3d_service.h"
#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource/figure_list.h"
#include "gpu/resource/transition_list.h"
#include "gpu/resource_buffer.h"
#include "system/service_holder.h"

namespace {

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;

struct FigureWorld {
  FigureWorld() { Resource::buildBuiltinPaths(paths); }
  System::ServiceHolder<Media::Direct3DService> direct3D;
  System::ServiceHolder<Media::Direct2DService> direct2D;
  Resource::BuiltinPaths paths;
};

FigureWorld& world() {
  static FigureWorld instance;
  return instance;
}

// Argument 0: the figure's index (1 circle ... 7 heart); argument 1: the line width (65536
// is filled).
void BM_GpuFigure(benchmark::State& state) {
  FigureWorld& figures = world();
  const Resource::FigureList list(figures.paths, "", nullptr, {});
  for (auto _ : state) {
    auto image = list.createImage(static_cast<int32_t>(state.range(0)), kWidth, kHeight,
                                  {1.0f, 0.5f, 0.25f, 1.0f}, static_cast<float>(state.range(1)),
                                  false, 0);
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(BM_GpuFigure)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7}, {10, 65536}})
    ->Unit(benchmark::kMillisecond);

// Argument: the wipe's index (0 circle, 1 diamond, 5 star, 6 heart).
void BM_GpuShapeWipe(benchmark::State& state) {
  FigureWorld& figures = world();
  const Resource::TransitionList list(figures.paths, "", nullptr, {});
  for (auto _ : state) {
    auto image = list.createImage(static_cast<int32_t>(state.range(0)), kWidth, kHeight, 0.5f, 0,
                                  false);
    benchmark::DoNotOptimize(image);
  }
}
BENCHMARK(BM_GpuShapeWipe)->Arg(0)->Arg(1)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
