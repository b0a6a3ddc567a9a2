// The timeline's context menus: the option menu every part of the timeline ends with, and
// the scene button's menus.
#include <memory>

#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/timeline_paint.h"
#include "system/log.h"
#include "ui/menu_popup.h"

namespace Component {
namespace {

// Flips a 0/1 setting.
void toggle(int32_t& key) { key = key ? 0 : 1; }

// An item that flips a setting and is checked while it is on.
void insertToggle(Window::BaseMenu& menu, const char* text, int32_t& key,
                  std::function<void()> after = {}) {
  menu.insertItem(text, [&key, after = std::move(after)] {
        toggle(key);
        if (after) after();
      })
      .setCheck([&key] { return key != 0; });
}

}  // namespace

EditComponent::SceneButtonControl::SceneButtonControl(Window::WindowControl& parent)
    : TextButtonControl(parent, 0, 2, -3, -4, kTrimmed) {
  acceptsContextMenu = true;
}

void EditComponent::SceneButtonControl::procContextMenu(int32_t, int32_t) {
  Edit::EditService* edit = Edit::EditService::instance();
  if (!edit) return;
  Window::PopupMenu menu;
  edit->appendSceneMenu(edit->currentScene()->id, menu);
  menu.show();
}

void EditComponent::SceneButtonControl::procMouseHover() {
  if (Edit::EditService* edit = Edit::EditService::instance())
    edit->currentScene()->showInfoTooltip();
}

void EditComponent::showSceneListMenu() {
  Window::PopupMenu menu;
  const int32_t current = scene().id;
  for (const std::shared_ptr<Edit::Scene>& each : editService->project.getSortedScenes()) {
    const int32_t id = each->id;
    menu.insertItem(each->name, [this, id] { editService->updateScene(id); })
        .setRadioCheck()
        .setCheck([id, current] { return id == current; });
  }
  menu.show();
}

void EditComponent::createPopupMenu(Window::BaseMenu& menu) { appendOptionMenu(menu); }

void EditComponent::appendOptionMenu(Window::BaseMenu& menu) {
  const auto repaint = [this] { procPaint(); };
  insertToggle(menu, "グリッド(BPM)の表示", settings.tempoGrid, [this, repaint] {
    System::Log::info("Edit::EditCommand::setTempoGrid", "set tempo grid enable=%d",
                      settings.tempoGrid);
    repaint();
  });
  menu.insertSeparator();
  {
    Window::BaseMenu options(menu, "オプション");
    Edit::EditSettings& edit = editService->settings;
    insertToggle(options, "シングルクリックでオブジェクトをフォーカス(レイヤー)",
                 edit.singleClickFocusLayerObject);
    insertToggle(options, "クリック時にオブジェクトのグループを選択(レイヤー)",
                 edit.clickLayerObjectSelectGroup);
    insertToggle(options, "オブジェクトのスナップ(レイヤー)", edit.layerObjectMoveSnap);
    insertToggle(options, "マウスホイールで縦スクロール(レイヤー)", settings.layerWheelMode);
    insertToggle(options, "中間点追加・分割を現在のフレームで行う",
                 edit.addSectionSplitByCursorFrame);
    insertToggle(options, "オブジェクト名を常に先頭から表示", settings.displayObjectNameFromHead);
    insertToggle(options, "オブジェクトの区間変更時に時間を表示", settings.showMoveObjectTime);
    insertToggle(options, "対象レイヤー範囲を表示", settings.displayLayerRange, repaint);
  }
  WindowClient::createPopupMenu(menu);
}

}  // namespace Component
