// The sections that the timeline and the preview put into their context menus. The menus
// are built on the UI thread, the only thread that changes the selection and the focus, so
// the scene is read here without the edit lock. The actions run after the menu has closed;
// the scene ones look the edit service up again then.
#include <algorithm>

#include "edit/edit_command_group.h"
#include "edit/edit_command_object.h"
#include "edit/edit_command_split.h"
#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "system/menu_sink.h"

namespace Edit {
namespace {

// Ungrouping applies when every selected object is grouped, or, without a selection, when
// the focus object lies on a layer and is grouped.
bool canClearGroup(const Scene& scene) {
  if (!scene.selection.empty()) {
    return std::all_of(scene.selection.objects.begin(), scene.selection.objects.end(),
                       [](const std::shared_ptr<Object>& object) { return object->group; });
  }
  return scene.focusObject && scene.focusObject->layer != -1 && scene.focusObject->group;
}

}  // namespace

void EditService::appendEditMenu(System::MenuSink& menu) {
  const bool hasTargets = !TargetObjects(*currentScene_).empty();
  menu.appendItem("切り取り", [] { EditCommand::cutObject(); }, hasTargets);
  menu.appendItem("コピー", [] { EditCommand::copyObject(); }, hasTargets);
  menu.appendItem("貼り付け", [] { EditCommand::pasteObjectAt(); }, !clipboard.empty());
  menu.appendItem("削除", [] { EditCommand::deleteObject(); }, hasTargets);
}

void EditService::appendGroupMenu(System::MenuSink& menu) {
  const Scene& scene = *currentScene_;
  menu.appendItem("グループ化", [] { EditCommand::setGroup(); },
                  scene.selection.objects.size() >= 2);
  menu.appendItem("グループ解除", [] { EditCommand::clearGroup(); }, canClearGroup(scene));
}

void EditService::appendLayerRangeMenu(System::MenuSink& menu) {
  const Selection& selection = currentScene_->selection;
  if (!selection.hasControl || selection.objects.size() < 2) return;
  menu.appendItem("対象レイヤー範囲を調整", [] { EditCommand::adjustLayerRange(); });
  menu.appendSeparator();
}

void EditService::appendSceneMenu(int sceneId, System::MenuSink& menu) {
  menu.appendItem("シーンを新規作成", [] {
    if (auto* edit = EditService::instance()) edit->createSceneLikeCurrent();
  });
  menu.appendItem("シーンを削除", [sceneId] {
    if (auto* edit = EditService::instance()) edit->deleteScene(sceneId);
  }, sceneId != 0);
  menu.appendSeparator();
  menu.appendItem("シーン名を変更", [sceneId] {
    if (auto* edit = EditService::instance()) edit->renameScene(sceneId);
  });
  menu.appendItem("シーンの設定", [sceneId] {
    if (auto* edit = EditService::instance()) edit->settingScene(sceneId);
  });
}

}  // namespace Edit
