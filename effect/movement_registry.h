#pragma once
// The movement kinds known by name: what a track text's movement name resolves to.
//
// The table is built at its first use with the built-in kinds the framework itself needs
// (no movement, playback range, straight line); further kinds (scripts, the rest of the
// built-in catalogue) are added on the UI thread at start-up. Names are compared exactly,
// byte for byte: no case folding, no trimming.
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "effect/movement_base.h"

namespace Effect {

class MovementRegistry {
 public:
  static MovementRegistry& instance();

  MovementRegistry(const MovementRegistry&) = delete;
  MovementRegistry& operator=(const MovementRegistry&) = delete;

  // Adds a prototype under its name. A name that is taken is refused: the first kind stays
  // and null comes back. The prototype lives as long as the registry.
  const MovementBase* registerMovement(std::shared_ptr<MovementBase> movement);
  // The prototype of that name; throws "not found movement." for a name that is not
  // registered.
  const MovementBase* findMovement(std::string_view name) const;
  // The kinds in the order they were registered.
  std::vector<const MovementBase*> getMovements() const;

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
