// The layer header's edits: lock, show, rename, insert, delete and drag a layer, and its
// context menu. Each edit is one edit-update scope with one undo step; closing the scope
// tells the edit data and layer listeners.
#include <memory>

#include "edit/edit_ui.h"
#include "edit/layer.h"
#include "edit/layer_undo.h"
#include "edit/object.h"
#include "edit/undo_item.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_header_control.h"
#include "ui/controls/control_paint.h"
#include "ui/menu_popup.h"
#include "ui/mouse_selection_input.h"

namespace Component {
namespace {

constexpr int32_t kControlKey = 0x11;

// A layer edit's requests: the rows are rebuilt when `layersMove`, the edit data and layer
// listeners are told, and the scope's undo step is open.
void asLayerEdit(Edit::UpdateSection& scope, bool layersMove) {
  scope.updateLayer = layersMove;
  scope.notifyObject = true;
  scope.notifyLayer = true;
  scope.beginUndo();
}

template <class Op>
std::unique_ptr<Undo::UndoItem> layerItem(const std::shared_ptr<Edit::Layer>& record,
                                          bool captureNow) {
  auto item = std::make_unique<Undo::UndoItemTemplate<Edit::Layer, Op>>(record);
  if (captureNow) item->captureBefore();
  return item;
}

}  // namespace

// One change of a layer's record (lock, show, name), recorded for undo.
void EditLayerHeaderControl::updateLayerRecord(int32_t layer,
                                               const std::function<void(Edit::Layer&)>& change) {
  Edit::UpdateSection scope = editService->beginUpdate();
  asLayerEdit(scope, false);
  const std::shared_ptr<Edit::Layer> record = scope.scene->ensureLayer(layer).layer;
  undoService->pushLayerUpdate(record);
  change(*record);
  scope.close();
}

void EditLayerHeaderControl::toggleLayerLock(int32_t layer) {
  updateLayerRecord(layer, [](Edit::Layer& record) { record.locked = !record.locked; });
}

void EditLayerHeaderControl::toggleLayerHide(int32_t layer) {
  updateLayerRecord(layer, [](Edit::Layer& record) { record.hidden = !record.hidden; });
}

void EditLayerHeaderControl::toggleOtherLayers(int32_t layer) {
  Edit::UpdateSection scope = editService->beginUpdate();
  asLayerEdit(scope, false);
  Edit::Scene& scene = *scope.scene;
  bool allShown = true;
  for (int32_t j = 0; j < scene.layerCount(); ++j)
    if (scene.getLayerObjects(j).layer->hidden) allShown = false;
  for (int32_t j = 0; j < scene.layerCount(); ++j) {
    const std::shared_ptr<Edit::Layer>& record = scene.editLayerObjects(j)->layer;
    undoService->pushLayerUpdate(record);
    record->hidden = allShown && j != layer;
  }
  scope.close();
}

void EditLayerHeaderControl::renameLayer(int32_t layer) {
  const std::shared_ptr<Edit::Layer>& current =
      editService->currentScene()->getLayerObjects(layer).layer;
  std::string name = current ? current->name : std::string();
  if (!Edit::editUi().inputText("レイヤー名を変更", name)) return;
  updateLayerRecord(layer, [&name](Edit::Layer& record) { record.name = name; });
}

void EditLayerHeaderControl::insertLayer(int32_t layer) {
  Edit::UpdateSection scope = editService->beginUpdate();
  asLayerEdit(scope, true);
  auto record = std::make_shared<Edit::Layer>();
  // Recorded as absent: undo takes the new layer out again.
  undoService->pushItem(layerItem<Edit::LayerUndoCreateDelete>(record, false));
  scope.scene->insertLayer(layer, record);
  scope.close();
}

void EditLayerHeaderControl::deleteLayer(int32_t layer) {
  setHoveredLayer(-1);
  Edit::UpdateSection scope = editService->beginUpdate();
  asLayerEdit(scope, true);
  Edit::Scene& scene = *scope.scene;
  Edit::LayerObjects* slot = scene.editLayerObjects(layer);
  if (!slot) {
    scope.close();
    return;
  }
  for (const std::shared_ptr<Edit::Object>& object : slot->objects)
    if (object->layer == layer) undoService->pushObjectDelete(object);
  // Recorded at its place: undo puts the layer back there, then its objects.
  undoService->pushItem(layerItem<Edit::LayerUndoCreateDelete>(slot->layer, true));
  scene.deleteLayer(layer);
  scope.close();
}

void EditLayerHeaderControl::beginLayerMove() {
  if (layerMoved) return;
  layerMoved = true;
  undoService->beginStep();
  const std::shared_ptr<Edit::Layer> record =
      editService->currentScene()->getLayerObjects(hoveredLayer).layer;
  if (record) undoService->pushItem(layerItem<Edit::LayerUndoMove>(record, true));
}

void EditLayerHeaderControl::procLButtonDown(int32_t, int32_t) {
  if (hoveredLayer < 0 || !mouseService) return;
  // Drag positions are control coordinates: the origin is the control's top-left corner.
  mouseService->beginDrag(-visibleRect.x + fullRect.x, -visibleRect.y + fullRect.y,
                          Window::MouseCursor::SizeNS);
  drawLayerHeader(hoveredLayer);
}

void EditLayerHeaderControl::procMouseDrag(int32_t, int32_t y) {
  if (hoveredLayer < 0) return;
  const int32_t target = (y >= 0 ? y / layerHeight : -1) + owner.firstLayer();
  if (target == hoveredLayer) return;
  beginLayerMove();
  Edit::UpdateSection scope = editService->beginUpdate();
  scope.updateLayer = true;
  if (scope.scene->moveLayer(hoveredLayer, target)) hoveredLayer = target;
  scope.close();
  Control::repaint(*this);
  owner.refreshAfterEdit(-1);
}

void EditLayerHeaderControl::procLButtonUp(int32_t, int32_t) {
  if (hoveredLayer < 0 || !mouseService || mouseService->isMoved()) return;
  if (!mouseService->isKeyDown(kControlKey)) {
    toggleLayerHide(hoveredLayer);
    return;
  }
  const Edit::LayerObjects& slot = editService->currentScene()->getLayerObjects(hoveredLayer);
  for (const std::shared_ptr<Edit::Object>& object : slot.objects)
    if (object->layer == hoveredLayer) editService->selectObject(object, false);
  if (editService->currentScene()->selection.empty()) return;
  if (!mouseService->keyWatchTarget()) mouseService->setKeyWatch(this, kControlKey);
  if (eventService) eventService->selectionChanged().fire();
}

void EditLayerHeaderControl::procCaptureCancel() {
  if (layerMoved) {
    layerMoved = false;
    undoService->commit();
    if (eventService) {
      eventService->editDataChanged().fire(nullptr);
      eventService->layersChanged().fire();
    }
  }
  if (hoveredLayer >= 0) drawLayerHeader(hoveredLayer);
}

void EditLayerHeaderControl::procKeyRelease() {
  editService->clickOutsideSelection(Window::inputTargetOf(this));
}

void EditLayerHeaderControl::procContextMenu(int32_t, int32_t) {
  const int32_t layer = hoveredLayer;
  if (layer < 0) return;
  const std::shared_ptr<Edit::Layer>& record =
      editService->currentScene()->getLayerObjects(layer).layer;
  const bool locked = record && record->locked;
  const bool shown = !(record && record->hidden);
  Window::PopupMenu menu;
  menu.insertItem("レイヤーをロック", [this, layer] { toggleLayerLock(layer); })
      .setCheck([locked] { return locked; });
  menu.insertItem("レイヤーの表示", [this, layer] { toggleLayerHide(layer); })
      .setCheck([shown] { return shown; });
  menu.insertItem("レイヤー名を変更", [this, layer] { renameLayer(layer); });
  menu.insertItem("他のレイヤーを表示/非表示", [this, layer] { toggleOtherLayers(layer); });
  menu.insertSeparator();
  menu.insertItem("レイヤーを挿入", [this, layer] { insertLayer(layer); });
  menu.insertItem("レイヤーを削除", [this, layer] { deleteLayer(layer); });
  menu.insertSeparator();
  owner.appendOptionMenu(menu);
  menu.show();
}

}  // namespace Component
