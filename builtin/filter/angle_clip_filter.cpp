#include "builtin/filter/angle_clip_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "builtin/item_links.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

AngleClipShaders::AngleClipShaders()
    : FilterShaderSet({"angle_clip_outside_ps", "angle_clip_inside_ps"}, {},
                      sizeof(AngleClipFilter::Constants)) {}

AngleClipFilter::AngleClipFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      baseAngle(items, "基準角", 0.0, -3600.0, 3600.0, 0.01),
      rangeAngle(items, "範囲角", 90.0, -360.0, 360.0, 0.01),
      blur(items, "ぼかし", 1.0, 0.0, 2000.0, 1.0),
      centerOnBase(items, "基準角を中央にする", false) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "クリッピング";
}

std::shared_ptr<EffectBase> AngleClipFilter::create() const {
  return std::make_shared<AngleClipFilter>();
}

namespace {

// Blend state of the shared list: the picture multiplied by the mask's alpha.
constexpr std::size_t kBlendScaleByAlpha = 7;
constexpr double kRadian = std::numbers::pi / 180.0;

// The unit normal of a side at `degrees`: (-sin, cos).
void normalOf(double degrees, float (&out)[2]) {
  out[0] = static_cast<float>(-std::sin(degrees * kRadian));
  out[1] = static_cast<float>(std::cos(degrees * kRadian));
}

}  // namespace

OwnedImage AngleClipFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  clip(*image, static_cast<float>(baseAngle.getValue(context)),
       static_cast<float>(rangeAngle.getValue(context)),
       static_cast<float>(centerX.getValue(context)), static_cast<float>(centerY.getValue(context)),
       static_cast<int>(std::lround(blur.getValue(context))), centerOnBase.value);
  return image;
}

void AngleClipFilter::clip(Media::ResourceBuffer& image, float baseAngle, float fanAngle,
                           float centerX, float centerY, int softness, bool centring) {
  double start = baseAngle, angle = fanAngle;
  if (centring) {
    if (angle < 0.0) start += 180.0;
    start -= angle / 2.0;
  }
  if (angle < 0.0) {
    start += angle;
    angle = -angle;
  }
  if (image.empty() || !(angle > 0.0)) return;
  if (angle >= 360.0) {
    const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    image.clearRenderTarget(transparent);
    return;
  }

  Constants constants;
  constants.offset[0] = -(static_cast<float>(image.width()) * 0.5f + centerX);
  constants.offset[1] = -(static_cast<float>(image.height()) * 0.5f + centerY);
  normalOf(start, constants.directionS);
  normalOf(start + angle + 180.0, constants.directionE);
  normalOf(start + angle / 2.0 - 90.0, constants.directionL);
  // A negative softness would leave no edge at all: it counts as none.
  const double range = (std::max(softness, 0) + 1) / 2.0;
  constants.range = static_cast<float>(range);
  // The tip's soft width grows as the fan nears a half turn, where its sides meet flattest.
  const double nearHalfTurn = std::max(90.0 - std::abs(angle - 180.0), 0.0) / 45.0;
  constants.limit =
      static_cast<float>((nearHalfTurn + std::sin(angle / 2.0 * kRadian) * 0.5 + 1.0) * range);

  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  shaders.pixelShader(angle < 180.0 ? kOutsideShader : kInsideShader)
      .drawWithConstants(image, shaders.writeConstants(&constants),
                         service.blendStates().get(kBlendScaleByAlpha));
}

}  // namespace Effect
