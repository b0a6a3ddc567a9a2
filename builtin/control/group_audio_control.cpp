#include "builtin/control/group_audio_control.h"

namespace Effect {

GroupAudioControl::GroupAudioControl()
    : EffectBase(kName, EffectType::Control, MediaType::Audio, TargetType::Audio),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01),
      balance(items, "左右", 0.0, -100.0, 100.0, 0.01),
      layerRange(items, "対象レイヤー数", 0) {
  label = "オブジェクト制御";
}

std::shared_ptr<EffectBase> GroupAudioControl::create() const {
  return std::make_shared<GroupAudioControl>();
}

EffectItemLayerRange* GroupAudioControl::getLayerRange() { return &layerRange; }

}  // namespace Effect
