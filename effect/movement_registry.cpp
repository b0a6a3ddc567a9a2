#include "effect/movement_registry.h"

#include <mutex>
#include <utility>

#include "effect/builtin_movements.h"
#include "system/exception.h"

namespace Effect {

namespace {

// Set once, while the registry is built, before any caller can see it.
const MovementBase* noMovePrototype = nullptr;
const MovementBase* movieRangePrototype = nullptr;

}  // namespace

MovementRegistry& MovementRegistry::instance() {
  static MovementRegistry registry;
  return registry;
}

MovementRegistry::MovementRegistry() {
  noMovePrototype = registerMovement(std::make_shared<NoMove>());
  movieRangePrototype = registerMovement(std::make_shared<MovieRange>());
  registerMovement(std::make_shared<LinearMove>());
}

const MovementBase* MovementRegistry::registerMovement(std::shared_ptr<MovementBase> movement) {
  if (!movement) return nullptr;
  std::unique_lock lock(mutex_);
  const MovementBase* prototype = movement.get();
  if (!byName_.try_emplace(movement->name, std::move(movement)).second) return nullptr;
  inOrder_.push_back(prototype);
  return prototype;
}

const MovementBase* MovementRegistry::findMovement(std::string_view name) const {
  {
    std::shared_lock lock(mutex_);
    const auto found = byName_.find(std::string(name));
    if (found != byName_.end()) return found->second.get();
  }
  throw System::makeException("Effect::EffectService::findMovement", "not found movement.");
}

std::vector<const MovementBase*> MovementRegistry::getMovements() const {
  std::shared_lock lock(mutex_);
  return inOrder_;
}

const MovementBase* defaultMovement() {
  MovementRegistry::instance();
  return noMovePrototype;
}

const MovementBase* playbackRangeMovement() {
  MovementRegistry::instance();
  return movieRangePrototype;
}

}  // namespace Effect
