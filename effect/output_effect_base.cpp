#include "effect/output_effect_base.h"

#include <algorithm>
#include <atomic>

#include "effect/effect_context.h"
#include "effect/output_video_drawer.h"

namespace Effect {

namespace {
std::atomic<OutputVideoDrawer*> installedDrawer{nullptr};
}  // namespace

void setOutputVideoDrawer(OutputVideoDrawer* drawer) { installedDrawer.store(drawer); }

OutputVideoDrawer* outputVideoDrawer() { return installedDrawer.load(); }

std::shared_ptr<EffectItemSelect::SharedList> BasicOutput::blendModeList() {
  static const std::shared_ptr<EffectItemSelect::SharedList> list = [] {
    auto made = EffectItemSelect::createSharedList();
    const char* const names[] = {"通常",     "加算",     "減算", "乗算", "スクリーン",
                                 "オーバーレイ", "比較(明)", "比較(暗)", "輝度", "色差",
                                 "陰影",     "明暗",     "差分"};
    for (int value = 0; value < static_cast<int>(std::size(names)); ++value)
      made->setItem(value, names[value]);
    return made;
  }();
  return list;
}

BasicOutput::BasicOutput(const char* name, uint8_t mediaType, uint8_t targetType,
                         const char* label)
    : EffectBase(name, EffectType::Output, mediaType, targetType, label) {}

void BasicOutput::outputVideo(EffectContext& context, Media::RenderBuffer& target,
                              OwnedImage& image) {
  OutputVideoDrawer* drawer = outputVideoDrawer();
  if (!drawer || !image) return;
  if (context.output2D)
    drawer->drawObject2D(context, target, *image);
  else
    drawer->drawObject(context, target, *image);
}

OutputView BasicOutput::getOutputView(EffectContext& context) {
  OutputView view = context.outputView;
  const auto value = [&context](const EffectItemNumber& item) {
    return static_cast<float>(item.getValue(context));
  };
  if (!context.positionApplied) {
    view.x += value(x);
    view.y += value(y);
    view.z += value(z);
  }
  if (!context.transformApplied) {
    view.rotationX += value(rotationX);
    view.rotationY += value(rotationY);
    view.rotationZ += value(rotationZ);
    view.centerX += value(centerX);
    view.centerY += value(centerY);
    view.centerZ += value(centerZ);
    const float scale = value(zoom) * 0.01f;
    if (scale != 1.0f) {
      view.scaleX *= scale;
      view.scaleY *= scale;
      view.scaleZ *= scale;
    }
    const float ratio = value(aspect);
    if (ratio > 0.0f) view.scaleX *= (100.0f - ratio) * 0.01f;
    if (ratio < 0.0f) view.scaleY *= (100.0f + ratio) * 0.01f;
  }
  view.opacity *= 1.0f - value(transparency) * 0.01f;
  if (blendMode.value != 0) view.blendMode = std::clamp(blendMode.value, 0, kMaxBlendMode);
  return view;
}

}  // namespace Effect
