#pragma once
// The registered prototype of a built-in filter whose routine another effect borrows (the
// blur, the radial blur): every borrower runs on the prototype's one set of shaders.
#include <typeinfo>

#include "effect/effect_service.h"
#include "system/exception.h"

namespace Effect {

// Throws "default effect not found" with the class's name when the kind is not registered,
// or when no registry exists.
template <class Filter>
Filter& defaultEffect() {
  if (EffectService* registry = EffectService::instance())
    return *registry->getDefaultEffect<Filter>();
  throw System::makeException("Effect::EffectService::getDefaultEffect",
                              "default effect not found",
                              EffectService::typeDisplayName(typeid(Filter)));
}

}  // namespace Effect
