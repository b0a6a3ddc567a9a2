#pragma once
// "ワイプ": makes the object appear and disappear through a wipe over its first and last seconds.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class WipeFilter : public EffectBase {
 public:
  static constexpr const char* kName = "ワイプ";

  WipeFilter();
  std::shared_ptr<EffectBase> create() const override;
  // During the first "イン" and the last "アウト" seconds of the object, the picture keeps
  // only the coverage of the chosen wipe at the progress of the fade (or, reversed, what
  // the wipe leaves uncovered); the rest of the time it passes unchanged.
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;

  EffectItemNumber wipeIn;
  EffectItemNumber wipeOut;
  EffectItemNumber blur;
  EffectItemSelect kind;
  EffectItemCheck keepAspect;
  EffectItemCheck invertIn;
  EffectItemCheck invertOut;
};

}  // namespace Effect
