#include "effect/movement_registry.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

#include "effect/builtin_movements.h"
#include "effect/effect_service.h"
#include "system/exception.h"

namespace Effect {

namespace {

// The standalone table's two kinds, set once while it is built.
const MovementBase* noMovePrototype = nullptr;
const MovementBase* movieRangePrototype = nullptr;

// The effect registry while it is attached, and the kinds it published. Written on the UI
// thread while no worker runs; read anywhere.
std::atomic<EffectService*> attachedRegistry{nullptr};
std::atomic<const MovementBase*> publishedNoMove{nullptr};
std::atomic<const MovementBase*> publishedMovieRange{nullptr};

}  // namespace

MovementRegistry& MovementRegistry::instance() {
  static MovementRegistry registry;
  return registry;
}

MovementRegistry::MovementRegistry() {
  auto add = [this](std::shared_ptr<MovementBase> movement) {
    const MovementBase* prototype = movement.get();
    byName_.try_emplace(movement->name, std::move(movement));
    inOrder_.push_back(prototype);
    return prototype;
  };
  noMovePrototype = add(std::make_shared<NoMove>());
  movieRangePrototype = add(std::make_shared<MovieRange>());
  add(std::make_shared<LinearMove>());
}

const MovementBase* MovementRegistry::registerMovement(std::shared_ptr<MovementBase> movement) {
  if (!movement) return nullptr;
  const MovementBase* prototype = movement.get();
  if (EffectService* registry = attachedRegistry.load())
    return registry->registerMovementPrototype(std::move(movement)) ? prototype : nullptr;
  std::unique_lock lock(mutex_);
  if (!byName_.try_emplace(movement->name, std::move(movement)).second) return nullptr;
  inOrder_.push_back(prototype);
  return prototype;
}

const MovementBase* MovementRegistry::findMovement(std::string_view name) const {
  if (const EffectService* registry = attachedRegistry.load())
    return registry->findMovement(name)->getPrototype().get();
  {
    std::shared_lock lock(mutex_);
    const auto found = byName_.find(std::string(name));
    if (found != byName_.end()) return found->second.get();
  }
  throw System::makeException("Effect::EffectService::findMovement", "not found movement.");
}

std::vector<const MovementBase*> MovementRegistry::getMovements() const {
  if (const EffectService* registry = attachedRegistry.load()) {
    std::vector<const MovementDefine*> defines;
    for (const auto& [name, define] : registry->getMovementDefines()) defines.push_back(&define);
    std::sort(defines.begin(), defines.end(),
              [](const MovementDefine* a, const MovementDefine* b) { return a->order < b->order; });
    std::vector<const MovementBase*> movements;
    for (const MovementDefine* define : defines) movements.push_back(define->getPrototype().get());
    return movements;
  }
  std::shared_lock lock(mutex_);
  return inOrder_;
}

void MovementRegistry::attachRegistry(EffectService* registry) { attachedRegistry.store(registry); }

void MovementRegistry::detachRegistry(EffectService* registry) {
  EffectService* expected = registry;
  if (attachedRegistry.compare_exchange_strong(expected, nullptr)) {
    publishedNoMove.store(nullptr);
    publishedMovieRange.store(nullptr);
  }
}

void MovementRegistry::publish(const MovementBase* noMove, const MovementBase* playbackRange) {
  publishedNoMove.store(noMove);
  publishedMovieRange.store(playbackRange);
}

const MovementBase* defaultMovement() {
  if (const MovementBase* published = publishedNoMove.load()) return published;
  MovementRegistry::instance();
  return noMovePrototype;
}

const MovementBase* playbackRangeMovement() {
  if (const MovementBase* published = publishedMovieRange.load()) return published;
  MovementRegistry::instance();
  return movieRangePrototype;
}

}  // namespace Effect
