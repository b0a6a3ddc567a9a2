// The cost of a number item's value: once per item per frame on the render workers. One
// item with 100 points evaluated frame after frame under each movement kind, the same item
// with ever more points (for the straight line the cost must grow no faster than the search
// for the section; the even-speed kinds walk their whole path), and 10 000 items of one
// object at one frame.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "builtin/movement/interpolation_move.h"
#include "builtin/movement/interpolation_speed.h"
#include "builtin/movement/linear_speed.h"
#include "builtin/movement/random_move.h"
#include "builtin/movement/teleportation_move.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/movement_registry.h"
#include "effect/section_position.h"

namespace {

using namespace Effect;

// An object of the edit model as far as the effect framework reads it.
struct BenchObject {
  int start = 0;
  int end = 0;
  std::vector<int> midpoints;
};

ObjectFrames framesOf(const std::shared_ptr<Edit::Object>& object) {
  const auto& bench = reinterpret_cast<const BenchObject&>(*object);
  return {bench.start, bench.end, bench.midpoints};
}

// An object of `points` points, 10 frames apart.
std::shared_ptr<Edit::Object> makeObject(int points) {
  auto bench = std::make_shared<BenchObject>();
  bench->end = (points - 1) * 10;
  for (int i = 1; i < points - 1; ++i) bench->midpoints.push_back(i * 10);
  return std::shared_ptr<Edit::Object>(bench, reinterpret_cast<Edit::Object*>(bench.get()));
}

enum Kind {
  NoMovement,
  PlaybackRange,
  Line,
  LineEased,
  LineWhole,
  LineEvenSpeed,
  Curve,
  CurveEvenSpeed,
  Random,
  Jump,
};
const char* const kKindNames[] = {"no movement",
                                  "playback range",
                                  "straight line",
                                  "straight line, accelerate and decelerate",
                                  "straight line, midpoints ignored",
                                  "straight line, even speed",
                                  "interpolation, accelerate and decelerate",
                                  "interpolation, even speed",
                                  "random, period 15",
                                  "jump at each point"};

// The built-in kinds beyond the framework's own, added once to the standalone table.
const MovementBase* builtinKind(const char* name) {
  static const bool registered = [] {
    auto& registry = MovementRegistry::instance();
    registry.registerMovement(std::make_shared<LinearSpeed>());
    registry.registerMovement(std::make_shared<InterpolationMove>());
    registry.registerMovement(std::make_shared<InterpolationSpeed>());
    registry.registerMovement(std::make_shared<RandomMove>());
    registry.registerMovement(std::make_shared<TeleportationMove>());
    return true;
  }();
  (void)registered;
  return MovementRegistry::instance().findMovement(name);
}

void prepare(EffectItemNumber& track, Kind kind, int points) {
  const int eased = EffectItemNumber::FlagAccelerate | EffectItemNumber::FlagDecelerate;
  switch (kind) {
    case NoMovement:
      track.movement = defaultMovement();
      break;
    case PlaybackRange:
      track.movement = playbackRangeMovement();
      break;
    case LineEvenSpeed:
      track.movement = builtinKind(LinearSpeed::kName);
      break;
    case Curve:
      track.movement = builtinKind(InterpolationMove::kName);
      track.flags = eased;
      break;
    case CurveEvenSpeed:
      track.movement = builtinKind(InterpolationSpeed::kName);
      break;
    case Random:
      track.movement = builtinKind(RandomMove::kName);
      track.flags = EffectItemNumber::FlagIgnoreMidpoints;
      track.params = track.movement->defaultParams;
      break;
    case Jump:
      track.movement = builtinKind(TeleportationMove::kName);
      break;
    default:
      track.movement = MovementRegistry::instance().findMovement("直線移動");
      break;
  }
  if (kind == LineEased) track.flags = eased;
  if (kind == LineWhole) track.flags = EffectItemNumber::FlagIgnoreMidpoints;
  track.resizeValues(points);
  for (std::size_t i = 0; i < track.values.size(); ++i)
    track.values[i] = static_cast<int>((i * 7919) % 20000) - 10000;
}

// One item, one frame after the other across the object: the section search and the
// movement's value.
void valueAtEveryFrame(benchmark::State& state, Kind kind, int points) {
  const auto object = makeObject(points);
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 0.01);
  prepare(track, kind, points);
  EffectContext context;
  context.setObject(object, framesOf(object));
  const int frames = (points - 1) * 10 + 1;
  int frame = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(track.getValueAtFrame(context, frame + 0.5));
    if (++frame == frames) frame = 0;
  }
  state.SetLabel(kKindNames[kind]);
  state.SetItemsProcessed(state.iterations());
}

void BM_NumberItemPerFrame(benchmark::State& state) {
  valueAtEveryFrame(state, static_cast<Kind>(state.range(0)), 100);
}
BENCHMARK(BM_NumberItemPerFrame)->DenseRange(NoMovement, Jump);

void BM_NumberItemPointCount(benchmark::State& state) {
  valueAtEveryFrame(state, Line, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_NumberItemPointCount)->RangeMultiplier(10)->Range(10, 1000000);

// The time-controlled kinds measure their whole path on every value: the cost grows with
// the points.
void BM_EvenSpeedPointCount(benchmark::State& state) {
  valueAtEveryFrame(state, static_cast<Kind>(state.range(0)), static_cast<int>(state.range(1)));
}
BENCHMARK(BM_EvenSpeedPointCount)
    ->ArgsProduct({{LineEvenSpeed, CurveEvenSpeed}, {2, 10, 100, 1000, 10000}});

// 10 000 items of one object at one frame: the render engine places the frame in the
// object's sections once, and every item reads its value from there.
void BM_TenThousandItemsOneFrame(benchmark::State& state) {
  constexpr int kItems = 10000;
  constexpr int kPoints = 100;
  const auto kind = static_cast<Kind>(state.range(0));
  const auto object = makeObject(kPoints);
  EffectItemList items;
  std::vector<std::unique_ptr<EffectItemNumber>> tracks;
  tracks.reserve(kItems);
  for (int i = 0; i < kItems; ++i) {
    tracks.push_back(std::make_unique<EffectItemNumber>(items, "X", 0, -100, 100, 0.01));
    prepare(*tracks.back(), kind, kPoints);
  }
  EffectContext context;
  context.frame = 495;
  context.time = 495.5;
  context.setObject(object, framesOf(object));
  for (auto _ : state) {
    double sum = 0.0;
    for (const auto& track : tracks) sum += track->getValue(context);
    benchmark::DoNotOptimize(sum);
  }
  state.SetLabel(kKindNames[kind]);
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_TenThousandItemsOneFrame)
    ->DenseRange(NoMovement, Jump)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
