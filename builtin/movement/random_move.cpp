#include "builtin/movement/random_move.h"

#include <cmath>
#include <vector>

#include "builtin/movement/linked_points.h"
#include "builtin/movement/movement_curves.h"
#include "effect/effect_item_number.h"
#include "system/interpolation.h"

namespace Effect {

namespace {

constexpr uint64_t kMix1 = 0x137bd137bd137bd1;
constexpr uint64_t kMix2 = 0x37bd137bd137bd13;
constexpr uint64_t kMix3 = 0x7bd137bd137bd137;
constexpr uint64_t kMix4 = 0xbd137bd137bd137b;

// The cell and the seed mixed into one word. Unsigned arithmetic that wraps; the shifts
// are logical.
uint64_t seededWord(int64_t cell, int64_t seed) {
  const auto c = static_cast<uint64_t>(cell);
  const auto s = static_cast<uint64_t>(seed);
  const uint64_t a = c * 97553u + s * 135829u;
  uint64_t x = (a ^ (a << 17) ^ kMix1) + s;
  x = (x ^ (x >> 19) ^ kMix2) + c;
  x = (x ^ (x << 41) ^ kMix3) + s;
  return (x ^ (x >> 47) ^ kMix4) + c;
}

// The next word of the sequence that starts at a seeded word.
uint64_t scrambled(uint64_t x) {
  uint64_t y = x * 97555u - (x / 135829u) * 135829u;
  y = y ^ (y << 17) ^ kMix1;
  y = y ^ (y >> 19) ^ kMix2;
  y = y ^ (y << 41) ^ kMix3;
  return y ^ (y >> 47) ^ kMix4;
}

// The frames per cell: the first parameter truncated, 1 for anything below 2 (and for a
// parameter that is not a number).
double periodOf(const EffectItemNumber& track, const std::vector<double>& defaults) {
  const std::vector<double>& params =
      track.params.size() == defaults.size() ? track.params : defaults;
  const double period = params.empty() ? 1.0 : std::trunc(params[0]);
  return period >= 2.0 ? period : 1.0;
}

}  // namespace

RandomMove::RandomMove() : MovementBase(kName, -1) {
  ignoreMidpoints = AlwaysOn;
  defaultParams = {kDefaultPeriod};
}

float RandomMove::randomFraction(int64_t cell, int64_t seed) {
  float fraction = 0.0f;
  randomFractions(cell, seed, {&fraction, 1});
  return fraction;
}

uint64_t RandomMove::randomWord(int64_t cell, int64_t seed) {
  return scrambled(seededWord(cell, seed));
}

void RandomMove::randomFractions(int64_t cell, int64_t seed, std::span<float> fractions) {
  uint64_t x = seededWord(cell, seed);
  for (float& fraction : fractions) {
    const uint64_t y = scrambled(x);
    // The remainder reaches 2^32, so the fraction reaches 1.
    fraction = static_cast<float>(y % 4294967297u) * 0x1p-32f;
    x = y;
  }
}

double RandomMove::getValue(const EffectItemNumber& track, const SectionPosition& position,
                            const EffectContext&) const {
  const double first = track.getDisplayValue(0);
  const double last = track.getDisplayValue(1);
  const int64_t seed = LinkedPoints(track).groupPosition();

  // The kind keeps the whole object as one section: the frames are counted from its start.
  const double cells = position.framesInSection / periodOf(track, defaultParams);
  int64_t cell = 0;
  double fraction = 0.0;
  if (std::isfinite(cells)) {
    const double whole = std::floor(cells);
    cell = static_cast<int64_t>(whole);
    fraction = cells - whole;
  }
  const auto target = [&](int64_t c) {
    return first + static_cast<double>(randomFraction(c, seed)) * (last - first);
  };
  const double before = target(cell - 1);
  const double from = target(cell);
  const double to = target(cell + 1);
  const double after = target(cell + 2);
  return cubicBezier(fraction, from, System::smoothControlValue(before, from, to),
                     System::smoothControlValue(after, to, from), to);
}

bool RandomMove::isTrajectoryVisible(const EffectItemNumber&) const { return false; }

}  // namespace Effect
