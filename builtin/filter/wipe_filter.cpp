#include "builtin/filter/wipe_filter.h"

#include <algorithm>
#include <cmath>

#include "builtin/drawing_lists.h"
#include "edit/scene.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

WipeFilter::WipeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      wipeIn(items, "イン", 0.5, 0.0, 10.0, 0.01),
      wipeOut(items, "アウト", 0.5, 0.0, 10.0, 0.01),
      blur(items, "ぼかし", 2.0, 0.0, 100.0, 1.0),
      kind(items, "ワイプの種類", 0, transitionChoices()),
      keepAspect(items, "縦横比固定", true),
      invertIn(items, "反転(イン)", false),
      invertOut(items, "反転(アウト)", false) {
  label = "切り替え効果";
}

std::shared_ptr<EffectBase> WipeFilter::create() const { return std::make_shared<WipeFilter>(); }

namespace {

// Blend states of the shared list: the picture multiplied by the mask's alpha, or by one
// minus it.
constexpr std::size_t kBlendScaleByAlpha = 7;
constexpr std::size_t kBlendCutAlpha = 8;

}  // namespace

OwnedImage WipeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty() || !context.scene || context.scene->rate <= 0 ||
      context.scene->scale <= 0)
    return image;
  const double secondsPerFrame =
      static_cast<double>(context.scene->scale) / static_cast<double>(context.scene->rate);
  const double elapsed = (context.time - context.objectFrames.start) * secondsPerFrame;
  const double rest = (context.objectFrames.end - context.time) * secondsPerFrame;
  const double in = wipeIn.getValue(context);
  const double out = wipeOut.getValue(context);
  double progress = 1.0;
  bool reverse = false;
  if (in > 0.0 && elapsed < in) {
    progress = std::clamp(elapsed / in, 0.0, 1.0);
    reverse = invertIn.value;
  }
  if (out > 0.0 && rest < out) {
    progress = std::min(progress, std::clamp(rest / out, 0.0, 1.0));
    reverse = invertOut.value;
  }
  if (progress >= 1.0) return image;

  Resource::ResourceService& service = Resource::ResourceService::Get();
  const auto mask = service.transitionList().createImage(
      kind.value, static_cast<int32_t>(image->width()), static_cast<int32_t>(image->height()),
      static_cast<float>(reverse ? 1.0 - progress : progress),
      static_cast<int>(std::lround(blur.getValue(context))), keepAspect.value);
  if (!mask) return image;
  const std::size_t blend = reverse ? kBlendCutAlpha : kBlendScaleByAlpha;
  service.pixelShaders()
      .entry(Resource::PixelShaderList::kCopy)
      .drawInput(*image, *mask, service.blendStates().get(blend));
  return image;
}

}  // namespace Effect
