#include "builtin/filter/blur_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gpu/pixel_format.h"
#include "gpu/resource_buffer.h"

namespace Effect {
namespace {

// A range of 100 % or more would put the edges at infinity.
constexpr float kMaxRange = 99.0f;

// Truncated toward zero; a value beyond any image (a far centre) stays far without
// overflowing the integer.
int truncated(float value) {
  return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, -1.0e8f, 1.0e8f));
}

}  // namespace

RadialBlurShaders::RadialBlurShaders()
    : FilterShaderSet({"radial_blur_ps"}, {}, sizeof(BlurFilter::RadialConstants)) {}

BlurFilter::BlurFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 20.0, 0.0, 80.0, 0.01),
      x(items, "X", 0.0, -2000.0, 2000.0, 0.1),
      y(items, "Y", 0.0, -2000.0, 2000.0, 0.1),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BlurFilter::create() const { return std::make_shared<BlurFilter>(); }

OwnedImage BlurFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  return radialBlur(*this, *image, context.outputView.centerX, context.outputView.centerY,
                    static_cast<float>(range.getValue(context)),
                    static_cast<float>(x.getValue(context)),
                    static_cast<float>(y.getValue(context)), fixedSize.value);
}

BlurFilter::RadialLayout BlurFilter::radialLayout(int width, int height, float range,
                                                 float centerX, float centerY,
                                                 bool fixedSize) {
  range = std::min(range, kMaxRange);
  const auto fw = static_cast<float>(width);
  const auto fh = static_cast<float>(height);
  const float cx0 = fw * 0.5f + centerX;
  const float cy0 = fh * 0.5f + centerY;
  const float k = 100.0f / (100.0f - range);

  // The input scaled by k about the centre: where the outermost smeared pixels land.
  RadialLayout layout;
  layout.left = std::min(0, truncated(cx0 - k * cx0 - 0.5f));
  layout.top = std::min(0, truncated(cy0 - k * cy0 - 0.5f));
  layout.right = std::max(width, truncated(cx0 - (cx0 - fw) * k + 0.5f));
  layout.bottom = std::max(height, truncated(cy0 - (cy0 - fh) * k + 0.5f));

  // Enough samples that a step stays near one pixel on the longest way.
  const int gx = std::max(std::abs(layout.left), layout.right - width);
  const int gy = std::max(std::abs(layout.top), layout.bottom - height);
  const double reach = std::hypot(static_cast<double>(std::min(gx, width)),
                                  static_cast<double>(std::min(gy, height)));
  layout.sampleNum = std::max(10, static_cast<int>(reach));
  layout.sampleStep = range * 0.01f / static_cast<float>(layout.sampleNum);
  layout.center[0] = cx0;
  layout.center[1] = cy0;

  if (fixedSize) {
    layout.left = layout.top = 0;
    layout.right = width;
    layout.bottom = height;
    return layout;
  }
  const auto limit = static_cast<int>(Media::kMaxTextureSide);
  layout.right = std::min(layout.right, layout.left + limit);
  layout.bottom = std::min(layout.bottom, layout.top + limit);
  // The output's middle moved this far from the input's: move the picture back by it.
  layout.shift[0] = static_cast<float>(layout.right - width + layout.left) * 0.5f;
  layout.shift[1] = static_cast<float>(layout.bottom - height + layout.top) * 0.5f;
  return layout;
}

OwnedImage BlurFilter::radialBlur(BlurFilter& holder, Media::ResourceBuffer& input, float& cx,
                                  float& cy, float range, float centerX, float centerY,
                                  bool fixedSize) {
  if (!(range > 0.0f) || input.empty()) return adoptBuffer(input.clone());
  const RadialLayout layout =
      radialLayout(static_cast<int>(input.width()), static_cast<int>(input.height()), range,
                   centerX, centerY, fixedSize);
  cx -= layout.shift[0];
  cy -= layout.shift[1];

  const RadialConstants constants{
      layout.sampleNum, layout.sampleStep, {layout.center[0], layout.center[1]},
      {static_cast<float>(layout.left), static_cast<float>(layout.top)}, {0.0f, 0.0f}};
  auto output = std::make_unique<Media::ResourceBuffer>(layout.right - layout.left,
                                                        layout.bottom - layout.top);
  CommonResource& shared = holder.resource();
  const auto lock = shared.lock();
  Media::PixelShader& shader = shared.pixelShader(0);
  shader.drawInputWithConstants(*output, input, shared.writeConstants(&constants), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
