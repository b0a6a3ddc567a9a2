#include "builtin/filter/color_change_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "builtin/filter/chroma_key_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/filter/luma_chroma.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {

ColorChangeShaders::ColorChangeShaders()
    : FilterShaderSet({"color_change_ps", "color_change_border_ps"}, {},
                      sizeof(ColorChangeFilter::Constants)) {}

ColorChangeFilter::ColorChangeFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      hueRange(items, "色相範囲", 16.0, 0.0, 256.0, 1.0),
      saturationRange(items, "彩度範囲", 96.0, 0.0, 256.0, 1.0),
      borderCorrection(items, "境界補正", 1.0, 0.0, 8.0, 1.0),
      beforeColor(items, "変換前の色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      afterColor(items, "変換後の色", 0xFFFFFF, ItemType::ColorOrNone),
      colorCorrection(items, "色彩補正", false) {
  label = "色調整";
}

std::shared_ptr<EffectBase> ColorChangeFilter::create() const {
  return std::make_shared<ColorChangeFilter>();
}

}  // namespace Effect

namespace Effect {
namespace {

// The least luma of the source colour: a pixel's luma is scaled by the target's over it.
constexpr float kLeastBeforeLuma = 0.001f;

}  // namespace

OwnedImage ColorChangeFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty() || beforeColor.none || afterColor.none) return image;
  const int radius = static_cast<int>(std::lround(borderCorrection.getValue(context)));
  const StraightColour source = straightColourOf(beforeColor);
  const float key[3] = {source.red, source.green, source.blue};
  // The key map comes from the registered key's own shaders and constants, under its lock.
  OwnedImage map = defaultEffect<ChromaKeyFilter>().makeDiffMap(
      *image, key, static_cast<float>(hueRange.getValue(context)),
      static_cast<float>(saturationRange.getValue(context)), radius, false, false);

  const LumaChroma before = lumaChromaOf(source);
  const LumaChroma after = lumaChromaOf(straightColourOf(afterColor));
  const float window = static_cast<float>(2 * radius + 1);
  const Constants constants{after.y,  after.u, after.v, std::max(before.y, kLeastBeforeLuma),
                            before.u, before.v, radius,  1.0f / (window * window),
                            colorCorrection.value ? 1.0f : 0.0f};
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0,
                                           &shaders.writeConstants(&constants));
  auto changed = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                         static_cast<int32_t>(image->height()));
  shaders.pixelShader(radius < 1 ? kChangeShader : kBorderShader)
      .drawTwoInputs(*changed, *image, *map, nullptr);
  return adoptBuffer(std::move(changed));
}

}  // namespace Effect
