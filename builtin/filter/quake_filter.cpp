#include "builtin/filter/quake_filter.h"

#include <cmath>
#include <numbers>

#include "builtin/movement/random_move.h"

namespace Effect {

QuakeFilter::QuakeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 10.0, -500.0, 500.0, 1.0),
      y(items, "Y", 10.0, -500.0, 500.0, 1.0),
      z(items, "Z", 0.0, -500.0, 500.0, 1.0),
      period(items, "周期", 1.0, 1.0, 100.0, 1.0),
      randomStrength(items, "ランダムに強さを変える", true),
      complex(items, "複雑に振動", false) {
  label = "アニメーション効果";
}

std::shared_ptr<EffectBase> QuakeFilter::create() const { return std::make_shared<QuakeFilter>(); }

}  // namespace Effect

namespace Effect {
namespace {

// One swing: half a sine (a full cosine step for a period of 1) per period, the sign turning
// with every period. The phase is counted in whole frames so that the period boundaries
// fall exactly where they are.
QuakeFilter::Shake swing(int64_t frames, int64_t period, const QuakeFilter::Shake& amplitude,
                         bool randomStrength, uint32_t seed) {
  const int64_t cell = frames >= 0 ? frames / period : -((-frames + period - 1) / period);
  const double fraction = static_cast<double>(frames - cell * period) / static_cast<double>(period);
  double theta = std::numbers::pi * fraction;
  if (cell % 2 != 0) theta += std::numbers::pi;
  const double wave = period == 1 ? std::cos(theta) : std::sin(theta);
  float strength[3] = {1.0f, 1.0f, 1.0f};
  // The seed enters the random movement's hash as a signed 32-bit number.
  if (randomStrength) RandomMove::randomFractions(cell, static_cast<int32_t>(seed), strength);
  return {amplitude.x * strength[0] * wave, amplitude.y * strength[1] * wave,
          amplitude.z * strength[2] * wave};
}

}  // namespace

uint32_t QuakeFilter::shakeSeed(int lastFrame, int firstFrame, int partIndex, int layer) {
  // Unsigned so that the shifts wrap instead of overflowing.
  uint32_t seed = static_cast<uint32_t>(lastFrame) << 4 ^ static_cast<uint32_t>(partIndex);
  seed = seed << 4 ^ static_cast<uint32_t>(firstFrame);
  return seed << 8 ^ static_cast<uint32_t>(layer);
}

QuakeFilter::Shake QuakeFilter::shakeAt(int64_t frames, int period, const Shake& amplitude,
                                        bool randomStrength, bool complex, uint32_t seed) {
  if (period < 1) period = 1;
  if (!complex) return swing(frames, period, amplitude, randomStrength, seed);
  Shake sum;
  double weight = 1.0;
  uint32_t k = 0;
  for (int r = period; r >= 1; r /= 2, ++k, weight *= 0.5) {
    const Shake term = swing(frames, r, amplitude, randomStrength, seed ^ (3571u * k));
    sum.x += term.x * weight;
    sum.y += term.y * weight;
    sum.z += term.z * weight;
  }
  return sum;
}

OwnedImage QuakeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  const Shake amplitude{x.getValue(context), y.getValue(context), z.getValue(context)};
  const int periodFrames = static_cast<int>(std::lround(period.getValue(context)));
  const uint32_t seed = shakeSeed(context.objectFrames.end, context.objectFrames.start,
                                  context.partIndex, context.layerIndex);
  const int64_t elapsed = int64_t{context.frame} - context.objectFrames.start;
  const Shake shake = shakeAt(elapsed, periodFrames, amplitude, randomStrength.value,
                              complex.value, seed);
  context.outputView.x += static_cast<float>(shake.x);
  context.outputView.y += static_cast<float>(shake.y);
  context.outputView.z += static_cast<float>(shake.z);
  return image;
}

}  // namespace Effect
