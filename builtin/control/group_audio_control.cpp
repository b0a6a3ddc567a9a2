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

namespace Effect {

void GroupAudioControl::controlAudio(EffectContext& context) {
  const float level = static_cast<float>(volume.getValue(context) * 0.01);
  const float pan = static_cast<float>(balance.getValue(context));
  gainLeft = level;
  gainRight = level;
  if (pan > 0.0f) gainLeft = (100.0f - pan) * 0.01f * level;
  if (pan < 0.0f) gainRight = (pan + 100.0f) * 0.01f * level;
  if (const auto* enclosing =
          Render::published<Render::GroupAudioControlState>(context.audio.groupAudioControl);
      enclosing && enclosing != this) {
    gainLeft *= enclosing->gainLeft;
    gainRight *= enclosing->gainRight;
  }
}

}  // namespace Effect
