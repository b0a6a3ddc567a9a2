#include "builtin/movement/movement_catalogue.h"

#include "builtin/movement/interpolation_move.h"
#include "builtin/movement/interpolation_speed.h"
#include "builtin/movement/linear_speed.h"
#include "builtin/movement/random_move.h"
#include "builtin/movement/teleportation_move.h"
#include "effect/effect_service.h"

namespace Effect {

void registerMovements(EffectService& registry) {
  registry.registerMovement<LinearSpeed>();
  registry.registerMovement<InterpolationMove>();
  registry.registerMovement<InterpolationSpeed>();
  registry.registerMovement<RandomMove>();
  registry.registerMovement<TeleportationMove>();
}

}  // namespace Effect
