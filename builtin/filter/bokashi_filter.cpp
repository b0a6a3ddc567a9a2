#include "builtin/filter/bokashi_filter.h"

#include <algorithm>
#include <cmath>

#include "gpu/pixel_format.h"
#include "gpu/resource/pixel_shader_list.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

// Beyond this a radius blurs nothing more: no image side is larger.
constexpr int kMaxRadius = 16384;

// An axis radius shortened by the aspect: trunc(share x R) in single precision, never below 0.
int shortened(int radius, float share) {
  const float value = std::trunc(share * static_cast<float>(radius));
  return value >= 1.0f ? static_cast<int>(value) : 0;
}

BokashiFilter::BoxConstants boxConstants(const Media::ResourceBuffer& output, int radius) {
  return {static_cast<int32_t>(output.width()), static_cast<int32_t>(output.height()), radius,
          1.0f / static_cast<float>(2 * radius + 1)};
}

}  // namespace

BoxBlurShaders::BoxBlurShaders()
    : FilterShaderSet({"box_blur_grow_h_ps", "box_blur_grow_v_ps", "box_blur_centre_h_ps",
                       "box_blur_centre_v_ps", "box_blur_clamp_h_ps", "box_blur_clamp_v_ps"},
                      {"box_blur_grow_h_cs", "box_blur_grow_v_cs", "box_blur_centre_h_cs",
                       "box_blur_centre_v_cs", "box_blur_clamp_h_cs", "box_blur_clamp_v_cs"},
                      sizeof(BokashiFilter::BoxConstants)) {}

BokashiFilter::BokashiFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 5.0, 0.0, 1000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      lightStrength(items, "光の強さ", 0.0, 0.0, 60.0, 0.1),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BokashiFilter::create() const {
  return std::make_shared<BokashiFilter>();
}

BokashiFilter::AxisRadii BokashiFilter::axisRadii(int radius, float aspect) {
  AxisRadii radii{radius, radius};
  if (aspect > 0.0f)
    radii.vertical = shortened(radius, 1.0f - aspect);
  else if (aspect < 0.0f)
    radii.horizontal = shortened(radius, 1.0f + aspect);
  return radii;
}

OwnedImage BokashiFilter::filterVideo(EffectContext& context, OwnedImage image) {
  const long light = std::lround(lightStrength.getValue(context));
  const int mode = fixedSize.value ? kKeepEdge : kGrow;
  const auto shape = static_cast<float>(aspect.getValue(context) * 0.01);
  const auto radius = static_cast<int>(std::lround(range.getValue(context)));
  // Without a blur the expansion and compression would only clip the colours to 0 .. 1.
  if (light <= 0 || radius <= 0 || !image || image->empty())
    return blur(std::move(image), radius, shape, mode);

  // Bright pixels weigh exponentially more in the averages: the colours are spread as
  // e^(c x base + 1) before the blur and brought back by the logarithm after it.
  const float base = static_cast<float>(light) * 0.15f + 1.0f;
  OwnedImage spread = drawWithFactor(*image, Resource::PixelShaderList::kExponential, base);
  image.reset();
  OwnedImage blurred = blur(std::move(spread), radius, shape, mode);
  return drawWithFactor(*blurred, Resource::PixelShaderList::kLogarithmic, 1.0f / base);
}

OwnedImage BokashiFilter::drawWithFactor(Media::ResourceBuffer& input, int shader, float factor) {
  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(input.width()),
                                                        static_cast<int32_t>(input.height()));
  const float constants[4] = {factor, 0.0f, 0.0f, 0.0f};
  CommonResource& shared = resource();
  const auto lock = shared.lock();
  Resource::ResourceService::Get().pixelShaders().entry(shader).drawInputWithConstants(
      *output, input, shared.writeConstants(constants), nullptr);
  return adoptBuffer(std::move(output));
}

OwnedImage BokashiFilter::blur(OwnedImage input, int radius, float aspect, int mode) {
  radius = std::min(radius, kMaxRadius);
  if (radius <= 0 || !input || input->empty()) return input;
  const auto [vertical, horizontal] = axisRadii(radius, aspect);

  BoxPass first = kGrowHorizontal;
  if (mode == kKeepTransparent) first = kCentredHorizontal;
  if (mode == kKeepEdge) first = kClampedHorizontal;
  const auto along = static_cast<BoxPass>(first);
  const auto down = static_cast<BoxPass>(first + 1);
  const bool compute = vertical + horizontal >= kComputeFrom;

  OwnedImage image = runPass(std::move(input), down, vertical - vertical / 2, compute);
  image = runPass(std::move(image), along, horizontal - horizontal / 2, compute);
  image = runPass(std::move(image), down, vertical / 2, compute);
  return runPass(std::move(image), along, horizontal / 2, compute);
}

OwnedImage BokashiFilter::boxBlur(OwnedImage input, int radius) {
  radius = std::min(radius, kMaxRadius);
  if (radius <= 0 || !input || input->empty()) return input;
  const bool compute = radius >= kComputeFrom;
  OwnedImage image = runPass(std::move(input), kGrowVertical, radius, compute);
  return runPass(std::move(image), kGrowHorizontal, radius, compute);
}

OwnedImage BokashiFilter::runPass(OwnedImage input, BoxPass pass, int radius, bool compute) {
  if (radius <= 0) return input;
  const int grow = 2 * radius;
  const auto side = [](uint32_t length, int more) {
    return static_cast<int>(std::min<uint32_t>(length + static_cast<uint32_t>(more),
                                               Media::kMaxTextureSide));
  };
  const int width = side(input->width(), pass == kGrowHorizontal ? grow : 0);
  const int height = side(input->height(), pass == kGrowVertical ? grow : 0);
  if (!compute) return drawPass(std::move(input), pass, width, height, radius);
  // One thread per output row for horizontal passes, per output column for vertical ones.
  const bool horizontal = pass % 2 == 0;
  return dispatchPass(std::move(input), pass, width, height, radius,
                      horizontal ? 1 : static_cast<uint32_t>(width),
                      horizontal ? static_cast<uint32_t>(height) : 1);
}

OwnedImage BokashiFilter::drawPass(OwnedImage input, BoxPass pass, int width, int height,
                                   int radius) {
  if (radius <= 0) return input;
  auto output = std::make_unique<Media::ResourceBuffer>(width, height);
  const BoxConstants constants = boxConstants(*output, radius);
  CommonResource& shared = resource();
  const auto lock = shared.lock();
  Media::PixelShader& shader = shared.pixelShader(pass);
  shader.drawInputWithConstants(*output, *input, shared.writeConstants(&constants), nullptr);
  return adoptBuffer(std::move(output));
}

OwnedImage BokashiFilter::dispatchPass(OwnedImage input, BoxPass pass, int width, int height,
                                       int radius, uint32_t groupsX, uint32_t groupsY) {
  if (radius <= 0) return input;
  auto output = std::make_unique<Media::ResourceBuffer>(width, height);
  const BoxConstants constants = boxConstants(*output, radius);
  const auto source = input->createShaderResourceView();
  const auto target = output->createUnorderedAccessView();
  CommonResource& shared = resource();
  const auto lock = shared.lock();
  Media::ComputeShader& shader = shared.computeShader(pass);
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Compute, 0,
                                           &shared.writeConstants(&constants));
  Media::ShaderBindings::setShaderResource(0, source.get());
  Media::ShaderBindings::setUnorderedAccess(0, target.get());
  shader.dispatch(groupsX, groupsY, 1);
  Media::ShaderBindings::setUnorderedAccess(0, nullptr);
  Media::ShaderBindings::setShaderResource(0, nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
