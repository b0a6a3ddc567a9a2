#include "builtin/control/scene_change.h"

#include <array>
#include <mutex>
#include <utility>

#include "gpu/resource/resource_service.h"

namespace Effect {

SceneChange::SceneChange()
    : EffectBase(kName, EffectType::Control, MediaType::Video, TargetType::Video),
      kind(items, "種類", 0, getSceneChangeList()),
      angle(items, "角度", 0.0, 0.0, 360.0, 1.0),
      divisions(items, "分割数", 5.0, 2.0, 1000.0, 1.0),
      blur(items, "ぼかし", 2.0, 0.0, 100.0, 1.0),
      vertical(items, "縦方向", false),
      reverse(items, "反転", false),
      keepAspect(items, "縦横比固定", true) {
  kind.notify = true;
  label = "シーンチェンジ";
  targetType = TargetType::SceneChange;
}

std::shared_ptr<EffectBase> SceneChange::create() const { return std::make_shared<SceneChange>(); }

std::shared_ptr<EffectItemSelect::SharedList> SceneChange::getSceneChangeList() {
  static constexpr std::array<const char*, kBuiltinCount> kBuiltinNames = {
      "クロスフェード", "暗転",       "ホワイトアウト", "スライス", "ランダムライン",
      "スライド",       "押し出し",   "スワップ",       "縮小回転", "回転",
      "キューブ回転",   "放射ブラー", "ぼかし"};
  // Kept with the resources it was built from: the list is built once per run, and anew
  // only when the shared drawing resources came or went since (a headless start, tests).
  static std::mutex mutex;
  static const Resource::ResourceService* source = nullptr;
  static std::shared_ptr<EffectItemSelect::SharedList> built;
  const Resource::ResourceService* resources = Resource::ResourceService::instance();
  std::lock_guard lock(mutex);
  if (built && source == resources) return built;
  auto list = EffectItemSelect::createSharedList();
  for (int value = 0; value < kBuiltinCount; ++value) list->setItem(value, kBuiltinNames[value]);
  // The list keeps its own copies of the wipe names.
  if (resources)
    for (const auto& [value, name] : resources->transitionList().choices()->entries)
      list->addItem(kBuiltinCount + value, name);
  source = resources;
  built = std::move(list);
  return built;
}

}  // namespace Effect
