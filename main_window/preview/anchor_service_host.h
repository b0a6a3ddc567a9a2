#pragma once
// The anchor control's questions answered by the program's services: the edit settings,
// the current scene's focus and selection, the undo service's drag step, the edit-update
// scope of each drag step and the window dispatcher's drag for the control that owns the
// press. Without a service the answers are the harmless ones (nothing selected, nothing
// recorded).
#include <cstdint>

#include "main_window/preview/anchor_control_host.h"

namespace Window {
class WindowMouse;
}

namespace Anchor {

class AnchorServiceHost : public AnchorControlHost {
 public:
  // `target` is the picture control that receives the presses.
  explicit AnchorServiceHost(Window::WindowMouse& target) : target_(target) {}

  // The local press point a drag starts from; the picture control sets it before it hands
  // the press on.
  void setPressPoint(int32_t x, int32_t y) {
    pressX_ = x;
    pressY_ = y;
  }

  bool singleClickFocusesObject() const override;
  bool clickSelectsGroup() const override;
  bool hoverHidesOtherAnchors() const override;
  const Edit::Object* focusObject() const override;
  bool isSelected(const Edit::Object& object) const override;
  bool selectionEmpty() const override;
  void setFocusObject(const std::shared_ptr<Edit::Object>& object) override;
  void clickSelectObject(const std::shared_ptr<Edit::Object>& object, bool withGroup) override;
  void clickOutsideSelection() override;
  int sceneWidth() const override;
  int sceneHeight() const override;
  std::shared_ptr<Effect::EffectBase> firstEffect(const Edit::Object& object) const override;
  std::string layerName(const Edit::Object& object) const override;
  void beginDrag(bool dragCursor) override;
  void beginUndoStep() override;
  void recordEffect(const std::shared_ptr<Effect::EffectBase>& effect) override;
  void commitUndoStep() override;
  void runDragStep(const std::function<void()>& step) override;

 private:
  Window::WindowMouse& target_;
  int32_t pressX_ = 0;
  int32_t pressY_ = 0;
};

}  // namespace Anchor
