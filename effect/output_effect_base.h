#pragma once
// The common base of the standard output effects (the drawing output and the video
// playback output): the object's position, rotation, centre, zoom, aspect, transparency and
// blend mode as items, the view they make, and the draw into the frame.
#include <memory>

#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"

namespace Effect {

class BasicOutput : public EffectBase {
 public:
  // The choices of 合成モード: 0 通常 .. 12 差分. Modes 13 to 23 come only from scripts.
  static std::shared_ptr<EffectItemSelect::SharedList> blendModeList();
  static constexpr int kMaxBlendMode = 23;

  // Draws the object's image into the frame: the direct path when a filter already drew it
  // through the camera (the context's 2-D output flag), else the standard path. Nothing
  // without an installed drawer or an image.
  void outputVideo(EffectContext& context, Media::RenderBuffer& target,
                   OwnedImage& image) override;
  // The context's view with the items applied: the position unless a filter already
  // applied it, the rotation, centre, zoom and aspect unless a filter already applied them,
  // then the transparency and a blend mode other than 0 (clamped to 0..23).
  OutputView getOutputView(EffectContext& context) override;

  EffectItemNumber x{items, "X", 0.0, -100000.0, 100000.0, 0.01};
  EffectItemNumber y{items, "Y", 0.0, -100000.0, 100000.0, 0.01};
  EffectItemNumber z{items, "Z", 0.0, -100000.0, 100000.0, 0.01};
  EffectItemNumber centerX{items, "中心X", 0.0, -5000.0, 5000.0, 0.01};
  EffectItemNumber centerY{items, "中心Y", 0.0, -5000.0, 5000.0, 0.01};
  EffectItemNumber centerZ{items, "中心Z", 0.0, -5000.0, 5000.0, 0.01};
  EffectItemNumber rotationX{items, "X軸回転", 0.0, -3600.0, 3600.0, 0.01};
  EffectItemNumber rotationY{items, "Y軸回転", 0.0, -3600.0, 3600.0, 0.01};
  EffectItemNumber rotationZ{items, "Z軸回転", 0.0, -3600.0, 3600.0, 0.01};
  EffectItemNumber zoom{items, "拡大率", 100.0, 0.0, 10000.0, 0.001};
  EffectItemNumber aspect{items, "縦横比", 0.0, -100.0, 100.0, 0.001};
  EffectItemNumber transparency{items, "透明度", 0.0, 0.0, 100.0, 0.01};
  EffectItemSelect blendMode{items, "合成モード", 0, blendModeList()};

 protected:
  BasicOutput(const char* name, uint8_t mediaType, uint8_t targetType, const char* label = "");
};

}  // namespace Effect
