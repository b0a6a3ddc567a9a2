#pragma once
// "基本出力": draws the picture flat, with a transparency and a blend mode only.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class SimpleOutput : public EffectBase {
 public:
  static constexpr const char* kName = "基本出力";

  SimpleOutput();
  std::shared_ptr<EffectBase> create() const override;
  // Draws the image flat through the direct path, with the view below.
  void outputVideo(EffectContext& context, Media::RenderBuffer& target, OwnedImage& image) override;
  // The context's view with the transparency applied and a blend mode other than 0.
  OutputView getOutputView(EffectContext& context) override;

  EffectItemNumber transparency;
  EffectItemSelect blendMode;
};

}  // namespace Effect
