#pragma once
// The registered prototype of a built-in filter whose routine another effect borrows (the
// blur of the shadows and masks, the clipping of the wipes): its shaders are the ones every
// instance of the kind shares.
#include "effect/effect_service.h"
#include "system/exception.h"

namespace Effect {

// Throws "default effect not found" with the kind's name when there is no registry or the
// kind is not registered.
template <class Filter>
Filter& defaultPrototype() {
  if (EffectService* registry = EffectService::instance())
    return *registry->getDefaultEffect<Filter>();
  throw System::makeFormattedException("Effect::EffectService::getDefaultEffect",
                                       "default effect not found", "%s", Filter::kName);
}

}  // namespace Effect
