#pragma once
// The project: its scenes by id, the current scene's id and the project file's path.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace Edit {

class Scene;

class Project {
 public:
  // The scene, made on first use with the display order after every other scene's.
  std::shared_ptr<Scene> getOrCreateScene(int32_t id);
  // The scene, or empty.
  std::shared_ptr<Scene> findScene(int32_t id) const;
  // The smallest id from 1 upwards that no scene uses.
  int32_t findFreeSceneId() const;

  std::string path;  // empty for a new project
  int32_t currentSceneId = 0;
  std::unordered_map<int32_t, std::shared_ptr<Scene>> scenes;
};

}  // namespace Edit
