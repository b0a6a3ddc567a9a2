#include "builtin/filter/edge_filter.h"

namespace Effect {

EdgeShaders::EdgeShaders()
    : FilterShaderSet({"edge_color_ps", "edge_luma_ps", "edge_alpha_ps"}, {},
                      sizeof(EdgeFilter::Constants)) {}

EdgeFilter::EdgeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 1000.0, 0.1),
      threshold(items, "しきい値", 0.0, -100.0, 100.0, 0.01),
      color(items, "色", 0xFFFFFF),
      luminanceEdges(items, "輝度エッジを抽出", true),
      alphaEdges(items, "透明度エッジを抽出", false) {
  luminanceEdges.notify = alphaEdges.notify = true;
  label = "抽出";
}

std::shared_ptr<EffectBase> EdgeFilter::create() const { return std::make_shared<EdgeFilter>(); }

}  // namespace Effect
