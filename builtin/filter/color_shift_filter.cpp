#include "builtin/filter/color_shift_filter.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "builtin/choice_lists.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {

ColorShiftShaders::ColorShiftShaders()
    : FilterShaderSet({"color_shift_ps"}, {}, sizeof(ColorShiftConstants)) {}

ColorShiftFilter::ColorShiftFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      shift(items, "ずれ幅", 5.0, 0.0, 2000.0, 0.1),
      angle(items, "角度", 90.0, -3600.0, 3600.0, 0.01),
      strength(items, "強さ", 100.0, 0.0, 100.0, 1.0),
      kind(items, "色ずれの種類", 0, ColorShiftTypeList()) {
  label = "光効果";
}

std::shared_ptr<EffectBase> ColorShiftFilter::create() const {
  return std::make_shared<ColorShiftFilter>();
}

}  // namespace Effect

namespace Effect {
namespace {

// The set's one shader.
constexpr std::size_t kShiftShader = 0;
// The sampler of the shared list: linear, transparent outside the picture.
constexpr std::size_t kLinearBorderSampler = 0;
// The kinds of "色ずれの種類": three pairs of channels, A then B.
constexpr int kKindCount = 6;
constexpr int kPairCount = 3;
// Shifts within this much of a whole pixel grow the picture by that pixel only.
constexpr float kGrowthSlack = 0.001f;

}  // namespace

OwnedImage ColorShiftFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto theta = static_cast<float>(angle.getValue(context) * std::numbers::pi / 180.0);
  const auto distance = static_cast<float>(shift.getValue(context));
  const float dx = -std::sin(theta) * distance;
  const float dy = std::cos(theta) * distance;
  const auto growX = static_cast<int32_t>(std::ceil(std::fabs(dx) - kGrowthSlack));
  const auto growY = static_cast<int32_t>(std::ceil(std::fabs(dy) - kGrowthSlack));
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  const int type = kind.value;
  if (type < 0 || type >= kKindCount) return image;

  ColorShiftConstants constants;
  constants.inverseSize[0] = 1.0f / static_cast<float>(width);
  constants.inverseSize[1] = 1.0f / static_cast<float>(height);
  constants.offset[0] = -static_cast<float>(growX);
  constants.offset[1] = -static_cast<float>(growY);
  constants.alpha = static_cast<float>(strength.getValue(context) * 0.01);
  constants.mode = type / kPairCount;
  // The first channel of the pair moves by d, the second by -d.
  const float d[2] = {dx / static_cast<float>(width), dy / static_cast<float>(height)};
  float* const channels[3] = {constants.offsetR, constants.offsetG, constants.offsetB};
  const int pair = type % kPairCount;
  float* const first = channels[pair == 2 ? 1 : 0];
  float* const second = channels[pair == 0 ? 1 : 2];
  for (int axis = 0; axis < 2; ++axis) {
    first[axis] = d[axis];
    second[axis] = -d[axis];
  }

  Resource::ResourceService& service = Resource::ResourceService::Get();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  auto shifted = std::make_unique<Media::ResourceBuffer>(width + 2 * growX, height + 2 * growY);
  Media::ShaderBindings::setSampler(0, service.samplerStates().get(kLinearBorderSampler));
  shaders.pixelShader(kShiftShader)
      .drawInputWithConstants(*shifted, *image, shaders.writeConstants(&constants), nullptr);
  Media::ShaderBindings::setSampler(0, nullptr);
  return adoptBuffer(std::move(shifted));
}

}  // namespace Effect
