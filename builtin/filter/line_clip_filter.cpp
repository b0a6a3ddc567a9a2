#include "builtin/filter/line_clip_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "builtin/item_links.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

LineClipShaders::LineClipShaders()
    : FilterShaderSet({"line_clip_edge_ps", "line_clip_band_ps"}, {},
                      sizeof(LineClipFilter::Constants)) {}

LineClipFilter::LineClipFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      angle(items, "角度", 0.0, -3600.0, 3600.0, 0.01),
      blur(items, "ぼかし", 1.0, 0.0, 2000.0, 1.0),
      width(items, "幅", 0.0, -2000.0, 2000.0, 1.0) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "クリッピング";
}

std::shared_ptr<EffectBase> LineClipFilter::create() const {
  return std::make_shared<LineClipFilter>();
}

namespace {
// Blend state of the shared list: the picture multiplied by the mask's alpha.
constexpr std::size_t kBlendScaleByAlpha = 7;
}  // namespace

OwnedImage LineClipFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  clip(*image, static_cast<float>(angle.getValue(context)),
       static_cast<int>(std::lround(width.getValue(context))),
       static_cast<float>(centerX.getValue(context)), static_cast<float>(centerY.getValue(context)),
       static_cast<int>(std::lround(blur.getValue(context))));
  return image;
}

void LineClipFilter::clip(Media::ResourceBuffer& image, float angle, int width, float centerX,
                          float centerY, int softness) {
  if (image.empty()) return;
  const double theta = angle * std::numbers::pi / 180.0;
  Constants constants;
  constants.offset[0] = -(static_cast<float>(image.width()) * 0.5f + centerX);
  constants.offset[1] = -(static_cast<float>(image.height()) * 0.5f + centerY);
  constants.direction[0] = static_cast<float>(std::sin(theta));
  constants.direction[1] = static_cast<float>(-std::cos(theta));
  constants.length = static_cast<float>(std::max(softness, 0) + 1);
  constants.range = static_cast<float>(width) * 0.5f;

  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  shaders.pixelShader(width == 0 ? kEdgeShader : kBandShader)
      .drawWithConstants(image, shaders.writeConstants(&constants),
                         service.blendStates().get(kBlendScaleByAlpha));
}

}  // namespace Effect
