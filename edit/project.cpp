#include "edit/project.h"

#include <algorithm>

#include "edit/scene.h"

namespace Edit {

std::shared_ptr<Scene> Project::getOrCreateScene(int32_t id) {
  if (auto found = findScene(id)) return found;
  int32_t order = -1;
  for (const auto& [sceneId, scene] : scenes) order = std::max(order, scene->displayOrder);
  auto scene = std::make_shared<Scene>(id, order + 1);
  scenes.emplace(id, scene);
  return scene;
}

std::shared_ptr<Scene> Project::findScene(int32_t id) const {
  const auto found = scenes.find(id);
  return found == scenes.end() ? nullptr : found->second;
}

int32_t Project::findFreeSceneId() const {
  int32_t id = 1;
  while (scenes.contains(id)) ++id;
  return id;
}

}  // namespace Edit
