#include "builtin/output/simple_output.h"

#include <algorithm>

#include "effect/output_video_drawer.h"

#include "builtin/choice_lists.h"

namespace Effect {

SimpleOutput::SimpleOutput()
    : EffectBase(kName, EffectType::Output, MediaType::Video, TargetType::Video),
      transparency(items, "透明度", 0.0, 0.0, 100.0, 0.01),
      blendMode(items, "合成モード", 0, BlendModeList()) {}

std::shared_ptr<EffectBase> SimpleOutput::create() const {
  return std::make_shared<SimpleOutput>();
}

}  // namespace Effect

namespace Effect {

OutputView SimpleOutput::getOutputView(EffectContext& context) {
  OutputView view = context.outputView;
  view.opacity = static_cast<float>(1.0 - transparency.getValue(context) * 0.01) * view.opacity;
  if (blendMode.value != 0) view.blendMode = std::clamp(blendMode.value, 0, 23);
  return view;
}

void SimpleOutput::outputVideo(EffectContext& context, Media::RenderBuffer& target,
                               OwnedImage& image) {
  if (!image) return;
  if (OutputVideoDrawer* drawer = outputVideoDrawer())
    drawer->drawObject2D(context, target, *image);
}

}  // namespace Effect
