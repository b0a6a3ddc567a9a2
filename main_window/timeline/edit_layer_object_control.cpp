#include "main_window/timeline/edit_layer_object_control.h"

#include <algorithm>

#include "edit/frame_zoom.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"
#include "ui/controls/control_paint.h"

namespace Component {
namespace {

constexpr int32_t kShiftKey = 0x10;
constexpr int32_t kControlKey = 0x11;

}  // namespace

EditLayerObjectControl::EditLayerObjectControl(EditComponent& component,
                                               Window::WindowControl& parent, int32_t x)
    : WindowControlRenderTarget(parent, x, 0, 0, 0),
      owner(component),
      font(&Control::textFormat(Resource::ResourceService::kLayerObject)) {
  acceptsRightButton = acceptsWheel = true;
  if (eventService) {
    eventService->selectionChanged().add([this, alive = owner.aliveToken()] {
      if (*alive) Control::repaint(*this);
    });
  }
}

void EditLayerObjectControl::procLButtonDown(int32_t x, int32_t y) {
  if (!mouseService) return;
  const Edit::Scene& scene = owner.scene();
  // A double click on the ruler clears the frame range instead of moving the cursor.
  if (y < 0 && scene.selectedFrameStart >= 0 && scene.selectedFrameEnd >= 0 &&
      mouseService->isDoubleClick() && !mouseService->isKeyDown(kShiftKey)) {
    owner.setFrameRange(-1, -1);
    return;
  }
  if (mouseService->isKeyDown(kControlKey)) return;
  // Drag positions are control coordinates: the origin is the control's top-left corner.
  mouseService->beginDrag(0, 0, Window::MouseCursor::Arrow);
  mode = DragMode::Cursor;
  owner.setCursorFromPosition(x);
}

void EditLayerObjectControl::procRButtonDown(int32_t x, int32_t y) {
  if (!mouseService || mouseService->pressedTarget() != this) return;
  mouseService->beginDrag(x, y, Window::MouseCursor::SizeAll);
  mode = DragMode::Pan;
  pressLayer = owner.firstLayer();
  pressFrame = owner.firstFrame();
}

void EditLayerObjectControl::procMouseDrag(int32_t dx, int32_t dy) {
  switch (mode) {
    case DragMode::Cursor: owner.setCursorFromPosition(dx); break;
    case DragMode::Pan: {
      const int32_t layer = Timeline::clampStart(pressLayer - dy / layerHeight,
                                                 owner.layerRange - owner.visibleLayers);
      const int32_t frame =
          Timeline::clampStart(pressFrame - Timeline::pixelsToFrames(dx, owner.zoom()),
                               owner.frameRange - owner.visibleFrames);
      owner.setView(layer, frame, owner.scene().cursorFrame);
      break;
    }
    default: break;
  }
}

void EditLayerObjectControl::procCaptureCancel() { mode = DragMode::None; }

void EditLayerObjectControl::procMouseWheel(int32_t x, int32_t, int32_t delta) {
  const Edit::Scene& scene = owner.scene();
  if (mouseService && mouseService->isKeyDown(kControlKey)) {
    const int32_t pivot = owner.pixelToFrame(x);
    owner.setFrameZoom(Edit::FrameZoom::shift(scene.zoom.zoom, delta > 0 ? 1 : -1), pivot);
    return;
  }
  int32_t layer = owner.firstLayer(), frame = owner.firstFrame();
  if (owner.settings.layerWheelMode) {
    layer = Timeline::clampStart(layer + (delta > 0 ? -1 : 1),
                                 owner.layerRange - owner.visibleLayers);
  } else {
    // One notch moves 100 pixels' worth of frames.
    const int32_t step = Timeline::pixelsToFrames(100, scene.zoom.zoom);
    frame = Timeline::clampStart(frame + (delta > 0 ? -step : step),
                                 owner.frameRange - owner.visibleFrames);
  }
  owner.setView(layer, frame, scene.cursorFrame);
}

void EditLayerObjectControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  owner.ensureLayerSlots();
  Control::ControlDrawScope scope(*this);
  const int32_t first = owner.firstLayer();
  for (int32_t layer = first; layer < first + owner.visibleLayers; ++layer) drawLayerRow(layer);
  drawPlayerCursor();
}

void EditLayerObjectControl::clearPlayerCursor() {
  if (playerCursorFrame < 0) return;
  playerCursorFrame = -1;
  paintTogether(owner, [this] { procPaint(); });
}

void EditLayerObjectControl::drawPlayerCursor() {
  const int32_t frame = playerCursorFrame;
  const int32_t first = owner.firstFrame();
  if (frame < 0 || !Control::isPaintable(*this)) return;
  if (frame < first || frame > first + Timeline::pixelsToFrames(fullRect.width, owner.zoom()) + 1)
    return;
  Control::ControlDrawScope scope(*this);
  const int32_t left = owner.frameToPixel(frame), right = owner.frameToPixel(frame + 1);
  const Media::Brush& brush = *scope.brushes().PlayerCursor.get();
  if (right - left < 2)
    scope.target().drawLine(left, 1, left, fullRect.height, brush, 1, nullptr);
  else
    scope.target().fillRectangle(left, 1, right, fullRect.height, brush);
}

}  // namespace Component
