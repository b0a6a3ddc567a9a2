#include "builtin/filter/chroma_key_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "builtin/filter/luma_chroma.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

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

namespace Effect {
namespace {

// Below this saturation a key counts as grey: its hue is taken as 0, as the map shader
// takes the hue of grey pixels, rather than the angle of rounding noise.
constexpr float kGreySaturation = 1.0e-5f;
// The least saturation of the key: the map divides by it.
constexpr float kLeastKeySaturation = 0.001f;

}  // namespace

ChromaKeyFilter::Constants ChromaKeyFilter::keyConstants(const float key[3], float hueRange,
                                                         float saturationRange, int radius,
                                                         bool colourCorrection,
                                                         bool transparencyCorrection) {
  const LumaChroma k = lumaChromaOf(key[0], key[1], key[2]);
  const float saturation = std::hypot(k.u, k.v);
  Constants constants;
  // The hue in the map shader's measure: the same angle for key and pixels, so that only
  // their difference counts.
  constants.keyH =
      saturation > kGreySaturation ? std::atan2(k.u, k.v) / std::numbers::pi_v<float> : 0.0f;
  constants.keyS = std::max(saturation, kLeastKeySaturation);
  constants.lenH = hueRange / 256.0f;
  constants.lenS = saturationRange * constants.keyS / 256.0f;
  constants.keyU = k.u;
  constants.keyV = k.v;
  constants.range = radius;
  const float window = static_cast<float>(2 * radius + 1);
  constants.divie = 1.0f / (window * window);
  constants.correct = colourCorrection ? 1.0f : 0.0f;
  constants.transparent = transparencyCorrection ? 0.0f : 1.0f;
  return constants;
}

OwnedImage ChromaKeyFilter::drawDiffMap(Media::ResourceBuffer& input,
                                        const Media::ConstantBufferCommon& constants) {
  auto map = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(input.width()),
                                                     static_cast<int32_t>(input.height()));
  resource().pixelShader(kMapShader).drawInputWithConstants(*map, input, constants, nullptr);
  return adoptBuffer(std::move(map));
}

OwnedImage ChromaKeyFilter::makeDiffMap(Media::ResourceBuffer& input, const float key[3],
                                        float hueRange, float saturationRange, int radius,
                                        bool colourCorrection, bool transparencyCorrection) {
  const Constants constants = keyConstants(key, hueRange, saturationRange, radius,
                                           colourCorrection, transparencyCorrection);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  return drawDiffMap(input, shaders.writeConstants(&constants));
}

OwnedImage ChromaKeyFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty() || keyColor.none) return image;
  const int radius = static_cast<int>(std::lround(borderCorrection.getValue(context)));
  const StraightColour colour = straightColourOf(keyColor);
  const float key[3] = {colour.red, colour.green, colour.blue};
  const Constants constants = keyConstants(
      key, static_cast<float>(hueRange.getValue(context)),
      static_cast<float>(saturationRange.getValue(context)), radius, colorCorrection.value,
      transparencyCorrection.value);

  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  const Media::ConstantBufferCommon& buffer = shaders.writeConstants(&constants);
  OwnedImage map = drawDiffMap(*image, buffer);
  // The map's constants are the keying's too.
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &buffer);
  auto keyed = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(image->width()),
                                                       static_cast<int32_t>(image->height()));
  shaders.pixelShader(radius < 1 ? kApplyShader : kBorderShader)
      .drawTwoInputs(*keyed, *image, *map, nullptr);
  return adoptBuffer(std::move(keyed));
}

}  // namespace Effect
