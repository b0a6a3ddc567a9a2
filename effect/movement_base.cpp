#include "effect/movement_base.h"

#include <utility>

#include "system/exception.h"

namespace Effect {

MovementBase::MovementBase(std::string movementName, int count)
    : name(std::move(movementName)), valueCount(count) {}

MovementBase::~MovementBase() = default;

double MovementBase::getValue(const EffectItemNumber&, const SectionPosition&,
                              const EffectContext&) const {
  throw System::makeNotImplementedException("Effect::MovementBase::getValue");
}

int MovementBase::getSectionFrame(const EffectItemNumber&, const SectionPosition&) const {
  return -1;
}

bool MovementBase::hasEndValue(const EffectItemNumber&, int) const { return true; }

bool MovementBase::isTrajectoryVisible(const EffectItemNumber&) const { return true; }

}  // namespace Effect
