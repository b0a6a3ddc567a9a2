#include "builtin/filter/bokeh_filter.h"

#include "effect/effect_item_combo_file.h"

namespace Effect {

BokehShaders::BokehShaders()
    : FilterShaderSet({"bokeh_step_ps", "bokeh_clamp_ps", "bokeh_sample_ps"}, {}, sizeof(BokehConstants)) {}

BokehFilter::BokehFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 5.0, 0.0, 1000.0, 1.0),
      lightStrength(items, "光の強さ", 32.0, 0.0, 60.0, 0.1),
      shape(items, "形状", 1, EffectItemFigureSelect::getFigureList()),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BokehFilter::create() const { return std::make_shared<BokehFilter>(); }

}  // namespace Effect
