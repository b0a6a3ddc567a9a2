#include "builtin/filter/raster_filter.h"

#include <cmath>
#include <numbers>

#include "builtin/filter/object_seconds.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

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

OwnedImage RasterFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto shift = static_cast<int32_t>(std::lround(amplitude.getValue(context)));
  const auto range = static_cast<int32_t>(std::lround(wavelength.getValue(context)));
  if (shift <= 0 || range <= 0) return image;
  const bool columns = vertical.value;
  const bool uneven = randomAmplitude.value;
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  // The lines the wave runs down: rows for the horizontal raster, columns for the vertical.
  const int32_t lines = columns ? width : height;

  RasterConstants constants;
  constants.type = uneven ? 1 : 0;
  constants.length = static_cast<float>(shift);
  constants.PI2divideRange = 2.0f * std::numbers::pi_v<float> / static_cast<float>(range);
  constants.divideRange = 1.0f / static_cast<float>(range);
  // The phase runs with time at the cycles per second; the whole wavelengths added keep it
  // positive for the picture's lines, and the picture's middle sits at the phase's start.
  constants.cycle = static_cast<float>(objectSeconds(context) * cycle.getValue(context) * range +
                                       static_cast<double>(range) * (lines / range + 1) -
                                       static_cast<double>(lines) / 2.0);

  auto output = std::make_unique<Media::ResourceBuffer>(columns ? width : width + 2 * shift,
                                                        columns ? height + 2 * shift : height);
  const auto shader =
      static_cast<Shader>((uneven ? kRandomRowShader : kRowShader) + (columns ? 1 : 0));
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  const Media::ConstantBufferCommon& buffer = shaders.writeConstants(&constants);
  if (!uneven) {
    shaders.pixelShader(shader).drawInputWithConstants(*output, *image, buffer, nullptr);
    return adoptBuffer(std::move(output));
  }
  const auto table =
      Resource::ResourceService::Get().lookupTable(Resource::ResourceService::kSmoothNoiseTable);
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &buffer);
  shaders.pixelShader(shader).drawTwoInputs(*output, *image, *table, nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
