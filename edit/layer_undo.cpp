#include "edit/layer_undo.h"

#include "edit/layer.h"
#include "edit/scene.h"
#include "edit/update_section.h"

namespace Edit {

namespace {

void requestLayerRefresh(UpdateSection& scope) {
  scope.notifyObject = true;
  scope.notifyLayer = true;
}

}  // namespace

void LayerUndoUpdate::capture(Layer& layer, LayerUndoUpdate& state) {
  state.hidden = layer.hidden;
  state.locked = layer.locked;
  state.name = layer.name;
}

bool LayerUndoUpdate::compare(LayerUndoUpdate& before, LayerUndoUpdate& after) {
  return before.hidden != after.hidden || before.locked != after.locked ||
         before.name != after.name;
}

void LayerUndoUpdate::restore(const std::shared_ptr<Layer>& layer, const LayerUndoUpdate& state,
                              UpdateSection& scope) {
  requestLayerRefresh(scope);
  layer->hidden = state.hidden;
  layer->locked = state.locked;
  layer->name = state.name;
}

void LayerUndoMove::capture(Layer& layer, LayerUndoMove& state) { state.index = layer.index; }

bool LayerUndoMove::compare(LayerUndoMove& before, LayerUndoMove& after) {
  return before.index != after.index;
}

void LayerUndoMove::restore(const std::shared_ptr<Layer>& layer, const LayerUndoMove& state,
                            UpdateSection& scope) {
  scope.updateLayer = true;
  requestLayerRefresh(scope);
  scope.scene->moveLayer(layer->index, state.index);
}

void LayerUndoCreateDelete::capture(Layer& layer, LayerUndoCreateDelete& state) {
  state.index = layer.index;
}

bool LayerUndoCreateDelete::compare(LayerUndoCreateDelete& before, LayerUndoCreateDelete& after) {
  return before.index != after.index;
}

void LayerUndoCreateDelete::restore(const std::shared_ptr<Layer>& layer,
                                    const LayerUndoCreateDelete& state, UpdateSection& scope) {
  scope.updateLayer = true;
  requestLayerRefresh(scope);
  if (state.index == -1) {
    if (layer->index >= 0) scope.scene->deleteLayer(layer->index);
  } else {
    layer->index = state.index;
    scope.scene->insertLayer(state.index, layer);
  }
}

}  // namespace Edit
