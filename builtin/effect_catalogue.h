#pragma once
// The built-in effect kinds in the registry's catalogue. Their registration order is their
// default menu order: the first run (inputs, outputs, controls, then the filters up to
// "振動") comes before the script files, the second run ("スクリプト制御", the camera
// effects, the basic transforms and the audio filters) after them.
//
//   EffectService::setCatalogue({movements, registerFirstEffects, {}, registerLastEffects});
namespace Effect {

class EffectService;

// The 61 kinds of the first run, from "動画ファイル" to "振動"; also makes the fixed choice
// lists first.
void registerFirstEffects(EffectService& registry);
// The 15 kinds of the second run, from "スクリプト制御" to "音量調整".
void registerLastEffects(EffectService& registry);

}  // namespace Effect
