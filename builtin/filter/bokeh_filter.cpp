#include "builtin/filter/bokeh_filter.h"

#include <algorithm>
#include <cmath>

#include "effect/effect_item_combo_file.h"
#include "gpu/pixel_format.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {
namespace {

// The shaders of BokehShaders, in their order.
enum KernelShader : std::size_t { kDirectTransparent, kDirectClamped, kSampled };
// Shared samplers: linear with a transparent border, linear with clamped edges.
constexpr std::size_t kLinearBorder = 0;
constexpr std::size_t kLinearClamp = 1;

int grownSide(uint32_t side, int radius, bool fixedSize) {
  if (fixedSize) return static_cast<int>(side);
  return static_cast<int>(
      std::min<uint32_t>(side + 2 * static_cast<uint32_t>(radius), Media::kMaxTextureSide));
}

int ceilDiv(uint32_t value, int divisor) {
  return static_cast<int>((value + static_cast<uint32_t>(divisor) - 1) / static_cast<uint32_t>(divisor));
}

// The figure as the kernel: its alpha is the weight of each tap. A figure missing from the
// list gives a kernel without weight, which the shaders answer with the unblurred picture.
std::unique_ptr<Media::ResourceBuffer> kernelOf(int figure, int side) {
  const Media::Color::Rgba white{1.0f, 1.0f, 1.0f, 1.0f};
  auto kernel = Resource::ResourceService::Get().figureList().createImage(
      figure, side, side, white, Resource::FigureList::kFilled, false, 0);
  if (kernel) return kernel;
  auto empty = std::make_unique<Media::ResourceBuffer>(side, side);
  const float clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  empty->clearRenderTarget(clear);
  return empty;
}

// One draw of a built-in shader from `input` into a new image of its size, with `factor` as
// the shader's one constant.
OwnedImage drawWithFactor(Media::ResourceBuffer& input, int shader, float factor) {
  auto output = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(input.width()),
                                                        static_cast<int32_t>(input.height()));
  Resource::ResourceService& service = Resource::ResourceService::Get();
  service.drawWithSharedConstants(service.pixelShaders().entry(shader), *output, input, &factor,
                                  sizeof(factor), nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace

BokehShaders::BokehShaders()
    : FilterShaderSet({"bokeh_step_ps", "bokeh_clamp_ps", "bokeh_sample_ps"}, {}, sizeof(BokehConstants)) {}

BokehFilter::BokehFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      range(items, "範囲", 5.0, 0.0, 1000.0, 1.0),
      lightStrength(items, "光の強さ", 32.0, 0.0, 60.0, 0.1),
      shape(items, "形状", 1, EffectItemFigureSelect::getFigureList()),
      fixedSize(items, "サイズ固定", false) {
  label = "ぼかし";
}

std::shared_ptr<EffectBase> BokehFilter::create() const { return std::make_shared<BokehFilter>(); }

OwnedImage BokehFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  // Bright pixels weigh exponentially more in the kernel's mean: the colours are spread as
  // e^(c x base + 1) before it and brought back by the logarithm after it.
  const float base = static_cast<float>(lightStrength.getValue(context)) * 0.15f + 1.0f;
  OwnedImage spread = drawWithFactor(*image, Resource::PixelShaderList::kExponential, base);
  image.reset();
  const auto radius = static_cast<int>(std::lround(range.getValue(context)));
  OwnedImage blurred = bokeh(std::move(spread), shape.value, radius, fixedSize.value);
  return drawWithFactor(*blurred, Resource::PixelShaderList::kLogarithmic, 1.0f / base);
}

OwnedImage BokehFilter::shrink(OwnedImage input, int factor) {
  if (factor <= 1 || !input || input->empty()) return input;
  const int32_t step[2] = {factor, 0};
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Resource::PixelShaderList& builtin = service.pixelShaders();
  Media::ResourceBuffer rows(static_cast<int32_t>(input->width()), ceilDiv(input->height(), factor));
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kBoxReduceVertical),
                                  rows, *input, step, sizeof(step), nullptr);
  input.reset();
  auto reduced = std::make_unique<Media::ResourceBuffer>(ceilDiv(rows.width(), factor),
                                                         static_cast<int32_t>(rows.height()));
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kBoxReduceHorizontal),
                                  *reduced, rows, step, sizeof(step), nullptr);
  return adoptBuffer(std::move(reduced));
}

