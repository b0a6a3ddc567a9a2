#include "builtin/filter/color_key_filter.h"

#include <cmath>
#include <cstdint>

#include "builtin/filter/luma_chroma.h"
#include "gpu/direct3d_service.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

ColorKeyShaders::ColorKeyShaders()
    : FilterShaderSet({"color_key_mask_ps", "color_key_border_ps"}, {},
                      sizeof(ColorKeyFilter::Constants)) {}

ColorKeyFilter::ColorKeyFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      luminanceRange(items, "輝度範囲", 400.0, 0.0, 4096.0, 1.0),
      chromaRange(items, "色差範囲", 400.0, 0.0, 4096.0, 1.0),
      borderCorrection(items, "境界補正", 1.0, 0.0, 80.0, 1.0),
      keyColor(items, "基準色", EffectItemColor::kNoColor, ItemType::ColorOrNone) {
  label = "抽出";
}

std::shared_ptr<EffectBase> ColorKeyFilter::create() const {
  return std::make_shared<ColorKeyFilter>();
}

}  // namespace Effect

namespace Effect {
namespace {

// Blend state of the shared list: the picture multiplied by the mask's alpha.
constexpr std::size_t kBlendScaleByAlpha = 7;

}  // namespace

OwnedImage ColorKeyFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty() || keyColor.none) return image;
  const int radius = static_cast<int>(std::lround(borderCorrection.getValue(context)));
  const LumaChroma key = lumaChromaOf(straightColourOf(keyColor));
  const auto luma = static_cast<float>(luminanceRange.getValue(context) / 4096.0);
  const auto chroma = static_cast<float>(chromaRange.getValue(context) / 4096.0);
  const float window = static_cast<float>(2 * radius + 1);
  const Constants constants{{key.y, key.u, key.v}, radius, {luma, chroma, chroma},
                            1.0f / (window * window)};

  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  // The mask: opaque where the pixel is kept, clear where it is keyed out.
  Media::ResourceBuffer mask(static_cast<int32_t>(image->width()),
                             static_cast<int32_t>(image->height()),
                             Media::Direct3DService::Get().maskFormat);
  const Media::ConstantBufferCommon& buffer = shaders.writeConstants(&constants);
  shaders.pixelShader(kMaskShader).drawInputWithConstants(mask, *image, buffer, nullptr);
  const Media::BlendState* multiply = service.blendStates().get(kBlendScaleByAlpha);
  if (radius < 1) {
    service.pixelShaders().entry(Resource::PixelShaderList::kCopy).drawInput(*image, mask, multiply);
  } else {
    // Kept pixels among keyed ones fade by how much of their window is kept.
    shaders.pixelShader(kBorderShader).drawInputWithConstants(*image, mask, buffer, multiply);
  }
  return image;
}

}  // namespace Effect
