#include "main_window/lists/scene_list_component.h"

#include <algorithm>

#include "edit/edit_command_length.h"
#include "edit/scene.h"
#include "effect/effect_service.h"
#include "main_window/lists/scene_button_control.h"
#include "system/file.h"
#include "ui/controls/control_paint.h"
#include "ui/menu_popup.h"

namespace Component {

SceneListComponent::SceneListComponent()
    : ListToolWindow(kTitle, kSection, Placement{0.0f, 0.7f, 0.2f, 1.0f, kLeft, true}) {
  acceptsContextMenu = true;
  acceptsDrop = true;
  if (eventService)
    eventService->sceneChanged().add([alive = lifetime(), this](int) {
      if (!alive.expired()) rebuildRows();
    });
}

void SceneListComponent::appendSceneRow(Control::ListItemControl& target,
                                        std::shared_ptr<Edit::Scene> scene) {
  target.items.push_back(std::make_unique<SceneButtonControl>(*this, target, std::move(scene)));
}

void SceneListComponent::rebuildRows() {
  list.clearItems();
  if (editService)
    for (const std::shared_ptr<Edit::Scene>& scene : editService->project.getSortedScenes())
      appendSceneRow(list, scene);
  std::stable_sort(list.items.begin(), list.items.end(),
                   [](const std::unique_ptr<Control::ListItemBase>& a,
                      const std::unique_ptr<Control::ListItemBase>& b) {
                     return a->getSortKey() < b->getSortKey();
                   });
  relayoutRows();
}

void SceneListComponent::buildContextMenu(Window::BaseMenu& menu) {
  menu.insertItem("シーンを新規作成", [] {
    if (Edit::EditService* edit = Edit::EditService::instance()) edit->createSceneLikeCurrent();
  });
  menu.insertSeparator();
  createPopupMenu(menu);
}

void SceneListComponent::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  buildContextMenu(menu);
  menu.show();
}

bool SceneListComponent::acceptsSceneFile(const std::string& path) {
  if (System::FileName::getExtension(path) == kLegacyObjectExtension) return true;
  const Effect::EffectService* effects = Effect::EffectService::instance();
  return effects && effects->isObjectFile(path);
}

bool SceneListComponent::procDragOver(int32_t, int32_t, Window::DropData& data) {
  // Only the first file counts: a drop makes one scene.
  if (data.files.empty() || !acceptsSceneFile(data.files.front())) return false;
  Control::showToolTipAtCursor(kDropTip);
  return true;
}

bool SceneListComponent::procDrop(int32_t, int32_t, Window::DropData& data) {
  if (data.files.empty()) return false;
  const std::string path = data.files.front();
  if (System::FileName::getExtension(path) == kLegacyObjectExtension) {
    if (editService) editService->importSceneFromKvo(path);
  } else {
    Edit::EditCommand::createSceneFromFile(path);
  }
  return true;
}

}  // namespace Component
