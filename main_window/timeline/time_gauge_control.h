#pragma once
// The time ruler above the timeline rows: time labels and ticks of the visible frames, the
// selected frame range and the cursor. It edits nothing itself: presses and the wheel go on
// to the object area as if they happened just above its first row, and its context menu
// clears the frame range.
#include <cstdint>

#include "edit/edit_service.h"
#include "gpu/text/text_format.h"
#include "ui/window_control.h"

namespace Component {

class EditComponent;
class EditLayerObjectControl;

class TimeGaugeControl : public Edit::EditInstance, public Window::WindowControlRenderTarget {
 public:
  // Placed at (x, 0) in the ruler band, stretched to its right and bottom edges.
  TimeGaugeControl(EditComponent& owner, Window::WindowControl& parent, int32_t x);

  void procLButtonDown(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procContextMenu(int32_t x, int32_t y) override;
  void procPaint() override;

  // The tick spacing in pixels at a display scale of 1.
  static constexpr int32_t kTickSpacing = 10;

  EditComponent& owner;
  EditLayerObjectControl* objectArea = nullptr;  // where presses and the wheel go
  Resource::TextFormatResource* font;

 private:
  // Whether this control holds the press now (so it may hand it on).
  bool holdsPress() const;
  // The object area's coordinates of a point of the ruler.
  int32_t toAreaY(int32_t y) const;
};

}  // namespace Component
