#pragma once
// The project: its scenes by id, the current scene's id and the project file's path.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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
  // Every scene, by ascending display order, scenes of equal order by id.
  std::vector<std::shared_ptr<Scene>> getSortedScenes() const;
  // Empties the scene's layer table and drops it; nothing for scene 0, the current scene or
  // an id no scene has.
  void deleteScene(int32_t id);
  // Empties every scene's layer table and drops every scene; current scene 0, no path.
  void reset();
  // After the project file was opened at `newProjectPath` while `path` still names the place
  // it was saved at: the file items whose files are missing but lay under the old project
  // folder are, once the user agreed, pointed at the same place under the new folder. One
  // question for all of them; a refusal changes nothing.
  void updateEffectItemFilePath(const std::string& newProjectPath);

  // The project file (project_file.cpp). saveFile writes the whole project: the file is
  // replaced only once it is complete, so a failure leaves the old file as it was and
  // throws. loadFile reads a file into this project, which the caller has reset: a failure
  // outside the objects throws; an object that fails (or would overlap another) is left
  // out, and one summary error is posted after all were read.
  void saveFile(const std::string& filePath) const;
  void loadFile(const std::string& filePath);

  std::string path;  // empty for a new project
  int32_t currentSceneId = 0;
  std::unordered_map<int32_t, std::shared_ptr<Scene>> scenes;
};

}  // namespace Edit
