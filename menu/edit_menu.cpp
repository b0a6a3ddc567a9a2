#include "menu/edit_menu.h"

#include <algorithm>
#include <functional>
#include <string>

#include "edit/edit_command_group.h"
#include "edit/edit_command_length.h"
#include "edit/edit_command_object.h"
#include "edit/edit_command_section.h"
#include "edit/edit_command_split.h"
#include "edit/edit_menu_predicates.h"
#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "menu/edit_menu_actions.h"
#include "ui/keyboard_code.h"

namespace Menu {
namespace {

using Window::KeyCode;
namespace Actions = EditMenuActions;

// The tests and actions run long after the menu was built: each reaches the services and
// the current scene as they are then, and does nothing without them.
Edit::EditService* edit() { return Edit::EditService::instance(); }

const Edit::Scene* scene() {
  auto* service = edit();
  return service && service->currentScene() ? service->currentScene().get() : nullptr;
}

int cursorFrame() {
  const Edit::Scene* current = scene();
  return current ? current->cursorFrame : 0;
}

std::function<void()> moveCursorTo(std::function<int(const Edit::Scene&)> frame) {
  return [frame = std::move(frame)] {
    if (const Edit::Scene* current = scene()) edit()->setCursorFrame(frame(*current));
  };
}

// A custom move by the amount text of the setting that `amount` picks, forward or back.
std::function<void()> moveCustom(std::string Edit::EditSettings::*amount, int direction) {
  return [amount, direction] {
    if (auto* service = edit()) service->moveCursorFrame(service->settings.*amount, direction);
  };
}

bool hasTargets() {
  const Edit::Scene* current = scene();
  return current && !current->targetObjects().empty();
}

// Whether the test made for the cursor frame holds for a target object.
bool anyTargetAtCursor(Edit::ObjectPredicate (*makeTest)(int)) {
  const Edit::Scene* current = scene();
  return current && current->anyTargetObject(makeTest(current->cursorFrame));
}

// A midpoint lies exactly on the frame and its section, or a later one, could take one.
Edit::ObjectPredicate canDeleteSectionAt(int frame) {
  return [frame](Edit::Object* object) {
    const int section = object->findSection(frame);
    return section > 0 && object->sectionFirstFrame(section) == frame &&
           object->hasSplittableSection(frame);
  };
}

bool canClearGroup() {
  const Edit::Scene* current = scene();
  if (!current) return false;
  const auto& selected = current->selection.objects;
  if (!selected.empty())
    return std::all_of(selected.begin(), selected.end(),
                       [](const auto& object) { return object->group != nullptr; });
  const auto& focus = current->focusObject;
  return focus && focus->layer != -1 && focus->group;
}

bool rangeSelected() {
  const Edit::Scene* current = scene();
  return current && current->selectedFrameStart >= 0 && current->selectedFrameEnd >= 0;
}

bool canUndo() {
  auto* undo = Undo::UndoService::instance();
  return undo && undo->canUndo();
}

bool canRedo() {
  auto* undo = Undo::UndoService::instance();
  return undo && undo->canRedo();
}

// The frame range belongs to the timeline window, which completes a negative side; until a
// timeline is in the program these items have nothing to act on.
void setFrameRange(int, int) {}

void declareMoveMenu(Window::BaseMenu& menu) {
  Window::BaseMenu move(menu, "移動");
  move.insertItem("次のフレームに移動",
                  moveCursorTo([](const Edit::Scene& s) { return s.cursorFrame + 1; }))
      .setShortcut(0x27);
  move.insertItem("前のフレームに移動",
                  moveCursorTo([](const Edit::Scene& s) { return s.cursorFrame - 1; }))
      .setShortcut(0x25);
  move.insertItem("次のセクションに移動", [] { Edit::EditCommand::jumpNextSection(); })
      .setShortcut(0x28);
  move.insertItem("前のセクションに移動", [] { Edit::EditCommand::jumpPrevSection(); })
      .setShortcut(0x26);
  move.insertItem("先頭のフレームに移動", moveCursorTo([](const Edit::Scene&) { return 0; }))
      .setShortcut(0x24);
  move.insertItem("最後のフレームに移動", moveCursorTo([](const Edit::Scene& s) {
                    return std::max(s.lastFrame(), 0);
                  })).setShortcut(0x23);
  move.insertItem("選択開始フレームに移動", Actions::moveToRangeStart).setShortcut(0);
  move.insertItem("選択終了フレームに移動", Actions::moveToRangeEnd).setShortcut(0);
  move.insertSeparator();
  // The four custom amounts, each forward and back; only A comes with keys.
  using Settings = Edit::EditSettings;
  struct Custom {
    const char* letter;
    std::string Settings::*amount;
    int forwardKey, backKey;
  };
  const Custom customs[] = {{"A", &Settings::customMoveFrameA, 0x22, 0x21},
                            {"B", &Settings::customMoveFrameB, 0, 0},
                            {"C", &Settings::customMoveFrameC, 0, 0},
                            {"D", &Settings::customMoveFrameD, 0, 0}};
  for (const Custom& custom : customs) {
    move.insertItem(std::string("カスタムフレーム次移動") + custom.letter,
                    moveCustom(custom.amount, 1))
        .setShortcut(custom.forwardKey);
    move.insertItem(std::string("カスタムフレーム前移動") + custom.letter,
                    moveCustom(custom.amount, -1))
        .setShortcut(custom.backKey);
  }
  move.insertSeparator();
  move.insertItem("指定時間に移動", [] { Edit::EditCommand::jumpToTime(); }).setShortcut(0);
}

void declareRangeMenu(Window::BaseMenu& menu) {
  Window::BaseMenu range(menu, "フレーム範囲選択");
  range.insertItem("現在のフレームを選択開始フレームにする",
                   [] { setFrameRange(cursorFrame(), -1); })
      .setShortcut(0xDB);
  range.insertItem("現在のフレームを選択終了フレームにする",
                   [] { setFrameRange(-1, cursorFrame()); })
      .setShortcut(0xDD);
  range.insertItem("フレーム範囲選択を解除", [] { setFrameRange(-1, -1); })
      .setEnable(rangeSelected)
      .setShortcut(0);
}

}  // namespace

void EditMenu::initialize() {
  Window::BaseMenu& menu = targetMenu();
  declareMoveMenu(menu);
  menu.insertSeparator();
  menu.insertItem("オブジェクトを切り取り", [] { Edit::EditCommand::cutObject(); })
      .setEnable(hasTargets)
      .setShortcut(KeyCode::kCtrl | 'X');
  menu.insertItem("オブジェクトをコピー", [] { Edit::EditCommand::copyObject(); })
      .setEnable(hasTargets)
      .setShortcut(KeyCode::kCtrl | 'C');
  menu.insertItem("オブジェクトを貼り付け", [] { Edit::EditCommand::pasteObjectAt(); })
      .setEnable([] { return edit() && !edit()->clipboard.empty(); })
      .setShortcut(KeyCode::kCtrl | 'V');
  menu.insertItem("オブジェクトを削除", [] { Edit::EditCommand::deleteObject(); })
      .setEnable(hasTargets)
      .setShortcut(0x2E);
  menu.insertSeparator();
  menu.insertItem("オブジェクトを分割", [] { Edit::EditCommand::splitObject(cursorFrame()); })
      .setEnable([] { return anyTargetAtCursor(Edit::canSplitAt); })
      .setShortcut('S');
  menu.insertItem("オブジェクトを複製", [] { Edit::EditCommand::duplicateObject(); })
      .setEnable(hasTargets)
      .setShortcut(KeyCode::kCtrl | 'D');
  menu.insertItem("オブジェクトの長さを変更", [] { Edit::EditCommand::changeObjectLength(); })
      .setEnable(hasTargets)
      .setShortcut(0);
  menu.insertSeparator();
  menu.insertItem("クリップボードにイメージをコピー", [] { Actions::copyPicture(false); })
      .setShortcut(0);
  menu.insertItem("クリップボードにイメージをコピー(背景透過)",
                  [] { Actions::copyPicture(true); })
      .setShortcut(0);
  menu.insertSeparator();
  menu.insertItem("オブジェクトの中間点を追加",
                  [] { Edit::EditCommand::createSectionAtFrame(cursorFrame()); })
      .setEnable([] { return anyTargetAtCursor(Edit::canAddSectionAt); })
      .setShortcut('P');
  menu.insertItem("オブジェクトの中間点を削除",
                  [] { Edit::EditCommand::deleteSectionAtFrame(cursorFrame()); })
      .setEnable([] { return anyTargetAtCursor(canDeleteSectionAt); })
      .setShortcut(0);
  menu.insertSeparator();
  menu.insertItem("オブジェクトのグループ化", [] { Edit::EditCommand::setGroup(); })
      .setEnable([] { return scene() && scene()->selection.objects.size() >= 2; })
      .setShortcut(KeyCode::kCtrl | 'G');
  menu.insertItem("オブジェクトのグループ解除", [] { Edit::EditCommand::clearGroup(); })
      .setEnable(canClearGroup)
      .setShortcut(KeyCode::kCtrl | KeyCode::kShift | 'G');
  menu.insertSeparator();
  menu.insertItem("オブジェクトの表示・非表示", Actions::toggleVisibility)
      .setEnable(hasTargets)
      .setShortcut(0);
  menu.insertSeparator();
  declareRangeMenu(menu);
  menu.insertSeparator();
  menu.insertItem("現在のフレームのオブジェクトを選択", Actions::focusAtCursor)
      .setShortcut(0x09);
  menu.insertItem("次のオブジェクトを選択", Actions::focusNextOnLayer).setShortcut(0xBE);
  menu.insertItem("前のオブジェクトを選択", Actions::focusPreviousOnLayer).setShortcut(0xBC);
  menu.insertSeparator();
  menu.insertItem("元に戻す", [] {
        if (auto* undo = Undo::UndoService::instance()) undo->undo();
      })
      .setEnable(canUndo)
      .setShortcut(KeyCode::kCtrl | 'Z');
  menu.insertItem("やり直し", [] {
        if (auto* undo = Undo::UndoService::instance()) undo->redo();
      })
      .setEnable(canRedo)
      .setShortcut(KeyCode::kCtrl | KeyCode::kShift | 'Z');
  menu.insertSeparator();
  menu.insertItem("キャッシュを破棄", Actions::discardCaches).setShortcut(0x74);
}

}  // namespace Menu
