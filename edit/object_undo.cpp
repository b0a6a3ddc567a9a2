#include "edit/object_undo.h"

#include "edit/object.h"
#include "edit/scene.h"
#include "edit/update_section.h"
#include "effect/effect_base.h"
#include "effect/effect_item_integer.h"

namespace Edit {

namespace {

// The scope's requests of a change to an effect chain or its values.
void requestEffectRefresh(UpdateSection& scope) {
  scope.rebuildEffectSetting = true;
  scope.updateTimeSetting = true;
  scope.updateColorSetting = true;
  scope.updateTextSetting = true;
}

// Puts the object on `layer`, or takes it off the scene for -1.
void placeObject(Scene& scene, const std::shared_ptr<Object>& object, int32_t layer) {
  if (layer < 0)
    scene.removeObject(*object);
  else
    scene.moveObjectToLayer(object, layer);
}

Effect::EffectItemLayerRange* layerRangeItem(Object& object) {
  if (object.effects.empty() || !object.effects.front()) return nullptr;
  return object.effects.front()->getLayerRange();
}

}  // namespace

// --- update -----------------------------------------------------------------------------

void ObjectUndoUpdate::capture(Object& object, ObjectUndoUpdate& state) {
  state.layer = object.layer;
  state.start = object.start;
  state.end = object.end;
  state.boundaries = object.boundaries.empty()
                         ? nullptr
                         : std::make_unique<std::vector<int32_t>>(object.boundaries);
}

bool ObjectUndoUpdate::compare(ObjectUndoUpdate& before, ObjectUndoUpdate& after) {
  const bool boundariesChanged = before.boundaries && after.boundaries &&
                                 before.boundaries->size() == after.boundaries->size() &&
                                 *before.boundaries != *after.boundaries;
  if (!boundariesChanged) {
    before.boundaries.reset();
    after.boundaries.reset();
  }
  return boundariesChanged || before.layer != after.layer || before.start != after.start ||
         before.end != after.end;
}

void ObjectUndoUpdate::restore(const std::shared_ptr<Object>& object, const ObjectUndoUpdate& state,
                               UpdateSection& scope) {
  scope.updateLayer = true;
  scope.resetSettingSection = true;
  scope.updateTimeSetting = true;
  Scene& scene = *scope.scene;
  object->start = state.start;
  object->end = state.end;
  scene.markSort(*object);
  if (state.layer != object->layer) placeObject(scene, object, state.layer);
  if (state.boundaries) object->boundaries = *state.boundaries;
}

// --- create / delete -----------------------------------------------------------------------

void ObjectUndoCreateDelete::capture(Object& object, ObjectUndoCreateDelete& state) {
  state.layer = object.layer;
}

bool ObjectUndoCreateDelete::compare(ObjectUndoCreateDelete& before,
                                     ObjectUndoCreateDelete& after) {
  return before.layer != after.layer;
}

void ObjectUndoCreateDelete::restore(const std::shared_ptr<Object>& object,
                                     const ObjectUndoCreateDelete& state, UpdateSection& scope) {
  scope.updateLayer = true;
  placeObject(*scope.scene, object, state.layer);
}

// --- sections ---------------------------------------------------------------------------

void ObjectUndoSection::capture(Object& object, ObjectUndoSection& state) {
  state.boundaries = object.boundaries;
}

bool ObjectUndoSection::compare(ObjectUndoSection& before, ObjectUndoSection& after) {
  return before.boundaries != after.boundaries;
}

void ObjectUndoSection::restore(const std::shared_ptr<Object>& object,
                                const ObjectUndoSection& state, UpdateSection& scope) {
  scope.resetSettingSection = true;
  scope.updateTimeSetting = true;
  object->boundaries = state.boundaries;
}

// --- group ------------------------------------------------------------------------------

void ObjectUndoGroup::capture(Object& object, ObjectUndoGroup& state) {
  state.group = object.group;
}

bool ObjectUndoGroup::compare(ObjectUndoGroup& before, ObjectUndoGroup& after) {
  return before.group != after.group;
}

void ObjectUndoGroup::restore(const std::shared_ptr<Object>& object, const ObjectUndoGroup& state,
                              UpdateSection&) {
  object->joinGroup(state.group);
}

// --- effect chain -----------------------------------------------------------------------

void ObjectUndoEffect::capture(Object& object, ObjectUndoEffect& state) {
  state.effects = object.effects;
  state.controlFlag = object.controlFlag;
}

bool ObjectUndoEffect::compare(ObjectUndoEffect& before, ObjectUndoEffect& after) {
  return before.effects != after.effects || before.controlFlag != after.controlFlag;
}

void ObjectUndoEffect::restore(const std::shared_ptr<Object>& object, const ObjectUndoEffect& state,
                               UpdateSection& scope) {
  requestEffectRefresh(scope);
  const bool wasControl = object->controlFlag;
  object->effects = state.effects;
  object->controlFlag = state.controlFlag;
  if (wasControl || state.controlFlag) {
    // The layer's range table holds the control's reach: rebuild it with the chain.
    scope.scene->markRange(*object);
    scope.updateLayer = true;
  }
}

// --- flags ------------------------------------------------------------------------------

void ObjectUndoFlag::capture(Object& object, ObjectUndoFlag& state) {
  state.clipping = object.clipping;
  state.camera = object.camera;
}

bool ObjectUndoFlag::compare(ObjectUndoFlag& before, ObjectUndoFlag& after) {
  return before.clipping != after.clipping || before.camera != after.camera;
}

void ObjectUndoFlag::restore(const std::shared_ptr<Object>& object, const ObjectUndoFlag& state,
                             UpdateSection& scope) {
  requestEffectRefresh(scope);
  object->clipping = state.clipping;
  object->camera = state.camera;
}

// --- layer range ------------------------------------------------------------------------

void ObjectUndoLayerRange::capture(Object& object, ObjectUndoLayerRange& state) {
  const Effect::EffectItemLayerRange* item = layerRangeItem(object);
  state.value = item ? item->value : 0;
}

bool ObjectUndoLayerRange::compare(ObjectUndoLayerRange& before, ObjectUndoLayerRange& after) {
  return before.value != after.value;
}

void ObjectUndoLayerRange::restore(const std::shared_ptr<Object>& object,
                                   const ObjectUndoLayerRange& state, UpdateSection& scope) {
  scope.updateLayer = true;
  requestEffectRefresh(scope);
  scope.scene->markRange(*object);
  if (Effect::EffectItemLayerRange* item = layerRangeItem(*object)) item->value = state.value;
}

}  // namespace Edit
