#include "builtin/filter/flash_filter.h"

#include <cmath>

#include "builtin/choice_lists.h"
#include "builtin/filter/blur_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/filter/light_drawing.h"
#include "gpu/resource_buffer.h"

namespace Effect {

FlashFilter::FlashFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      x(items, "X", 0.0, -2000.0, 2000.0, 0.1),
      y(items, "Y", 0.0, -2000.0, 2000.0, 0.1),
      composite(items, "合成モード", 0, FlashCompositeList()),
      lightColor(items, "光色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> FlashFilter::create() const { return std::make_shared<FlashFilter>(); }

OwnedImage FlashFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  float& centerX = context.outputView.centerX;
  float& centerY = context.outputView.centerY;
  const float beforeX = centerX;
  const float beforeY = centerY;
  OwnedImage light = BlurFilter::radialBlur(
      defaultEffect<BlurFilter>(), *image, centerX, centerY, kBurstRange,
      static_cast<float>(x.getValue(context)), static_cast<float>(y.getValue(context)),
      fixedSize.value);
  tintLight(*light, lightColor);
  const auto level = static_cast<float>(strength.getValue(context) / 100.0);
  if (level < 1.0f) {
    const float scale[4] = {0.0f, 0.0f, 0.0f, level};
    drawColour(*light, scale, kLightScaleByAlpha);
  }
  if (composite.value == kLightOnly) return light;

  // The picture where it lay before the burst grew around it: the growth centred, less the
  // move of the centre.
  const auto offset = [](uint32_t side, uint32_t grown, float shift) {
    return static_cast<int32_t>(std::lround(
        (static_cast<float>(side) - static_cast<float>(grown)) * 0.5f - shift));
  };
  drawMoved(*light, *image, offset(image->width(), light->width(), centerX - beforeX),
            offset(image->height(), light->height(), centerY - beforeY),
            composite.value == kBehind ? kLightOver : kLightAddBehind);
  return light;
}

}  // namespace Effect
