#include "builtin/filter/mask_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/item_links.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

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

namespace {

// Blend states of the shared list: the picture multiplied by the mask's alpha, or by one
// minus it.
constexpr std::size_t kBlendScaleByAlpha = 7;
constexpr std::size_t kBlendCutAlpha = 8;
// The sampler of the shared list: linear, transparent outside the mask.
constexpr std::size_t kLinearBorderSampler = 0;

}  // namespace

OwnedImage MaskFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const double theta = rotation.getValue(context) * std::numbers::pi / 180.0;
  const long side = std::lround(size.getValue(context));
  const double stretch = aspect.getValue(context) / 100.0;
  if (side < 1 || (!fitOriginalSize.value && (stretch <= -1.0 || stretch >= 1.0))) {
    // A mask of no size covers nothing: only the inverted mask keeps the picture.
    const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    if (!invert.value) image->clearRenderTarget(transparent);
    return image;
  }

  OwnedImage shape =
      mask.getMaskImage(context, static_cast<unsigned>(side), static_cast<unsigned>(side));
  if (!shape || shape->empty()) return image;
  const double scale = static_cast<double>(side) / std::max(shape->width(), shape->height());
  const long radius = std::lround(blur.getValue(context));
  if (radius > 0)
    shape = defaultEffect<BokashiFilter>().blur(std::move(shape), static_cast<int>(radius),
                                                   0.0f, BokashiFilter::kGrow);

  double extentX = image->width(), extentY = image->height();
  if (!fitOriginalSize.value) {
    extentX = shape->width() * scale;
    extentY = shape->height() * scale;
    if (stretch > 0.0) extentX *= 1.0 - stretch;
    if (stretch < 0.0) extentY *= 1.0 + stretch;
  }
  Constants constants;
  constants.offset[0] =
      -static_cast<float>(image->width()) * 0.5f - static_cast<float>(x.getValue(context));
  constants.offset[1] =
      -static_cast<float>(image->height()) * 0.5f - static_cast<float>(y.getValue(context));
  constants.inverseMaskSize[0] = static_cast<float>(1.0 / extentX);
  constants.inverseMaskSize[1] = static_cast<float>(1.0 / extentY);
  constants.angleS = static_cast<float>(std::sin(theta));
  constants.angleC = static_cast<float>(std::cos(theta));

  Resource::ResourceService& service = Resource::ResourceService::Get();
  const Media::BlendState* blend =
      service.blendStates().get(invert.value ? kBlendCutAlpha : kBlendScaleByAlpha);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::ShaderBindings::setSampler(0, service.samplerStates().get(kLinearBorderSampler));
  shaders.pixelShader(kMaskShader)
      .drawInputWithConstants(*image, *shape, shaders.writeConstants(&constants), blend);
  Media::ShaderBindings::setSampler(0, nullptr);
  return image;
}

}  // namespace Effect
