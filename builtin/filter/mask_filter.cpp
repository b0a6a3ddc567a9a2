#include "builtin/filter/mask_filter.h"

#include "builtin/item_links.h"

namespace Effect {

MaskShaders::MaskShaders()
    : FilterShaderSet({"mask_filter_ps"}, {},
                      sizeof(MaskFilter::Constants)) {}

MaskFilter::MaskFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -5000.0, 5000.0, 0.1),
      y(items, "Y", 0.0, -5000.0, 5000.0, 0.1),
      rotation(items, "回転", 0.0, -3600.0, 3600.0, 0.01),
      size(items, "サイズ", 100.0, 0.0, 4000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      blur(items, "ぼかし", 0.0, 0.0, 1000.0, 1.0),
      mask(items, "マスクの種類", 1, &fitSceneLength),
      fitSceneLength(items, "シーンの長さを合わせる", false),
      invert(items, "マスクの反転", false),
      fitOriginalSize(items, "元のサイズに合わせる", false) {
  linkItems(positionItems, {&x, &y});
  label = "クリッピング";
}

std::shared_ptr<EffectBase> MaskFilter::create() const { return std::make_shared<MaskFilter>(); }

}  // namespace Effect