OwnedImage BokehFilter::bokeh(OwnedImage input, int figure, int radius, bool fixedSize) {
  // Beyond any image side a larger kernel blurs nothing more.
  radius = std::min(radius, static_cast<int>(Media::kMaxTextureSide));
  if (radius <= 0 || !input || input->empty()) return input;
  const int width = static_cast<int>(input->width());
  const int height = static_cast<int>(input->height());
  const int outputWidth = grownSide(input->width(), radius, fixedSize);
  const int outputHeight = grownSide(input->height(), radius, fixedSize);
  auto output = std::make_unique<Media::ResourceBuffer>(outputWidth, outputHeight);
  const int side = 2 * radius + 1;
  BokehConstants constants{};

  if (side <= kDirectSide) {
    // Tap (i, j) of output pixel (x, y) reads input texel (x - r + i, y + r - j), moved by
    // the growth.
    constants.offset[0] = static_cast<float>(width - outputWidth - side) * 0.5f;
    constants.offset[1] = static_cast<float>(height - outputHeight + side) * 0.5f;
    constants.sampleNum = side;
    const auto kernel = kernelOf(figure, side);
    CommonResource& shaders = resource();
    const auto lock = shaders.lock();
    Media::PixelShader& shader = shaders.pixelShader(fixedSize ? kDirectClamped : kDirectTransparent);
    Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0,
                                             &shaders.writeConstants(&constants));
    shader.drawTwoInputs(*output, *input, *kernel, nullptr);
    return adoptBuffer(std::move(output));
  }

  // A large kernel: the picture reduced by t, sampled with n taps per side t pixels apart,
  // so that no pixel reads more than kDirectSide² taps.
  const int factor = side / kDirectSide + 1;
  const int taps = (factor + side) / factor;
  OwnedImage reduced = shrink(std::move(input), factor);
  const auto fw = static_cast<float>(width);
  const auto fh = static_cast<float>(height);
  const auto t = static_cast<float>(factor);
  const auto n = static_cast<float>(taps);
  // Where the taps fall as shares of the original picture: the first tap of the first row
  // of the pixel at (x, y) lies at (x / W + u0, y / H + v0), tap i a further t / W across and
  // row j a further t / H up.
  const float du = (fw - static_cast<float>(outputWidth)) * 0.5f;
  const float dv = (fh - static_cast<float>(outputHeight)) * 0.5f;
  const float u0 = (du - t * (n - 1.0f) * 0.5f) / fw;
  const float v0 = (t * (n + 1.0f) * 0.5f + dv) / fh - t / fh;
  // The shader works in texels of the reduced picture.
  const auto rw = static_cast<float>(reduced->width());
  const auto rh = static_cast<float>(reduced->height());
  constants.ratio[0] = rw / fw;
  constants.ratio[1] = rh / fh;
  constants.offset[0] = u0 * rw;
  constants.offset[1] = v0 * rh;
  constants.step[0] = t / fw * rw;
  constants.step[1] = t / fh * rh;
  constants.sampleNum = taps;
  const auto kernel = kernelOf(figure, taps);
  Shader::SamplerStateList& samplers = Resource::ResourceService::Get().samplerStates();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::PixelShader& shader = shaders.pixelShader(kSampled);
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0,
                                           &shaders.writeConstants(&constants));
  Media::ShaderBindings::setSampler(0, samplers.get(fixedSize ? kLinearClamp : kLinearBorder));
  shader.drawTwoInputs(*output, *reduced, *kernel, nullptr);
  Media::ShaderBindings::setSampler(0, nullptr);
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
