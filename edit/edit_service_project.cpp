// The edit service's scene commands: switching, renaming, setting, making and deleting the
// scenes of the project. Each change runs in one edit-update scope, so the render workers
// never see a half-made scene.
#include <cstdint>
#include <string>

#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/project_prompts.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_item.h"
#include "system/log.h"
#include "system/ui_bridge.h"

namespace Edit {
namespace {

// Sets every item of the project's objects and of the clipboard's copies that refers to the
// scene to no scene; true when one changed.
bool forgetSceneReferences(const Project& project, const ObjectClipboard& clipboard,
                           int32_t sceneId) {
  bool changed = false;
  const auto forget = [&](const Object& object) {
    for (const auto& effect : object.effects)
      if (effect)
        for (Effect::EffectItem* item : effect->items) changed |= item->forgetScene(sceneId);
  };
  for (const auto& entry : project.scenes) entry.second->forEachObject(forget);
  for (const auto& copy : clipboard.objects) forget(*copy);
  return changed;
}

SceneSettings settingsOf(const Scene& scene) {
  return {scene.name, scene.width, scene.height, scene.rate, scene.scale, scene.audioRate};
}

}  // namespace

std::string EditService::getSceneName(int id) const {
  const auto scene = getScene(id);
  return scene ? scene->name : std::string();
}

void EditService::updateScene(int id) {
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = id;
  setCurrentScene(id);
  System::Log::info("Edit::EditService::updateScene", "set current scnene [%s](%d)",
                    currentScene_->name.c_str(), id);
  scope.close();
}

void EditService::renameScene(int id) {
  const auto scene = getScene(id);
  if (!scene) return;
  System::stopPreviewPlayer();
  std::string name = scene->name;
  if (!editUi().inputText("シーン名を変更", name)) return;
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = project.currentSceneId;
  scene->name = name;
  System::Log::info("Edit::EditService::renameScene", "update scnene name [%s](%d)",
                    scene->name.c_str(), id);
  scope.close();
}

void EditService::settingScene(int id) {
  const auto scene = getScene(id);
  if (!scene) return;
  System::stopPreviewPlayer();
  SceneSettings settings = settingsOf(*scene);
  if (!editUi().editScene("シーンの設定", settings)) return;
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = project.currentSceneId;
  applySceneSettings(*scene, settings);
  System::Log::info("Edit::EditService::settingScene", "update scnene setting [%s](%d)",
                    scene->name.c_str(), id);
  scope.close();
}

bool EditService::createScene(const std::string& name, int width, int height, int rate,
                              int scale, int audioRate) {
  System::stopPreviewPlayer();
  SceneSettings settings{name, width, height, rate, scale, audioRate};
  if (!editUi().editScene("シーンを作成", settings)) return false;
  const int32_t id = project.findFreeSceneId();
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = id;
  setCurrentScene(id);
  System::Log::info("Edit::EditService::createScene", "set current scnene (create) [%s](%d)",
                    settings.name.c_str(), id);
  applySceneSettings(*currentScene_, settings);
  scope.close();
  return true;
}

bool EditService::createSceneLikeCurrent() {
  const Scene& scene = *currentScene_;
  return createScene(getDefaultSceneName(project.findFreeSceneId()), scene.width, scene.height,
                     scene.rate, scene.scale, scene.audioRate);
}

void EditService::deleteScene(int id) {
  if (id == 0) return;
  const auto deleted = getScene(id);
  if (!deleted) return;
  const int32_t current = project.currentSceneId;
  // The question is about what would be lost: the objects of the scene that goes.
  if (deleted->holdsObjects()) {
    System::stopPreviewPlayer();
    const char* question =
        id == current ? "現在のシーンを削除しますか？" : "シーンを削除しますか？";
    if (!confirmWithUser(question)) return;
  }
  System::Log::info("Edit::EditService::deleteScene", "delete scnene (%d)", id);
  auto scope = beginUpdate();
  scope.notifyScene = true;
  if (id == current) {
    scope.sceneId = 0;
    setCurrentScene(0);
    System::Log::info("Edit::EditService::updateScene", "set current scnene [%s](%d)",
                      currentScene_->name.c_str(), 0);
  } else {
    scope.sceneId = current;
  }
  project.deleteScene(id);
  // Items of the other scenes' objects (and of the copies waiting to be pasted) that showed
  // the deleted scene, scene inputs and masks, now show no scene: the id is free again, and
  // a scene made later under it must not appear in them unasked. Like the deletion itself
  // this is not an undo step: undoing it would only bring back a reference to a scene that
  // is gone.
  if (forgetSceneReferences(project, clipboard, id)) {
    scope.updateEffectSetting = true;
    scope.notifyObject = true;
  }
  scope.close();
}

}  // namespace Edit
