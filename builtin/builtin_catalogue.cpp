#include "builtin/builtin_catalogue.h"

#include "builtin/effect_catalogue.h"
#include "builtin/movement/movement_catalogue.h"

namespace Effect {

EffectService::Catalogue builtinCatalogue() {
  EffectService::Catalogue catalogue;
  catalogue.movements = registerMovements;
  catalogue.firstEffects = registerFirstEffects;
  catalogue.lastEffects = registerLastEffects;
  return catalogue;
}

}  // namespace Effect
