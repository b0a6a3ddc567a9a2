#include "main_window/timeline/time_gauge_control.h"

#include <cmath>

#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/timeline_geometry.h"
#include "system/setting_service.h"
#include "ui/controls/control_paint.h"
#include "ui/menu_popup.h"

namespace Component {

TimeGaugeControl::TimeGaugeControl(EditComponent& component, Window::WindowControl& parent,
                                   int32_t x)
    : WindowControlRenderTarget(parent, x, 0, 0, 0),
      owner(component),
      font(&Control::textFormat(Resource::ResourceService::kTimeGauge)) {
  acceptsRightButton = acceptsWheel = acceptsContextMenu = true;
}

bool TimeGaugeControl::holdsPress() const {
  return mouseService && mouseService->pressedTarget() == this;
}

int32_t TimeGaugeControl::toAreaY(int32_t y) const {
  // The ruler ends where the object area begins: its points lie above the first row.
  return y + visibleRect.y - objectArea->visibleRect.y;
}

void TimeGaugeControl::procLButtonDown(int32_t x, int32_t y) {
  if (!objectArea || !holdsPress()) return;
  mouseService->handPress(objectArea);
  objectArea->procLButtonDown(x, toAreaY(y));
}

void TimeGaugeControl::procRButtonDown(int32_t x, int32_t y) {
  if (!objectArea || !holdsPress()) return;
  mouseService->handPress(objectArea);
  objectArea->procRButtonDown(x, toAreaY(y));
}

void TimeGaugeControl::procMouseWheel(int32_t x, int32_t y, int32_t delta) {
  if (objectArea) objectArea->procMouseWheel(x, toAreaY(y), delta);
}

void TimeGaugeControl::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  const Edit::Scene& scene = owner.scene();
  const bool hasRange = scene.selectedFrameStart >= 0 && scene.selectedFrameEnd >= 0;
  menu.insertItem("フレーム範囲選択を解除", [this] { owner.setFrameRange(-1, -1); })
      .setEnable([hasRange] { return hasRange; });
  menu.insertSeparator();
  owner.appendOptionMenu(menu);
  menu.show();
}

void TimeGaugeControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  const int32_t width = fullRect.width, height = fullRect.height;
  if (width <= 0 || height <= 0) return;
  Control::ControlDrawScope scope(*this);
  Media::RenderTarget& target = scope.target();
  Window::StyleBrushList& brushes = scope.brushes();
  const Edit::Scene& scene = owner.scene();
  const int32_t zoom = scene.zoom.zoom;
  const int32_t first = scene.displayFrame;
  const auto x = [&](int64_t frame) { return owner.frameToPixel(frame); };

  target.fillRectangle(0, 0, width, height, *brushes.Background.get());

  const int32_t middle = static_cast<int32_t>(height * 0.5);
  if (scene.selectedFrameStart >= 0 && scene.selectedFrameEnd >= 0) {
    target.fillRectangle(0, middle + 1, width, height, *brushes.FrameRangeOutside.get());
    target.fillRectangle(x(scene.selectedFrameStart), middle + 1, x(scene.selectedFrameEnd + 1),
                         height, *brushes.FrameRangeSelect.get());
  }

  const Setting::SettingService* settings = Setting::SettingService::instance();
  const float scale = settings ? settings->dpiScale : 1.0f;
  const int32_t minor = Timeline::minorTickStep(
      static_cast<int32_t>(std::lround(kTickSpacing * scale)), zoom);
  const int32_t major = minor * 10;
  const int32_t labelTop =
      static_cast<int32_t>(std::lround(height * 0.5 - Resource::TextFormat::getLineHeight(*font))) + 1;
  for (int64_t frame = first / major * static_cast<int64_t>(major); x(frame) < width;
       frame += minor) {
    const int32_t column = x(frame);
    const bool isMajor = frame % major == 0;
    if (isMajor) {
      Control::MeasuredText label =
          Control::measureText(*font, Timeline::timeLabel(frame, scene.rate, scene.scale));
      scope.drawLayout(label.layout.get(), column, labelTop, *brushes.Text.get());
    }
    if (column >= 0) {
      const int32_t top = isMajor ? middle : static_cast<int32_t>(height * 0.75);
      target.drawLine(column, top, column, height, *brushes.Border.get(), 1, nullptr);
    }
  }

  const int32_t cursorLeft = x(scene.cursorFrame), cursorRight = x(scene.cursorFrame + 1);
  if (cursorRight >= 0 && cursorLeft < width) {
    if (cursorRight - cursorLeft > 1)
      target.fillRectangle(cursorLeft, 0, cursorRight, height, *brushes.FrameCursorWide.get());
    else
      target.drawLine(cursorLeft, 0, cursorLeft, height, *brushes.FrameCursor.get(), 1, nullptr);
  }
}

}  // namespace Component
