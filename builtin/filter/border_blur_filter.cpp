#include "builtin/filter/border_blur_filter.h"

#include <cmath>

#include "builtin/filter/bokashi_filter.h"
#include "gpu/resource_buffer.h"

namespace Effect {
namespace {

// The shaders of BorderBlurShaders, in their order.
enum Pass : std::size_t { kEdgeFade, kAlphaMask, kAlphaHorizontal, kAlphaVertical };

}  // namespace

BorderBlurShaders::BorderBlurShaders()
    : FilterShaderSet({"border_blur_edge_ps", "border_blur_mask_ps", "border_blur_alpha_h_ps",
                       "border_blur_alpha_v_ps"},
                      {}, sizeof(BorderBlurConstants)) {}

BorderBlurFilter::BorderBlurFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 5.0, 0.0, 1000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      alphaBorder(items, "透明度の境界をぼかす", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BorderBlurFilter::create() const {
  return std::make_shared<BorderBlurFilter>();
}

OwnedImage BorderBlurFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto radius = static_cast<int>(std::lround(range.getValue(context)));
  const auto radii = BokashiFilter::axisRadii(radius, static_cast<float>(aspect.getValue(context) * 0.01));
  // Without a radius the fade scales every pixel by 1: nothing to draw.
  if (!alphaBorder.value && radii.vertical <= 0 && radii.horizontal <= 0) return image;

  const BorderBlurConstants constants{
      {radii.horizontal, radii.vertical},
      {1.0f / static_cast<float>(2 * radii.horizontal + 1),
       1.0f / static_cast<float>(2 * radii.vertical + 1)}};
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  auto output = std::make_unique<Media::ResourceBuffer>(width, height);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::ConstantBufferCommon& buffer = shaders.writeConstants(&constants);
  if (!alphaBorder.value) {
    shaders.pixelShader(kEdgeFade).drawInputWithConstants(*output, *image, buffer, nullptr);
    return adoptBuffer(std::move(output));
  }
  // The alpha boxed down the columns, then across the rows, is the mask: a pixel stays as far
  // as its own alpha and the mask's together pass one half.
  Media::ResourceBuffer column(width, height);
  shaders.pixelShader(kAlphaVertical).drawInputWithConstants(column, *image, buffer, nullptr);
  Media::ResourceBuffer mask(width, height);
  shaders.pixelShader(kAlphaHorizontal).drawInputWithConstants(mask, column, buffer, nullptr);
  shaders.pixelShader(kAlphaMask).drawTwoInputs(*output, *image, mask, nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
