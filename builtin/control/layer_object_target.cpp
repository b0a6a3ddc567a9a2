// The target layer item's sampled position: defined here rather than with the item, as it
// reads the scene and the target object's output.
#include <cmath>

#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"

namespace Effect {
namespace {

// The output position of the input object on `layer` at the context's frame, or none.
bool sampleLayer(EffectContext& context, int layer, OutputView& view) {
  if (layer < 0 || !context.scene) return false;
  const auto object = context.scene->findObject(layer, context.frame, Edit::Scene::Video);
  if (!object || object->effects.size() < 2 || !object->effects[0] ||
      object->effects[0]->effectType != EffectType::Input || !object->effects[1])
    return false;
  EffectContext other = context;
  other.setObject(object, object->frames());
  view = object->effects[1]->getOutputView(other);
  return true;
}

}  // namespace

XMath::Vector EffectItemLayerObject::getTargetPosition(EffectContext& context) const {
  EffectItemList hidden;
  EffectItemNumber axes[3] = {{hidden, "X", 0.0, -100000.0, 100000.0, 0.01},
                              {hidden, "Y", 0.0, -100000.0, 100000.0, 0.01},
                              {hidden, "Z", 0.0, -100000.0, 100000.0, 0.01}};
  // One point in space: the kinds that measure a path measure it in three dimensions.
  NumberItemList position{&axes[0], &axes[1], &axes[2]};
  for (EffectItemNumber& axis : axes) {
    copyTrackSettings(axis);
    axis.linkGroup = &position;
  }
  const int count = static_cast<int>(values.size());
  if (count == 0) clampValueIndex(0);  // throws: a track without values
  for (int i = 0; i < count; ++i) {
    const int layer = values[static_cast<std::size_t>(clampValueIndex(i))] / scale - 1;
    OutputView view;
    if (!sampleLayer(context, layer, view)) continue;  // the new values hold 0
    // setValue rounds to the step and keeps a runaway position inside the range.
    axes[0].setValue(view.x, i);
    axes[1].setValue(view.y, i);
    axes[2].setValue(view.z, i);
  }
  return {static_cast<float>(axes[0].getValue(context)),
          static_cast<float>(axes[1].getValue(context)),
          static_cast<float>(axes[2].getValue(context)), 1.0f};
}

}  // namespace Effect
