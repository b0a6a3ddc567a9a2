#include "main_window/lists/scene_button_control.h"

#include <algorithm>

#include "edit/edit_service.h"
#include "edit/scene.h"
#include "main_window/lists/list_row_paint.h"
#include "main_window/lists/scene_list_component.h"
#include "ui/menu_popup.h"

namespace Component {

SceneButtonControl::SceneButtonControl(SceneListComponent& window,
                                       Control::ListItemControl& owner,
                                       std::shared_ptr<Edit::Scene> scene)
    : ButtonControl(owner.itemContainer, 0, 0, 0, listItemHeight() + 2),
      ListItemBase(owner),
      window_(&window),
      scene_(std::move(scene)) {
  control = this;
  acceptsContextMenu = true;
}

SceneButtonControl::~SceneButtonControl() { scene_.reset(); }

int32_t SceneButtonControl::getSortKey() { return scene_->displayOrder; }

void SceneButtonControl::setSortKey(int32_t key) { scene_->displayOrder = key; }

bool SceneButtonControl::canMove() { return scene_->id != 0; }

void SceneButtonControl::procLButtonDown(int32_t, int32_t) {
  pressed_ = true;
  if (mouseService && mouseService->pressedTarget() == this) {
    // The root scene's row cannot move: its press only shows that.
    if (canMove())
      mouseService->beginDrag(-fullRect.x, -fullRect.y, Window::MouseCursor::SizeNS);
    else
      mouseService->beginDrag(0, 0, Window::MouseCursor::No);
  }
  redraw();
}

void SceneButtonControl::procMouseDrag(int32_t, int32_t dy) {
  if (!pressed_ || !canMove()) return;
  followPointer(dy);
}

void SceneButtonControl::followPointer(int32_t y) {
  const int32_t index = list->findItem(this);
  const auto count = static_cast<int32_t>(list->items.size());
  if (index < 0 || count <= 1) return;
  const int32_t distance = y - fullRect.y;
  const int32_t height = fullRect.height;
  if (distance >= 0) {
    if (index == count - 1) return;
    ListItemBase& next = *list->items[static_cast<std::size_t>(index) + 1];
    const int32_t nextHeight = next.control->fullRect.height;
    if (distance > std::min(nextHeight, (height + nextHeight) / 2) + 4) swapOrder(next);
  } else {
    if (index == 0) return;
    ListItemBase& previous = *list->items[static_cast<std::size_t>(index) - 1];
    const int32_t previousHeight = previous.control->fullRect.height;
    if (distance < std::min((height - previousHeight) / 2, 0) - 4) swapOrder(previous);
  }
}

void SceneButtonControl::procLButtonUp(int32_t, int32_t) {
  pressed_ = false;
  redraw();
  if (mouseService && mouseService->isMoved()) return;
  // Switching rebuilds the list, which destroys this row: nothing of it is used afterwards.
  const int32_t id = scene_->id;
  if (Edit::EditService* edit = Edit::EditService::instance()) edit->updateScene(id);
}

void SceneButtonControl::procCaptureCancel() {
  pressed_ = false;
  redraw();
}

void SceneButtonControl::buildContextMenu(Window::BaseMenu& menu) {
  if (Edit::EditService* edit = Edit::EditService::instance())
    edit->appendSceneMenu(scene_->id, menu);
  menu.insertSeparator();
  window_->createPopupMenu(menu);
}

void SceneButtonControl::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  buildContextMenu(menu);
  if (!menuOpen_) {
    menuOpen_ = true;
    redraw();
  }
  // The chosen command runs after the closing callback and may rebuild the list, which
  // destroys this row: nothing of it is used after show.
  menu.show([this] {
    menuOpen_ = false;
    redraw();
  });
}

void SceneButtonControl::procMouseHover() { scene_->showInfoTooltip(); }

const Media::Brush& SceneButtonControl::bodyBrush(Window::StyleBrushList& brushes) const {
  const Edit::EditService* edit = Edit::EditService::instance();
  if (edit && edit->currentScene() == scene_) return *brushes.ButtonBodySelect.get();
  if (menuOpen_) return *brushes.ButtonBodyPress.get();
  if (!enabled) return *brushes.ButtonBodyDisable.get();
  if (pressed_) return *brushes.ButtonBodyPress.get();
  if (hovered) return *brushes.ButtonBodyHover.get();
  return *brushes.ButtonBody.get();
}

void SceneButtonControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  Control::ControlDrawScope scope(*this);
  const Media::Bitmap* icon = drawing.bitmaps ? drawing.bitmaps->Movie.get() : nullptr;
  paintListRow(scope, *this, bodyBrush(scope.brushes()), icon, scene_->name,
               scope.width() - listItemHeight());
}

}  // namespace Component
