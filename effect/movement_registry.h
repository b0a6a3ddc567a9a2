#pragma once
// The movement kinds known by name: what a track text's movement name resolves to, and the
// two kinds every number item compares against.
//
// The effect registry (effect_service.h) holds the movement kinds of a running program: it
// takes this table over from the start of its construction to its destruction, and then
// every lookup here goes to it and the two published kinds are its prototypes. Without it
// (tools, benchmarks, the tests of the items) a standalone table answers: it is built at
// its first use with the framework's own kinds (no movement, playback range, straight
// line), and further kinds can be added to it. Names are compared exactly, byte for byte:
// no case folding, no trimming.
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effect/movement_base.h"

namespace Effect {

class EffectService;

class MovementRegistry {
 public:
  static MovementRegistry& instance();

  MovementRegistry(const MovementRegistry&) = delete;
  MovementRegistry& operator=(const MovementRegistry&) = delete;

  // Adds a prototype under its name: to the effect registry while one is attached, else to
  // the standalone table. A name that is taken is refused: the first kind stays and null
  // comes back. The prototype lives as long as the table that took it.
  const MovementBase* registerMovement(std::shared_ptr<MovementBase> movement);
  // The prototype of that name; throws "not found movement." for a name that is not
  // registered.
  const MovementBase* findMovement(std::string_view name) const;
  // The kinds in menu order (the standalone table: the order they were registered).
  std::vector<const MovementBase*> getMovements() const;

  // The effect registry attaches itself before it registers anything and detaches when it
  // goes; publish() names its two kinds once they are registered. UI thread, while no
  // render worker runs.
  static void attachRegistry(EffectService* registry);
  static void detachRegistry(EffectService* registry);
  static void publish(const MovementBase* noMove, const MovementBase* playbackRange);

 private:
  MovementRegistry();

  mutable std::shared_mutex mutex_;
  std::unordered_map<std::string, std::shared_ptr<MovementBase>> byName_;
  std::vector<const MovementBase*> inOrder_;
};

// The prototype of "移動無し", the kind every number item starts with.
const MovementBase* defaultMovement();
// The prototype of "再生範囲", the playback range of a media input's position.
const MovementBase* playbackRangeMovement();

}  // namespace Effect
