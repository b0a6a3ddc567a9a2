#pragma once
// The effect chain at the head of every object: the effects in processing and display
// order, and the flag that says the chain's control effect governs the layers below.
//
// Chain operations are mechanical model operations: they take no lock, record no undo and
// fire no events. Commands wrap them in an edit-update scope.
#include <memory>
#include <vector>

#include "effect/effect_item_number.h"

namespace Effect {
class EffectBase;
}  // namespace Effect

namespace Edit {

class Object;
class Scene;

// The number items' values recorded at a frame (splits, new midpoints, joins): per item the
// value in display units, and the point index the new value belongs at, -1 when none. The
// items look themselves up in it when they take their values for new or rewritten points.
using SectionValue = Effect::SectionValue;
using SectionValueMap = Effect::SectionValueMap;

class EffectManager {
 public:
  using EffectList = std::vector<std::shared_ptr<Effect::EffectBase>>;

  // True while the chain's control effect is a group or camera control: the object then
  // governs a range of the layers below it. Copied with the chain.
  bool controlFlag = false;
  // The chain: a media object holds its input, its output, then its filters; a filter
  // object filters only; a control object its control effect, then filters.
  EffectList effects;

  // Makes `target`'s chain an independent copy of this one: for each effect a fresh
  // instance of the same registered kind (found by its name), with the item values and the
  // switched-off, folded and locked flags copied; then the control flag. The copy shares no
  // effect with this chain. On a failure (an effect the registry does not know, items that
  // do not match) the target keeps its chain.
  void copyEffects(EffectManager& target) const;

  // Asks every number item of the effect to hold one value per point of an object with
  // `sectionCount` sections (a movement with a fixed value count keeps its count).
  static void setSectionNum(Effect::EffectBase& effect, int sectionCount);

  // Records every number item of this chain at frame `frame` of `object` (the object that
  // owns this chain): its value there, in display units. With `straight` set a time-controlled
  // track is read on the straight line between the two points around the frame.
  void copySectionValues(SectionValueMap& out, Scene& scene, const std::shared_ptr<Object>& object,
                         int frame, bool straight) const;
};

}  // namespace Edit
