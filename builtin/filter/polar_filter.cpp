#include "builtin/filter/polar_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gpu/pixel_format.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {

PolarShaders::PolarShaders()
    : FilterShaderSet({"polar_ps"}, {}, sizeof(PolarConstants)) {}

PolarFilter::PolarFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      centerWidth(items, "中心幅", 0.0, 0.0, 2000.0, 1.0),
      zoom(items, "拡大率", 100.0, 100.0, 800.0, 0.01),
      rotation(items, "回転", 0.0, -3600.0, 3600.0, 0.01),
      swirl(items, "渦巻", 0.0, -8.0, 8.0, 0.001) {
  label = "変形";
}

std::shared_ptr<EffectBase> PolarFilter::create() const { return std::make_shared<PolarFilter>(); }

}  // namespace Effect

namespace Effect {
namespace {

// Linear filtering, mirrored along the row (the angle wraps round without a seam) and with
// a transparent border across it (beyond the picture's first and last row).
constexpr std::size_t kMirrorAcrossBorderDownSampler = 4;

}  // namespace

PolarFilter::Layout PolarFilter::layout(int width, int height, double centerWidth, double zoom,
                                        double rotation, double swirl) {
  constexpr double kPi = std::numbers::pi;
  const double radius = zoom / 100.0 * (width + height) / kPi + centerWidth;
  const double ring = radius - centerWidth;  // the width of the picture's band
  // Turns of the rotation are whole turns of the angle.
  double turned = std::fmod(rotation, 360.0);
  if (turned < 0.0) turned += 360.0;
  Layout result;
  result.side = static_cast<int>(std::min(std::ceil(2.0 * radius),
                                          static_cast<double>(Media::kMaxTextureSide)));
  PolarConstants& c = result.constants;
  c.rsize = static_cast<float>(radius);
  c.offset = static_cast<float>(centerWidth);
  c.pix = static_cast<float>(turned * 2.0 * kPi / 360.0 + 3.5 * kPi);
  const double pia = ring > 0.0 ? swirl * 2.0 * kPi / ring : 0.0;
  c.pia = static_cast<float>(pia);
  c.pio = static_cast<float>(std::min(std::fabs(pia * width * 2.0 * std::numbers::sqrt2 /
                                                (2.0 * kPi)),
                                      static_cast<double>(width)));
  c.kx = static_cast<float>(width / (2.0 * kPi));
  c.ky = static_cast<float>(radius > 0.0 ? (height + centerWidth) / radius : 0.0);
  return result;
}

OwnedImage PolarFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const Layout disc = layout(static_cast<int>(image->width()), static_cast<int>(image->height()),
                             centerWidth.getValue(context), zoom.getValue(context),
                             rotation.getValue(context), swirl.getValue(context));
  auto output = std::make_unique<Media::ResourceBuffer>(disc.side, disc.side);
  Shader::SamplerStateList& samplers = Resource::ResourceService::Get().samplerStates();
  CommonResource& shaders = resource();
  {
    const auto lock = shaders.lock();
    Media::PixelShader& shader = shaders.pixelShader(0);
    Media::ShaderBindings::setSampler(0, samplers.get(kMirrorAcrossBorderDownSampler));
    shader.drawInputWithConstants(*output, *image, shaders.writeConstants(&disc.constants),
                                  nullptr);
    Media::ShaderBindings::setSampler(0, nullptr);
  }
  context.outputView.centerX = 0.0f;
  context.outputView.centerY = 0.0f;
  return adoptBuffer(std::move(output));
}

}  // namespace Effect
