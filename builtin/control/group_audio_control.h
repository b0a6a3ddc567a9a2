#pragma once
// "グループ制御(音声)": the volume and balance of the sound of the objects of the layers below.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "render/control_state.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"

namespace Effect {

class GroupAudioControl : public EffectBase, public Render::GroupAudioControlState {
 public:
  static constexpr const char* kName = "グループ制御(音声)";

  GroupAudioControl();
  std::shared_ptr<EffectBase> create() const override;
  // "対象レイヤー数": how many following layers the group governs (0: all).
  EffectItemLayerRange* getLayerRange() override;
  // Publishes the left and right gains, times the enclosing audio group's.
  void controlAudio(EffectContext& context) override;

  EffectItemNumber volume;
  EffectItemNumber balance;
  EffectItemLayerRange layerRange;
};

}  // namespace Effect
