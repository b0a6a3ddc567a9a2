#include "builtin/filter/light_filter.h"

#include <cmath>
#include <cstdint>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {

LightShaders::LightShaders()
    : FilterShaderSet({"light_trailing_h_ps", "light_trailing_v_ps", "light_centred_h_ps",
                       "light_centred_v_ps", "light_centred_v_inverse_ps"},
                      {}, 32) {}

LightFilter::LightFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 300.0, 0.1),
      spread(items, "拡散", 25.0, 0.0, 500.0, 1.0),
      ratio(items, "比率", 0.0, -100.0, 100.0, 0.1),
      backlight(items, "逆光", false),
      color(items, "色", 0xFFFFFF) {
  label = "光効果";
}

std::shared_ptr<EffectBase> LightFilter::create() const { return std::make_shared<LightFilter>(); }

}  // namespace Effect

namespace Effect {
namespace {

enum Pass : std::size_t {
  kTrailingRow, kTrailingColumnAlpha, kCentredRow, kCentredColumnAlpha, kCentredColumnClear
};
// Blend states of the shared list.
constexpr std::size_t kBlendOver = 0;
constexpr std::size_t kBlendAddInsideAlpha = 18;

// The shaders' "constant0".
struct LightConstants {
  float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  int32_t range = 0;     // the window's radius
  float divive = 1.0f;   // the weight of one texel in the window
  float unused[2] = {0.0f, 0.0f};
};
static_assert(sizeof(LightConstants) == 32);

}  // namespace

OwnedImage LightFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  const float power = static_cast<float>(strength.getValue(context)) * 0.01f;
  const int32_t radius = static_cast<int32_t>(std::lround(spread.getValue(context)));
  const float balance = static_cast<float>(ratio.getValue(context)) * 0.01f;
  // A positive ratio takes from the front light, a negative one from the back light.
  float front = balance > 0.0f ? power * (1.0f - balance) : power;
  const float back = balance < 0.0f ? power * (1.0f + balance) : power;
  if (front <= 0.0f && back <= 0.0f) return image;

  LightConstants constants;
  constants.color[0] = static_cast<float>(color.red) / 255.0f;
  constants.color[1] = static_cast<float>(color.green) / 255.0f;
  constants.color[2] = static_cast<float>(color.blue) / 255.0f;
  constants.range = radius;
  const float window = static_cast<float>(2 * radius + 1);
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Shader::BlendStateList& blends = service.blendStates();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();

  if (front > 0.0f) {
    // The shape's alpha (or, against the light, its transparency) boxed down the columns in
    // the light's colour, then across the rows and added where the picture is.
    Media::ResourceBuffer column(width, height);
    constants.divive = 1.0f / window;
    const Pass first = backlight.value ? kCentredColumnClear : kCentredColumnAlpha;
    if (!backlight.value) front *= 0.5f;
    shaders.pixelShader(first).drawInputWithConstants(column, *image, shaders.writeConstants(&constants),
                                                 nullptr);
    constants.divive = front / window;
    shaders.pixelShader(kCentredRow)
        .drawInputWithConstants(*image, column, shaders.writeConstants(&constants),
                                blends.get(kBlendAddInsideAlpha));
  }
  if (back <= 0.0f) return image;

  // The glow: the alpha boxed by trailing windows into buffers 2 radius larger, which
  // centres it with a margin of the radius; the picture goes over it at (radius, radius).
  Media::ResourceBuffer tall(width, height + 2 * radius);
  auto glow = std::make_unique<Media::ResourceBuffer>(width + 2 * radius, height + 2 * radius);
  constants.divive = 1.0f / window;
  shaders.pixelShader(kTrailingColumnAlpha)
      .drawInputWithConstants(tall, *image, shaders.writeConstants(&constants), nullptr);
  constants.divive = back / window;
  shaders.pixelShader(kTrailingRow)
      .drawInputWithConstants(*glow, tall, shaders.writeConstants(&constants), nullptr);
  const int32_t offset[2] = {-radius, -radius};
  Resource::PixelShaderList& builtin = service.pixelShaders();
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kCopyOffset), *glow,
                                  *image, offset, sizeof(offset), blends.get(kBlendOver));
  return adoptBuffer(std::move(glow));
}

}  // namespace Effect
