#include "builtin/filter/raster_filter.h"

namespace Effect {

// The shaders in the order of the Shader numbers.
RasterShaders::RasterShaders()
    : FilterShaderSet({"raster_rows_ps", "raster_columns_ps", "raster_random_rows_ps",
                       "raster_random_columns_ps"},
                      {}, sizeof(RasterConstants)) {}

RasterFilter::RasterFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      amplitude(items, "横幅", 100.0, 0.0, 2000.0, 1.0),
      wavelength(items, "高さ", 100.0, 0.0, 2000.0, 1.0),
      cycle(items, "周期", 1.0, -40.0, 40.0, 0.01),
      vertical(items, "縦ラスター", false),
      randomAmplitude(items, "ランダム振幅", false) {
  label = "変形";
}

std::shared_ptr<EffectBase> RasterFilter::create() const {
  return std::make_shared<RasterFilter>();
}

}  // namespace Effect
