#include "builtin/filter/blur_direction_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gpu/pixel_format.h"
#include "gpu/resource_buffer.h"

namespace Effect {

DirectionBlurShaders::DirectionBlurShaders()
    : FilterShaderSet({"direction_blur_ps"}, {}, sizeof(StreakConstants)) {}

BlurDirectionFilter::BlurDirectionFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 20.0, 0.0, 1000.0, 1.0),
      angle(items, "角度", 50.0, -3600.0, 3600.0, 0.01),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BlurDirectionFilter::create() const {
  return std::make_shared<BlurDirectionFilter>();
}

BlurDirectionFilter::StreakLayout BlurDirectionFilter::streakLayout(int width, int height,
                                                                   float range, float angle,
                                                                   float stepRatio,
                                                                   bool fixedSize) {
  const float theta = angle * std::numbers::pi_v<float> / 180.0f;
  const float dx = -std::sin(theta) * range;
  const float dy = std::cos(theta) * range;
  StreakLayout layout;
  layout.width = width;
  layout.height = height;
  if (!fixedSize) {
    // Beyond any image side the growth would only be cut off by the buffer.
    const auto limit = static_cast<float>(Media::kMaxTextureSide);
    const auto grown = [limit](int side, float reach) {
      return static_cast<int>(std::min(static_cast<float>(side) + 2.0f * std::ceil(std::fabs(reach)),
                                       limit));
    };
    layout.width = grown(width, dx);
    layout.height = grown(height, dy);
  }
  // Enough taps for one per pixel of the smear, never more than the picture's diagonal.
  const double diagonal = std::hypot(static_cast<double>(width), static_cast<double>(height));
  const int taps = static_cast<int>(std::ceil(std::min(static_cast<double>(range), diagonal)));
  const int n = std::max(5, taps);
  StreakConstants& c = layout.constants;
  c.offset[0] = static_cast<float>(width - layout.width) * 0.5f;
  c.offset[1] = static_cast<float>(height - layout.height) * 0.5f;
  c.step[0] = dx / static_cast<float>(n);
  c.step[1] = dy / static_cast<float>(n);
  c.stepRatio = stepRatio;
  c.sampleNum = n;
  return layout;
}

OwnedImage BlurDirectionFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  return directionBlur(*image, static_cast<float>(range.getValue(context)),
                       static_cast<float>(angle.getValue(context)), 1.0f, fixedSize.value);
}

OwnedImage BlurDirectionFilter::directionBlur(Media::ResourceBuffer& input, float range,
                                              float angle, float stepRatio, bool fixedSize) {
  if (!(range > 0.0f) || input.empty() || !std::isfinite(angle))
    return adoptBuffer(input.clone());
  const StreakLayout layout =
      streakLayout(static_cast<int>(input.width()), static_cast<int>(input.height()), range,
                   angle, stepRatio, fixedSize);
  auto output = std::make_unique<Media::ResourceBuffer>(layout.width, layout.height);
  CommonResource& shared = resource();
  const auto lock = shared.lock();
  Media::PixelShader& shader = shared.pixelShader(0);
  shader.drawInputWithConstants(*output, input, shared.writeConstants(&layout.constants),
                                nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
