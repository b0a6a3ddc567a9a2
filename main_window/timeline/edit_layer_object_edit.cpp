// The edits of the timeline rows' drags: moving the selection, an object's start or end and
// a midpoint, each shortened to what fits and applied in its own edit-update scope (the
// drag's undo step was opened at the press), the snapping of dragged frames, and the band
// and cursor selections.
#include <algorithm>
#include <cmath>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/object_drag_limits.h"
#include "main_window/timeline/timeline_geometry.h"
#include "ui/virtual_key.h"

namespace Component {
namespace {

// The requests of a drag step's scope: rows rebuilt (when objects changed places), sections
// re-read by the setting window, the time-control window refreshed.
void asDragEdit(Edit::UpdateSection& scope, bool layersMove) {
  scope.updateLayer = layersMove;
  scope.resetSettingSection = true;
  scope.updateTimeSetting = true;
}

}  // namespace

void EditLayerObjectControl::moveSelection(int32_t& layers, int32_t& frames) {
  Edit::Scene& scene = owner.scene();
  const auto& selected = scene.selection.objects;
  if (selected.empty()) {
    layers = frames = 0;
    return;
  }
  const Timeline::SelectionDrag drag{&extent, currentLayer - pressLayer,
                                     currentFrame - pressFrame, owner.layerRange};
  if (!Timeline::limitSelectionMove(scene, drag, layers, frames)) {
    layers = frames = 0;
    owner.setView(scene.displayLayer, scene.displayFrame, scene.cursorFrame);
    return;
  }
  const int32_t lastFrame = scene.lastFrame();
  bool anyControl = false;
  Edit::UpdateSection scope = editService->beginUpdate();
  asDragEdit(scope, true);
  for (const std::shared_ptr<Edit::Object>& object : selected) {
    if (layers != 0) scope.scene->moveObjectToLayer(object, object->layer + layers);
    object->start += frames;
    object->end += frames;
    scope.scene->markSort(*object);
    if (object->controlFlag) {
      scope.scene->markRange(*object);
      anyControl = true;
    }
  }
  scope.close();
  applied = true;
  const bool oneRow = layers == 0 && extent.minLayer == extent.maxLayer &&
                      scene.lastFrame() == lastFrame && !anyControl;
  owner.refreshAfterEdit(oneRow ? selected.front()->layer : -1);
}

void EditLayerObjectControl::resizeStart(int32_t& delta) {
  Edit::Object* object = singleSelected();
  if (!object) {
    delta = 0;
    return;
  }
  delta = Timeline::limitStartChange(owner.scene(), *object, delta);
  if (delta == 0) return;
  Edit::UpdateSection scope = editService->beginUpdate();
  asDragEdit(scope, true);
  object->start += delta;
  for (int32_t& offset : object->boundaries) offset -= delta;  // midpoints keep their frames
  scope.scene->markSort(*object);
  scope.close();
  applied = true;
  owner.refreshAfterEdit(owner.scene().selection.hasControl ? -1 : object->layer);
}

void EditLayerObjectControl::resizeEnd(int32_t& delta) {
  Edit::Object* object = singleSelected();
  if (!object) {
    delta = 0;
    return;
  }
  delta = Timeline::limitEndChange(owner.scene(), *object, delta);
  if (delta == 0) return;
  const int32_t lastFrame = owner.scene().lastFrame();
  Edit::UpdateSection scope = editService->beginUpdate();
  asDragEdit(scope, true);
  object->end += delta;
  scope.scene->markSort(*object);
  scope.close();
  applied = true;
  const bool wholeView = owner.scene().lastFrame() != lastFrame || owner.scene().selection.hasControl;
  owner.refreshAfterEdit(wholeView ? -1 : object->layer);
}

void EditLayerObjectControl::moveMidpoint(int32_t& delta) {
  Edit::Object* object = singleSelected();
  if (!object || hover.index < 1) {
    delta = 0;
    return;
  }
  delta = Timeline::limitMidpointChange(*object, hover.index, delta);
  if (delta == 0) return;
  Edit::UpdateSection scope = editService->beginUpdate();
  asDragEdit(scope, false);
  object->boundaries[static_cast<std::size_t>(hover.index - 1)] += delta;
  scope.close();
  applied = true;
  owner.refreshAfterEdit(object->layer);
}

void EditLayerObjectControl::snapDelta(int32_t& delta) {
  if (!hover.object || !editService->settings.layerObjectMoveSnap) return;
  const Edit::Object& object = *hover.object;
  const int32_t threshold = 80000 / std::max(owner.zoom(), 1) + 1;
  int32_t distance = threshold, correction = 0;
  const auto consider = [&](int64_t frame) {
    const int32_t found = findSnapTarget(frame + delta, distance);
    if (found != 0 || distance == 0) correction = found;
  };
  switch (mode) {
    case DragMode::Move:
      consider(object.start);
      consider(static_cast<int64_t>(object.end) + 1);
      break;
    case DragMode::ResizeStart: consider(object.start); break;
    case DragMode::ResizeEnd: consider(static_cast<int64_t>(object.end) + 1); break;
    case DragMode::MoveMidpoint:
      if (hover.index >= 1 && hover.index <= static_cast<int32_t>(object.boundaries.size()))
        consider(static_cast<int64_t>(object.start) +
                 object.boundaries[static_cast<std::size_t>(hover.index - 1)]);
      break;
    default: return;
  }
  if (std::abs(correction) < threshold) delta += correction;
}

int32_t EditLayerObjectControl::findSnapTarget(int64_t frame, int32_t& distance) const {
  const Edit::Scene& scene = owner.scene();
  int64_t target = frame;
  bool found = false;
  const auto offer = [&](int64_t candidate) {
    const int64_t d = std::llabs(candidate - frame);
    if (d >= distance) return;
    distance = static_cast<int32_t>(d);
    target = candidate;
    found = true;
  };
  for (int32_t layer = 0; layer <= scene.lastUsedLayer() && distance > 0; ++layer) {
    const Edit::LayerObjects& slot = scene.getLayerObjects(layer);
    for (std::size_t i = Edit::lowerBoundObjectEnd(slot, frame - distance);
         i < slot.objects.size() && distance > 0; ++i) {
      const Edit::Object& object = *slot.objects[i];
      if (object.start > frame + distance) break;
      if (object.selected || object.layer != layer) continue;
      offer(object.start);
      for (const int32_t offset : object.boundaries) offer(static_cast<int64_t>(object.start) + offset);
      offer(static_cast<int64_t>(object.end) + 1);
    }
  }
  if (owner.settings.tempoGrid)
    if (const int32_t line = findTempoGridLine(frame); line >= 0) offer(line);
  if (distance > 0) offer(scene.cursorFrame);
  return found ? static_cast<int32_t>(target - frame) : 0;
}

int32_t EditLayerObjectControl::findTempoGridLine(int64_t frame) const {
  const Edit::Scene& scene = owner.scene();
  const TimelineSettings& grid = owner.settings;
  if (scene.rate <= 0 || scene.scale <= 0 || grid.tempoBeatPerMinute <= 0.0f) return -1;
  const double beat = scene.rate * 60.0 / (scene.scale * static_cast<double>(grid.tempoBeatPerMinute));
  const double origin = scene.rate * static_cast<double>(grid.tempoOffsetTime) / scene.scale;
  const double pixelsPerFrame = owner.zoom() / 10000.0;
  for (const double step : {beat, beat * grid.tempoBeatTime}) {
    if (step > 0.0 && step * pixelsPerFrame > 5.0)
      return static_cast<int32_t>(std::round((frame - origin) / step) * step + origin);
  }
  return -1;
}

void EditLayerObjectControl::selectInBand() {
  Edit::Scene& scene = owner.scene();
  const int32_t firstRow = owner.firstLayer() + std::max(bandTop, 0) / layerHeight;
  const int32_t lastRow = owner.firstLayer() + std::min(bandBottom, fullRect.height) / layerHeight;
  const int32_t firstFrame = owner.pixelToFrame(std::max(bandLeft, 0));
  const int32_t lastFrame = owner.pixelToFrame(std::min(bandRight, fullRect.width));
  for (int32_t layer = firstRow; layer <= lastRow; ++layer) {
    const Edit::LayerObjects& slot = scene.getLayerObjects(layer);
    for (const std::shared_ptr<Edit::Object>& object : slot.objects)
      if (object->layer == layer && !object->selected && object->end >= firstFrame &&
          object->start <= lastFrame)
        editService->selectObject(object, false);
  }
  if (eventService) eventService->selectionChanged().fire();
}

namespace {

// Selects the objects of unlocked layers for which `take` holds, then watches Ctrl and
// tells the selection listeners.
template <class Take>
void selectWhere(Edit::EditService& edit, Window::WindowMouse& control, Take take) {
  Edit::Scene& scene = *edit.currentScene();
  for (int32_t layer = 0; layer <= scene.lastUsedLayer(); ++layer) {
    const Edit::LayerObjects& slot = scene.getLayerObjects(layer);
    if (slot.layer && slot.layer->locked) continue;
    for (const std::shared_ptr<Edit::Object>& object : slot.objects)
      if (object->layer == layer && !object->selected && take(*object))
        edit.selectObject(object, false);
  }
  if (scene.selection.empty()) return;
  if (control.mouseService) control.mouseService->setKeyWatch(&control, Window::VirtualKey::kControl);
  if (edit.eventService) edit.eventService->selectionChanged().fire();
}

}  // namespace

void EditLayerObjectControl::selectObjectsFromCursor() {
  const int32_t cursor = owner.scene().cursorFrame;
  selectWhere(*editService, *this, [cursor](const Edit::Object& o) { return o.start >= cursor; });
}

void EditLayerObjectControl::selectObjectsUntilCursor() {
  const int32_t cursor = owner.scene().cursorFrame;
  selectWhere(*editService, *this, [cursor](const Edit::Object& o) { return o.end <= cursor; });
}

}  // namespace Component
