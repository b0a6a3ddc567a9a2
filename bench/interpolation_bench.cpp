#include <benchmark/benchmark.h>

#include "system/interpolation.h"

namespace {

// One easing curve solved across the whole progress range, as the time control does for
// every frame of a track.
void solveSweep(benchmark::State& state, double x1, double x2) {
  constexpr int kSamples = 1000;
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i <= kSamples; ++i)
      sum += System::solveBezierParameter(0.0, x1, x2, 1.0, double(i) / kSamples, 1e-6);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * (kSamples + 1));
}

void BM_SolveBezierLinear(benchmark::State& state) { solveSweep(state, 1.0 / 3.0, 2.0 / 3.0); }
void BM_SolveBezierEaseInOut(benchmark::State& state) { solveSweep(state, 0.42, 0.58); }
void BM_SolveBezierNoHandles(benchmark::State& state) { solveSweep(state, 0.0, 1.0); }
void BM_SolveBezierSteep(benchmark::State& state) { solveSweep(state, 0.95, 0.05); }

BENCHMARK(BM_SolveBezierLinear);
BENCHMARK(BM_SolveBezierEaseInOut);
BENCHMARK(BM_SolveBezierNoHandles);
BENCHMARK(BM_SolveBezierSteep);

}  // namespace
