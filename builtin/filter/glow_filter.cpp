#include "builtin/filter/glow_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "builtin/choice_lists.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/filter/light_drawing.h"
#include "gpu/pixel_format.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Effect {
namespace {

// The bright-pass shader's constants.
struct BrightPassConstants {
  float threshold;  // luma below it gives no light
  float ratio;      // light per unit of luma above the threshold
  float limit;      // the brightest a colour channel of the light becomes
};

int grownSide(uint32_t side, int growth) {
  return static_cast<int>(std::min<int64_t>(int64_t{side} + 2 * int64_t{growth},
                                            Media::kMaxTextureSide));
}

}  // namespace

GlowShaders::GlowShaders()
    : FilterShaderSet({"glow_ps"}, {}, sizeof(StreakConstants)) {}

GlowFilter::GlowFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 40.0, 0.0, 500.0, 0.01),
      spread(items, "拡散", 50.0, 0.0, 500.0, 1.0),
      angle(items, "角度", 25.0, -3600.0, 3600.0, 0.01),
      threshold(items, "しきい値", 80.0, 0.0, 200.0, 0.1),
      ratio(items, "比率", 100.0, 0.0, 100.0, 0.1),
      blur(items, "ぼかし", 1.0, 0.0, 50.0, 1.0),
      shape(items, "形状", 1, GlowShapeList()),
      lightColor(items, "光色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      lightOnly(items, "光成分のみ", false),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> GlowFilter::create() const { return std::make_shared<GlowFilter>(); }

StreakConstants GlowFilter::streakConstants(int lightWidth, int lightHeight, int outputWidth,
                                            int outputHeight, float length, float stepRatio,
                                            float angle) {
  // One tap per pixel of the streak, but no more than the light's diagonal and at least 5.
  const double diagonal = std::hypot(static_cast<double>(lightWidth), static_cast<double>(lightHeight));
  const int taps = std::max(5, static_cast<int>(std::ceil(std::min(static_cast<double>(length), diagonal))));
  const float theta = angle * std::numbers::pi_v<float> / 180.0f;
  const float step = length / static_cast<float>(taps);
  StreakConstants constants{};
  constants.offset[0] = static_cast<float>(lightWidth - outputWidth) * 0.5f;
  constants.offset[1] = static_cast<float>(lightHeight - outputHeight) * 0.5f;
  constants.step[0] = -std::sin(theta) * step;
  constants.step[1] = std::cos(theta) * step;
  constants.stepRatio = stepRatio;
  constants.sampleNum = taps;
  return constants;
}

void GlowFilter::addStreak(Media::ResourceBuffer& output, Media::ResourceBuffer& light,
                           float length, float stepRatio, float angle) {
  if (!(length > 0.0f)) return;
  const StreakConstants constants = streakConstants(
      static_cast<int>(light.width()), static_cast<int>(light.height()),
      static_cast<int>(output.width()), static_cast<int>(output.height()), length, stepRatio, angle);
  Shader::BlendStateList& blends = Resource::ResourceService::Get().blendStates();
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  shaders.pixelShader(0).drawInputWithConstants(output, light, shaders.writeConstants(&constants),
                                                blends.get(kLightAddOver));
}

OwnedImage GlowFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const int form = shape.value;
  float gain = static_cast<float>(strength.getValue(context) / 100.0 * 32.0);
  if (form == kNormal) gain *= 4.0f;

  // The light: how far each pixel's luma lies above the threshold, in the pixel's colour
  // or in the light colour.
  Resource::ResourceService& service = Resource::ResourceService::Get();
  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  auto light = std::make_unique<Media::ResourceBuffer>(width, height);
  const BrightPassConstants bright{static_cast<float>(threshold.getValue(context) / 100.0), gain, gain};
  service.drawWithSharedConstants(service.pixelShaders().entry(Resource::PixelShaderList::kBrightPass),
                                  *light, *image, &bright, sizeof(bright), nullptr);
  tintLight(*light, lightColor);

  const auto reach = static_cast<int>(std::lround(spread.getValue(context)));
  const int growth = fixedSize.value ? 0 : reach;
  auto output = std::make_unique<Media::ResourceBuffer>(grownSide(image->width(), growth),
                                                        grownSide(image->height(), growth));
  const auto full = static_cast<float>(reach);
  const float share = static_cast<float>(ratio.getValue(context) / 100.0);
  const float part = full * share;
  const auto turn = static_cast<float>(angle.getValue(context));
  switch (form) {
    case kNormal: {
      // Two blurs, the second on the first, each added once: a bright core in a wide halo.
      BokashiFilter& blurs = defaultEffect<BokashiFilter>();
      OwnedImage halo = blurs.blur(adoptBuffer(std::move(light)), reach / 2, 0.0f, BokashiFilter::kGrow);
      drawCentred(*output, *halo, kLightAddOver);
      halo = blurs.boxBlur(std::move(halo), reach - reach / 2);
      drawCentred(*output, *halo, kLightAddOver);
      break;
    }
    case kCross4:
      addStreak(*output, *light, full, 1.0f, turn);
      addStreak(*output, *light, part, 1.0f, turn + 90.0f);
      break;
    case kCross6:
      for (const float arm : {0.0f, 120.0f, -120.0f}) addStreak(*output, *light, full, share, turn + arm);
      break;
    case kCross8:
      addStreak(*output, *light, full, 1.0f, turn);
      addStreak(*output, *light, part, 1.0f, turn + 45.0f);
      addStreak(*output, *light, full, 1.0f, turn + 90.0f);
      addStreak(*output, *light, part, 1.0f, turn - 45.0f);
      break;
    case kCross10:
      for (int k = 0; k < 5; ++k)
        addStreak(*output, *light, full, share, turn + 72.0f * static_cast<float>(k));
      break;
    case kCross12:
      for (int k = 0; k < 6; ++k)
        addStreak(*output, *light, k % 2 == 0 ? full : part, 1.0f, turn + 30.0f * static_cast<float>(k));
      break;
    case kLine:
      addStreak(*output, *light, part, 1.0f, turn + 90.0f);
      break;
    default:
      break;
  }

  const auto soften = static_cast<int>(std::lround(blur.getValue(context)));
  OwnedImage result = adoptBuffer(std::move(output));
  if (soften > 0) result = defaultEffect<BokashiFilter>().boxBlur(std::move(result), soften);
  // The picture's colour is added to the light, its alpha going behind the light's.
  if (!lightOnly.value) drawCentred(*result, *image, kLightAddBehind);
  return result;
}

}  // namespace Effect
