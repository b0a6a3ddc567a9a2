#include "builtin/filter/chroma_key_filter.h"

namespace Effect {

ChromaKeyShaders::ChromaKeyShaders()
    : FilterShaderSet({"chroma_key_map_ps", "chroma_key_apply_ps", "chroma_key_border_ps"}, {},
                      sizeof(ChromaKeyFilter::Constants)) {}

ChromaKeyFilter::ChromaKeyFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      hueRange(items, "色相範囲", 16.0, 0.0, 256.0, 1.0),
      saturationRange(items, "彩度範囲", 96.0, 0.0, 256.0, 1.0),
      borderCorrection(items, "境界補正", 1.0, 0.0, 8.0, 1.0),
      keyColor(items, "基準色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      colorCorrection(items, "色彩補正", false),
      transparencyCorrection(items, "透過補正", false) {
  label = "抽出";
}

std::shared_ptr<EffectBase> ChromaKeyFilter::create() const {
  return std::make_shared<ChromaKeyFilter>();
}

}  // namespace Effect
