#pragma once
// The whole catalogue of built-in kinds for the effect registry: the movements after the
// framework's own three, the first run of effects, the script files in between (read by the
// registry), the second run of effects. The program installs it before the registry starts.
#include "effect/effect_service.h"

namespace Effect {

EffectService::Catalogue builtinCatalogue();

}  // namespace Effect
