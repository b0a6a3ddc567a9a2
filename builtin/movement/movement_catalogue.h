#pragma once
// The built-in movement kinds beyond the framework's own three, for the registry's
// catalogue (EffectService::Catalogue::movements).
namespace Effect {

class EffectService;

// Registers "直線移動(時間制御)", "補間移動", "補間移動(時間制御)", "ランダム移動" and
// "瞬間移動", in this order: their registration indexes are their default menu positions,
// right after "移動無し", "再生範囲" and "直線移動".
void registerMovements(EffectService& registry);

}  // namespace Effect
