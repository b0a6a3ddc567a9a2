#include "effect/builtin_movements.h"

#include "effect/effect_item_number.h"

namespace Effect {

namespace {

// The cubic Bezier curve a(1-t)^3 + 3b t(1-t)^2 + 3c t^2(1-t) + d t^3.
double bezier(double t, double a, double b, double c, double d) {
  const double s = 1.0 - t;
  return a * s * s * s + 3.0 * b * t * s * s + 3.0 * c * t * t * s + d * t * t * t;
}

}  // namespace

NoMove::NoMove() : MovementBase(kName, 1) { ignoreMidpoints = OfferedOff; }

double NoMove::getValue(const EffectItemNumber& track, const SectionPosition&,
                        const EffectContext&) const {
  return track.getDisplayValue(0);
}

MovieRange::MovieRange() : MovementBase(kName, 2) {
  ignoreMidpoints = OfferedOff;
  listed = false;
}

double MovieRange::getValue(const EffectItemNumber& track, const SectionPosition&,
                            const EffectContext&) const {
  return track.getDisplayValue(0);
}

LinearMove::LinearMove() : MovementBase(kName, -1) {
  accelerate = OfferedOff;
  decelerate = OfferedOff;
  ignoreMidpoints = OfferedOff;
}

double LinearMove::getValue(const EffectItemNumber& track, const SectionPosition& position,
                            const EffectContext&) const {
  const int k = position.sectionIndex;
  const double a = track.getDisplayValue(k);
  const double b = track.getDisplayValue(k + 1);
  const double t = position.framesInSection / position.sectionLength;
  const bool accelerates = k == 0 && (track.flags & EffectItemNumber::FlagAccelerate);
  const bool decelerates =
      k == position.sectionCount - 1 && (track.flags & EffectItemNumber::FlagDecelerate);
  if (!accelerates && !decelerates) return a + (b - a) * t;
  const double middle = (a + b) / 2.0;
  return bezier(t, a, accelerates ? a : middle, decelerates ? b : middle, b);
}

}  // namespace Effect
