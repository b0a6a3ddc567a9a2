#include "builtin/filter/fade_filter.h"

#include <algorithm>

#include "edit/scene.h"

namespace Effect {

FadeFilter::FadeFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      fadeIn(items, "イン", 0.5, 0.0, 10.0, 0.01),
      fadeOut(items, "アウト", 0.5, 0.0, 10.0, 0.01) {
  label = "切り替え効果";
}

std::shared_ptr<EffectBase> FadeFilter::create() const { return std::make_shared<FadeFilter>(); }

OwnedImage FadeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  // Without a frame rate there is no time to fade over.
  if (!context.scene || context.scene->rate <= 0 || context.scene->scale <= 0) return image;
  const double in = fadeIn.getValue(context);
  const double out = fadeOut.getValue(context);
  const double secondsPerFrame = static_cast<double>(context.scene->scale) / context.scene->rate;
  const double elapsed = (context.frame - context.objectFrames.start) * secondsPerFrame;
  const double rest = (context.objectFrames.end - context.objectFrames.start) * secondsPerFrame -
                      elapsed;
  double factor = 1.0;
  if (in > 0.0 && elapsed < in) factor = std::clamp(elapsed / in, 0.0, 1.0);
  if (out > 0.0 && rest < out) factor = std::min(factor, std::clamp(rest / out, 0.0, 1.0));
  context.outputView.opacity *= static_cast<float>(factor);
  return image;
}

}  // namespace Effect
