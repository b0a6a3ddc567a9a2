// The press and drag gestures of the timeline rows: focus and selection at the press, the
// drag of the selection, an edge or a midpoint, the rubber band, cursor scrubbing and
// panning, the arrow keys during a drag, and the end of the press.
#include <algorithm>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "effect/effect_event_param.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"
#include "system/text.h"
#include "ui/mouse_selection_input.h"
#include "ui/tool_tips.h"
#include "ui/virtual_key.h"

namespace Component {
namespace {

using Window::VirtualKey::kControl;
using Window::VirtualKey::kShift;

}  // namespace

Edit::Object* EditLayerObjectControl::singleSelected() const {
  const auto& selected = owner.scene().selection.objects;
  return selected.size() == 1 ? selected.front().get() : nullptr;
}

void EditLayerObjectControl::procLButtonDown(int32_t x, int32_t y) {
  if (!mouseService) return;
  const bool control = mouseService->isKeyDown(kControl);
  const bool doubleClick = mouseService->isDoubleClick();
  Edit::Scene& scene = owner.scene();
  const std::shared_ptr<Edit::Object> object =
      hover.object && hover.object->layer >= 0 ? hover.object : nullptr;

  if (object && !control) {
    if (doubleClick && object == scene.focusObject)
      editService->setFocusObject(nullptr);
    else if (doubleClick != (editService->settings.singleClickFocusLayerObject != 0))
      editService->setFocusObject(object);
  }
  if (object && hover.part != HitPart::Body && !control) {
    mouseService->beginDrag(0, 0, Window::MouseCursor::SizeWE);
    editService->selectObject(object, true);
    beginEditDrag(hover.part == HitPart::StartEdge ? DragMode::ResizeStart
                  : hover.part == HitPart::EndEdge ? DragMode::ResizeEnd
                                                   : DragMode::MoveMidpoint,
                  x, y);
    repaintRowOf(object);
    return;
  }
  if (object) {
    mouseService->beginDrag(0, 0, Window::MouseCursor::Arrow);
    editService->clickSelectObject(Window::inputTargetOf(this), object,
                                   editService->settings.clickLayerObjectSelectGroup != 0);
    beginEditDrag(DragMode::Move, x, y);
    return;
  }
  if (control) {
    mouseService->setKeyWatch(this, kControl);
    mouseService->beginDrag(0, 0, Window::MouseCursor::Arrow);
    pressX = x;
    pressY = y;
    bandWidth = bandHeight = 0;
    bandLeft = bandRight = x;
    bandTop = bandBottom = y;
    mode = DragMode::Band;
    pressFirstLayer = owner.firstLayer();
    pressFirstFrame = owner.firstFrame();
    return;
  }
  // A double click on the ruler clears the frame range instead of moving the cursor.
  if (y < 0 && scene.selectedFrameStart >= 0 && scene.selectedFrameEnd >= 0 && doubleClick &&
      !mouseService->isKeyDown(kShift)) {
    owner.setFrameRange(-1, -1);
    return;
  }
  // Drag positions are control coordinates: the origin is the control's top-left corner.
  mouseService->beginDrag(0, 0, Window::MouseCursor::Arrow);
  mode = DragMode::Cursor;
  owner.setCursorFromPosition(x);
}

void EditLayerObjectControl::beginEditDrag(DragMode dragMode, int32_t x, int32_t y) {
  mode = dragMode;
  applied = false;
  pressFirstLayer = owner.firstLayer();
  pressFirstFrame = owner.firstFrame();
  pressX = x;
  pressY = y;
  pressLayer = currentLayer = (y >= 0 ? y / layerHeight : -1) + pressFirstLayer;
  pressFrame = currentFrame = owner.pixelToFrame(x);
  const auto& selected = owner.scene().selection.objects;
  if (const Edit::Object* one = singleSelected()) {
    pressObjectStart = one->start;
    pressObjectEnd = one->end;
  }
  if (dragMode != DragMode::Move) showTimeTip(0);
  undoService->beginStep();
  for (const std::shared_ptr<Edit::Object>& object : selected) undoService->pushObjectUpdate(object);
  Edit::LayerObjectManager::getObjectRange(extent, selected);
}

void EditLayerObjectControl::procMouseDrag(int32_t x, int32_t y) {
  switch (mode) {
    case DragMode::Move:
      if (owner.scene().selection.empty()) {
        if (mouseService) mouseService->setCursor(Window::MouseCursor::No);
        return;
      }
      dragMove(x, y);
      return;
    case DragMode::ResizeStart:
    case DragMode::ResizeEnd:
    case DragMode::MoveMidpoint: {
      int32_t delta = owner.pixelToFrame(x) - currentFrame;
      snapDelta(delta);
      if (mode == DragMode::ResizeStart)
        resizeStart(delta);
      else if (mode == DragMode::ResizeEnd)
        resizeEnd(delta);
      else
        moveMidpoint(delta);
      currentFrame += delta;
      if (delta != 0) showTimeTip(0);
      return;
    }
    case DragMode::Cursor: owner.setCursorFromPosition(x); return;
    case DragMode::Band:
      bandWidth = x - pressX;
      bandHeight = y - pressY;
      bandLeft = std::min(pressX, x);
      bandRight = std::max(pressX, x);
      bandTop = std::min(pressY, y);
      bandBottom = std::max(pressY, y);
      selectInBand();
      return;
    case DragMode::Pan: {
      // Pan drags measure from the press point.
      const int32_t layer = Timeline::clampStart(pressFirstLayer - y / layerHeight,
                                                 owner.layerRange - owner.visibleLayers);
      const int32_t frame =
          Timeline::clampStart(pressFirstFrame - Timeline::pixelsToFrames(x, owner.zoom()),
                               owner.frameRange - owner.visibleFrames);
      owner.setView(layer, frame, owner.scene().cursorFrame);
      return;
    }
    case DragMode::None: return;
  }
}

void EditLayerObjectControl::dragMove(int32_t x, int32_t y) {
  Edit::Scene& scene = owner.scene();
  int32_t layers = ((y - 3) / layerHeight + scene.displayLayer) - currentLayer;
  int32_t frames = owner.pixelToFrame(x) - currentFrame;
  snapDelta(frames);
  if (mouseService && mouseService->isKeyDown(kShift)) {
    // Shift keeps the axis along which the pointer went less far.
    const int64_t totalFrames = static_cast<int64_t>(currentFrame) + frames - pressFrame;
    const int64_t totalLayers = static_cast<int64_t>(currentLayer) + layers - pressLayer;
    const int64_t framePixels = (std::llabs(totalFrames) * owner.zoom() + 5000) / 10000;
    if (framePixels < std::llabs(totalLayers) * layerHeight)
      frames = pressFrame - currentFrame;
    else
      layers = pressLayer - currentLayer;
  }
  // Dragging past an edge scrolls the view; the view applies it with the move.
  const int32_t areaWidth = fullRect.width, areaHeight = fullRect.height;
  if (y < 0)
    scene.displayLayer = std::max(scene.displayLayer + y / layerHeight, 0);
  else if (y >= areaHeight - layerHeight)
    scene.displayLayer = std::min(scene.displayLayer + 1 + (y - layerHeight - areaHeight) / layerHeight,
                                  owner.layerRange - owner.visibleLayers);
  if (x < 0)
    scene.displayFrame =
        std::max(scene.displayFrame - Timeline::pixelsToFrames(-static_cast<int64_t>(x), owner.zoom()), 0);
  else if (x >= areaWidth)
    scene.displayFrame =
        std::min(scene.displayFrame + Timeline::pixelsToFrames(x - areaWidth + 1, owner.zoom()),
                 owner.frameRange - owner.visibleFrames);
  moveSelection(layers, frames);
  currentLayer += layers;
  currentFrame += frames;
}

bool EditLayerObjectControl::procDragKey(int32_t key) {
  if (key != Window::VirtualKey::kLeft && key != Window::VirtualKey::kRight) return false;
  int32_t step = key == Window::VirtualKey::kLeft ? -1 : 1;
  switch (mode) {
    case DragMode::Move: {
      int32_t layers = 0;
      moveSelection(layers, step);
      break;
    }
    case DragMode::ResizeStart: resizeStart(step); break;
    case DragMode::ResizeEnd: resizeEnd(step); break;
    case DragMode::MoveMidpoint: moveMidpoint(step); break;
    default: return false;
  }
  currentFrame += step;
  return true;
}

void EditLayerObjectControl::procCaptureCancel() {
  endGesture(true);
  finishDrag();
}

void EditLayerObjectControl::procDragCancel() {
  endGesture(false);
  finishDrag();
}

void EditLayerObjectControl::procKeyRelease() { endGesture(true); }

void EditLayerObjectControl::endGesture(bool outside) {
  Edit::Scene& scene = owner.scene();
  bool dropped = false;
  if (bandWidth != 0 && bandHeight != 0) {
    bandWidth = bandHeight = 0;
    dropped = true;
  }
  const bool wasEditing = isEditMode();
  const bool moved = wasEditing && applied;
  if (wasEditing) {
    Edit::Selection& selection = scene.selection;
    if (Edit::Object* pending = selection.clickedSelected) {
      // A click on a member of a group that was selected already lets that member go.
      if (!(mouseService && mouseService->isMoved()) && pending->selected) {
        pending->selected = false;
        System::eraseIf(selection.objects,
                        [pending](const auto& object) { return object.get() == pending; });
      }
      selection.clickedSelected = nullptr;
      dropped = true;
    }
    finishDrag();
  }
  if (outside) editService->clickOutsideSelection(Window::inputTargetOf(this));
  if (moved) {
    if (eventService) eventService->editDataChanged().fire(nullptr);
  } else if (dropped) {
    owner.refreshAfterEdit(-1);
  }
}

void EditLayerObjectControl::finishDrag() {
  if (mode == DragMode::ResizeStart || mode == DragMode::ResizeEnd) {
    if (Edit::Object* object = singleSelected(); object && object->layer >= 0) {
      // The input effect hears that its object's start or end was dragged.
      Edit::UpdateSection scope = editService->beginUpdate();
      Effect::EffectEventParam event;
      event.kind = mode == DragMode::ResizeStart ? Effect::EffectEventParam::StartCut
                                                 : Effect::EffectEventParam::EndCut;
      event.scope = &scope;
      event.datum = mode == DragMode::ResizeStart ? pressObjectStart : pressObjectEnd;
      object->sendInputEffectEvent(event);
      scope.close();
    }
  }
  if (isEditMode()) {
    undoService->commit();
    Window::ToolTips::hide();
  }
  mode = DragMode::None;
  extent = {};
}

}  // namespace Component
