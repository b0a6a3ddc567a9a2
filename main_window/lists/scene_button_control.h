#pragma once
// One row of the scene list: shows a scene, makes it current on a click, moves it among the
// other scenes when dragged up or down, and offers the scene commands in its context menu.
#include <cstdint>
#include <memory>

#include "ui/controls/button_control.h"
#include "ui/controls/list_item_control.h"

namespace Edit {
class Scene;
}
namespace Window {
class BaseMenu;
}

namespace Component {

class SceneListComponent;

class SceneButtonControl : public Control::ButtonControl, public Control::ListItemBase {
 public:
  // A row of the list's item container, as wide as the list and one item high plus the
  // 2-pixel strip. The row keeps the scene alive while it exists; its menu ends with the
  // window's.
  SceneButtonControl(SceneListComponent& window, Control::ListItemControl& owner,
                     std::shared_ptr<Edit::Scene> scene);
  ~SceneButtonControl() override;

  // The scene's display order orders the rows; the root scene's row stays where it is.
  int32_t getSortKey() override;
  void setSortKey(int32_t key) override;
  bool canMove() override;

  void procLButtonDown(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procLButtonUp(int32_t x, int32_t y) override;
  void procCaptureCancel() override;
  void procContextMenu(int32_t x, int32_t y) override;
  void procMouseHover() override;
  void procPaint() override;

  // The row's context menu: the scene commands, a separator, then the window's menu.
  void buildContextMenu(Window::BaseMenu& menu);

  const std::shared_ptr<Edit::Scene>& scene() const { return scene_; }
  bool isPressed() const { return pressed_; }
  bool isMenuOpen() const { return menuOpen_; }

 private:
  // The body colour of the row's state.
  const Media::Brush& bodyBrush(Window::StyleBrushList& brushes) const;
  // Moves the row one place toward the pointer when the pointer has passed far enough into
  // the neighbouring row.
  void followPointer(int32_t y);

  SceneListComponent* window_;
  bool pressed_ = false;
  bool menuOpen_ = false;
  std::shared_ptr<Edit::Scene> scene_;
};

}  // namespace Component
