#pragma once
// A comparable picture of a scene for undo tests.
#include <map>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"

namespace TestSupport {

// Everything a command may change that undo must put back: per layer the objects with their
// frames, boundaries, flags, chain and group (groups numbered by first sight). The focus
// is the windows' state, which undo does not restore.
struct SceneState {
  struct Entry {
    int layer, start, end;
    std::vector<int32_t> boundaries;
    int clipping, camera, group;
    std::vector<std::string> effects;
    auto tie() const {
      return std::tie(layer, start, end, boundaries, clipping, camera, group, effects);
    }
    bool operator==(const Entry& other) const { return tie() == other.tie(); }
  };
  std::vector<Entry> entries;
  bool operator==(const SceneState& other) const { return entries == other.entries; }
};

inline void PrintTo(const SceneState& state, std::ostream* out) {
  for (const auto& entry : state.entries)
    *out << "\n  L" << entry.layer << " " << entry.start << ".." << entry.end << " g" << entry.group
         << " e" << entry.effects.size();
}

inline SceneState stateOf(const Edit::Scene& scene) {
  SceneState state;
  std::map<const Edit::Group*, int> groups;
  for (int layer = 0; layer < scene.layerCount(); ++layer) {
    for (const auto& object : scene.getLayerObjects(layer).objects) {
      if (object->layer != layer) continue;
      int group = 0;
      if (object->group)
        group = groups.try_emplace(object->group.get(), groups.size() + 1).first->second;
      std::vector<std::string> effects;
      for (const auto& effect : object->effects) effects.emplace_back(effect->name);
      state.entries.push_back({layer, object->start, object->end, object->boundaries,
                               object->clipping, object->camera, group, effects});
    }
  }
  return state;
}

}  // namespace TestSupport
