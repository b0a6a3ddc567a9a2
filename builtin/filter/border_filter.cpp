#include "builtin/filter/border_filter.h"

#include <cmath>
#include <cstdint>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

// Blend state of the shared list: the premultiplied "over".
constexpr std::size_t kBlendOver = 0;
// Sampler state of the shared list: linear, transparent outside.
constexpr std::size_t kLinearBorderSampler = 0;

// One reduction pass along an axis: output texel i is the mean of `step` input texels from
// i x step.
OwnedImage reduce(Media::ResourceBuffer& input, int shader, int32_t width, int32_t height,
                  int32_t step) {
  auto output = std::make_unique<Media::ResourceBuffer>(width, height);
  const int32_t constants[2] = {step, 0};
  Resource::ResourceService& service = Resource::ResourceService::Get();
  service.drawWithSharedConstants(service.pixelShaders().entry(shader), *output, input, constants,
                                  sizeof(constants), nullptr);
  return adoptBuffer(std::move(output));
}

int32_t divideUp(int32_t value, int32_t divisor) { return (value + divisor - 1) / divisor; }

}  // namespace

// The shaders in the order of the Shader numbers.
BorderShaders::BorderShaders()
    : FilterShaderSet({"border_texel_ps", "border_sample_ps"}, {}, sizeof(BorderConstants)) {}

BorderFilter::BorderFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      size(items, "サイズ", 5.0, 0.0, 500.0, 1.0),
      blur(items, "ぼかし", 5.0, 0.0, 100.0, 1.0),
      color(items, "縁色", 0xFFFFFF) {
  label = "装飾";
}

std::shared_ptr<EffectBase> BorderFilter::create() const {
  return std::make_shared<BorderFilter>();
}

OwnedImage BorderFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto range = static_cast<int>(std::lround(size.getValue(context)));
  if (range <= 0) return image;
  const float rgba[4] = {static_cast<float>(color.red) / 255.0f,
                         static_cast<float>(color.green) / 255.0f,
                         static_cast<float>(color.blue) / 255.0f, 1.0f};
  const auto softness = static_cast<int>(std::lround(blur.getValue(context)));
  OwnedImage outline = makeBorder(*image, range, softness, rgba);

  // The picture goes over the outline's middle.
  const int32_t offset[2] = {
      (static_cast<int32_t>(image->width()) - static_cast<int32_t>(outline->width())) / 2,
      (static_cast<int32_t>(image->height()) - static_cast<int32_t>(outline->height())) / 2};
  Resource::ResourceService& service = Resource::ResourceService::Get();
  service.drawWithSharedConstants(
      service.pixelShaders().entry(Resource::PixelShaderList::kCopyOffset), *outline, *image,
      offset, sizeof(offset), service.blendStates().get(kBlendOver));
  return outline;
}

OwnedImage BorderFilter::makeBorder(Media::ResourceBuffer& input, int range, int softness,
                                    const float (&rgba)[4]) {
  const auto width = static_cast<int32_t>(input.width());
  const auto height = static_cast<int32_t>(input.height());
  auto output = std::make_unique<Media::ResourceBuffer>(width + 2 * range, height + 2 * range);
  BorderConstants constants;
  for (int c = 0; c < 4; ++c) constants.color[c] = rgba[c];
  CommonResource& shaders = resource();

  if (range <= kTexelRangeLimit) {
    constants.range = range;
    constants.inverseRange = 1.0f / static_cast<float>(range);
    constants.offset[0] = constants.offset[1] = -static_cast<float>(range);
    const float reach = static_cast<float>(range * softness) / 100.0f + 1.0f;
    constants.limit = reach * reach;
    const auto lock = shaders.lock();
    shaders.pixelShader(kTexelShader)
        .drawInputWithConstants(*output, input, shaders.writeConstants(&constants), nullptr);
    return adoptBuffer(std::move(output));
  }

  // A large outline reads a copy shrunk by `factor` with `steps` samples either way, each a
  // little over `factor` pixels apart, so the window still reaches the size (plus what the
  // shrink smeared) from the pixel.
  const int factor = range / kTexelRangeLimit + 1;
  OwnedImage shrunk = shrink(input, factor);
  const int steps = (range + range / kTexelRangeLimit + 1) / factor;
  const float u = 1.0f / static_cast<float>(width);
  const float v = 1.0f / static_cast<float>(height);
  const auto reach = static_cast<float>(2 * (factor - 1) + range);
  constants.range = steps;
  constants.inverseRange = 1.0f / static_cast<float>(steps);
  constants.ratio[0] = u;
  constants.ratio[1] = v;
  constants.step[0] = reach * u / static_cast<float>(steps);
  constants.step[1] = reach * v / static_cast<float>(steps);
  // The shader's window is centred on the offset position: the pixel's place in the input.
  constants.offset[0] = -static_cast<float>(range) * u;
  constants.offset[1] = -static_cast<float>(range) * v;
  const float limit = static_cast<float>(steps * softness) / 100.0f + 1.0f;
  constants.limit = limit * limit;
  ::Shader::SamplerStateList& samplers = Resource::ResourceService::Get().samplerStates();
  const auto lock = shaders.lock();
  Media::ShaderBindings::setSampler(0, samplers.get(kLinearBorderSampler));
  shaders.pixelShader(kSampledShader)
      .drawInputWithConstants(*output, *shrunk, shaders.writeConstants(&constants), nullptr);
  return adoptBuffer(std::move(output));
}

OwnedImage BorderFilter::shrink(Media::ResourceBuffer& input, int factor) {
  const auto width = static_cast<int32_t>(input.width());
  const auto height = static_cast<int32_t>(input.height());
  OwnedImage rows = reduce(input, Resource::PixelShaderList::kBoxReduceVertical, width,
                           divideUp(height, factor), factor);
  return reduce(*rows, Resource::PixelShaderList::kBoxReduceHorizontal, divideUp(width, factor),
                divideUp(height, factor), factor);
}

}  // namespace Effect
