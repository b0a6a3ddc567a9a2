#include "main_window/timeline/edit_layer_object_control.h"

#include <algorithm>
#include <utility>

#include "edit/frame_zoom.h"
#include "edit/object.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"
#include "ui/controls/control_paint.h"

namespace Component {
namespace {

constexpr int32_t kControlKey = 0x11;

}  // namespace

EditLayerObjectControl::EditLayerObjectControl(EditComponent& component,
                                               Window::WindowControl& parent, int32_t x)
    : WindowControlRenderTarget(parent, x, 0, 0, 0),
      owner(component),
      font(&Control::textFormat(Resource::ResourceService::kLayerObject)) {
  acceptsRightButton = acceptsWheel = acceptsContextMenu = acceptsDrop = true;
  if (!eventService) return;
  const auto alive = owner.aliveToken();
  eventService->focusObjectChanged().add([this, alive](const Event::ObjectReference& object) {
    if (!*alive) return;
    const std::shared_ptr<Edit::Object> old = std::exchange(focusMark, object);
    if (old && (!object || old->layer != object->layer)) repaintRowOf(old);
    repaintRowOf(object);
  });
  eventService->sceneChanged().add([this, alive](int) {
    if (*alive) focusMark = editService->currentScene()->focusObject;
  });
  eventService->selectionChanged().add([this, alive] {
    if (*alive) paintTogether(owner, [this] { procPaint(); });
  });
}

void EditLayerObjectControl::repaintRowOf(const std::shared_ptr<Edit::Object>& object) {
  if (object && object->layer >= 0)
    paintTogether(owner, [this, layer = object->layer] { drawLayerRow(layer); });
}

void EditLayerObjectControl::procRButtonDown(int32_t x, int32_t y) {
  if (!mouseService || mouseService->pressedTarget() != this) return;
  mouseService->beginDrag(x, y, Window::MouseCursor::SizeAll);
  mode = DragMode::Pan;
  pressFirstLayer = owner.firstLayer();
  pressFirstFrame = owner.firstFrame();
}

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
  if (bandWidth != 0 && bandHeight != 0)
    scope.target().drawRectangle(bandLeft, bandTop, bandRight, bandBottom,
                                 *scope.brushes().BorderSelect.get(), 2, dashedStroke());
}

bool EditLayerObjectControl::restoreSavedPixels() {
  if (!pixelsSaved) return false;
  pixelsSaved = false;
  paintTogether(owner, [this] { savedPixels.popImage(); });
  return true;
}

void EditLayerObjectControl::drawPlayerCursor() {
  const int32_t frame = playerCursorFrame;
  const int32_t first = owner.firstFrame();
  if (frame < 0 || !Control::isPaintable(*this)) return;
  if (frame < first || frame > first + Timeline::pixelsToFrames(fullRect.width, owner.zoom()) + 1)
    return;
  const int32_t left = owner.frameToPixel(frame), right = owner.frameToPixel(frame + 1);
  paintTogether(owner, [&] {
    savedPixels.pushImage(&fullRect.x, drawing.renderTarget, left, 0, right - left + 1,
                          fullRect.height);
    pixelsSaved = true;
    Control::ControlDrawScope scope(*this);
    const Media::Brush& brush = *scope.brushes().PlayerCursor.get();
    if (right - left < 2)
      scope.target().drawLine(left, 1, left, fullRect.height, brush, 1, nullptr);
    else
      scope.target().fillRectangle(left, 1, right, fullRect.height, brush);
  });
}

}  // namespace Component
