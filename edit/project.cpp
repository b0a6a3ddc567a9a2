#include "edit/project.h"

#include <algorithm>
#include <string_view>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "edit/project_prompts.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_item.h"
#include "system/file.h"
#include "system/log.h"
#include "system/ui_bridge.h"

namespace Edit {
namespace {

// The folder of a project path with its separator, variables expanded; empty when the path
// has no folder.
std::string projectFolder(std::string_view projectPath) {
  const std::size_t separator = projectPath.find_last_of("/\\");
  if (separator == std::string_view::npos) return {};
  return System::FileName::expandVariable(projectPath.substr(0, separator + 1));
}

// Whether `path` begins with `folder`, ignoring ASCII case and telling "/" and "\" not apart:
// project files carry paths from systems that do neither.
bool startsWithFolder(std::string_view path, std::string_view folder) {
  if (path.size() < folder.size()) return false;
  const auto fold = [](char c) {
    if (c == '\\') return '/';
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::equal(folder.begin(), folder.end(), path.begin(),
                    [&fold](char a, char b) { return fold(a) == fold(b); });
}

}  // namespace

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

void Project::updateEffectItemFilePath(const std::string& newProjectPath) {
  constexpr const char* place = "Edit::Project::updateEffectItemFilePath";
  const std::string oldFolder = projectFolder(path);
  const std::string newFolder = projectFolder(newProjectPath);
  // Without both folders there is nothing to re-root; within one folder nothing moved.
  const bool sameFolder =
      oldFolder.size() == newFolder.size() && startsWithFolder(oldFolder, newFolder);
  if (oldFolder.empty() || newFolder.empty() || sameFolder) return;

  // The items to change: under the old folder, and no file there any more.
  std::vector<Effect::EffectItem*> candidates;
  for (const auto& scene : getSortedScenes()) {
    for (int32_t layer = 0; layer < scene->layerCount(); ++layer) {
      for (const auto& object : scene->getLayerObjects(layer).objects) {
        if (object->layer != layer) continue;
        for (const auto& effect : object->effects) {
          if (!effect) continue;
          for (Effect::EffectItem* item : effect->items) {
            const std::string* itemPath = item->getFilePath();
            if (itemPath && startsWithFolder(*itemPath, oldFolder) &&
                !System::File::exists(*itemPath))
              candidates.push_back(item);
          }
        }
      }
    }
  }
  if (candidates.empty()) return;

  System::stopPreviewPlayer();
  if (!confirmWithUser("プロジェクトファイルのパスが変更されています。\n\n"
                       "以前のプロジェクトパスの配下の指定ファイルが存在しない場合は\n"
                       "現在のプロジェクトパスの配下に変更しますか？"))
    return;
  for (Effect::EffectItem* item : candidates) {
    const std::string oldPath = *item->getFilePath();
    // Only the leading folder is exchanged: the same folder name deeper in the path is part
    // of the file's own place under it.
    const std::string newPath = newFolder + oldPath.substr(oldFolder.size());
    System::Log::info(place, "update file path [%s] -> [%s]", oldPath.c_str(), newPath.c_str());
    item->setFilePath(newPath);
  }
}

}  // namespace Edit
