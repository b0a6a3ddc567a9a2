#include "builtin/filter/bloom_filter.h"

#include <cmath>
#include <cstdint>

#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "effect/effect_service.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "system/exception.h"

namespace Effect {
namespace {

// Blend states of the shared list.
constexpr std::size_t kBlendAddColour = 11;     // colour added, alpha "over"
constexpr std::size_t kBlendInsideTarget = 14;  // the source scaled by the target's alpha

// The bright-pass shader's constants.
struct BrightConstants {
  float threshold;
  float ratio;
  float limit;
};

BokashiFilter& registeredBlur() { return defaultEffect<BokashiFilter>(); }

}  // namespace

BloomFilter::BloomFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 500.0, 0.1),
      spread(items, "拡散", 250.0, 10.0, 1000.0, 1.0),
      threshold(items, "しきい値", 80.0, 0.0, 200.0, 0.1),
      spreadSpeed(items, "拡散速度", 0.0, 0.0, 60.0, 1.0),
      lightColor(items, "光色", EffectItemColor::kNoColor, ItemType::ColorOrNone),
      fixedSize(items, "サイズ固定", false) {
  label = "光効果";
}

std::shared_ptr<EffectBase> BloomFilter::create() const { return std::make_shared<BloomFilter>(); }

OwnedImage BloomFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  // Above 100 % the strength climbs three times as fast.
  float power = static_cast<float>(strength.getValue(context)) * 0.01f;
  if (power > 1.0f) power = 3.0f * power - 2.0f;
  const float gain = 1.25f * power;

  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Resource::PixelShaderList& builtin = service.pixelShaders();
  auto bright = std::make_unique<Media::ResourceBuffer>(width, height);
  const BrightConstants pass{static_cast<float>(threshold.getValue(context)) * 0.01f, gain, gain};
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kBrightPass), *bright,
                                  *image, &pass, sizeof(pass), nullptr);
  if (!lightColor.none) {
    // Each bright pixel takes the light's colour at its own alpha.
    const float fill[4] = {static_cast<float>(lightColor.red) / 255.0f,
                           static_cast<float>(lightColor.green) / 255.0f,
                           static_cast<float>(lightColor.blue) / 255.0f, 1.0f};
    const Resource::ResourceService::SharedConstantsScope shared(service, fill, sizeof(fill));
    builtin.entry(Resource::PixelShaderList::kFill)
        .drawWithConstants(*bright, shared.buffer(), service.blendStates().get(kBlendInsideTarget));
  }

  const auto radius = static_cast<int32_t>(std::lround(spread.getValue(context)));
  const bool sizeFixed = fixedSize.value;
  OwnedImage canvas = adoptBuffer(sizeFixed ? image->clone()
                                            : image->crop(width + 2 * radius, height + 2 * radius,
                                                          radius, radius));
  image.reset();

  // Each further layer's radius is the speed's share of the one before: 50 halves it, 100
  // keeps it.
  const auto share = static_cast<int32_t>(std::lround(spreadSpeed.getValue(context))) + 50;
  int32_t layerRadius = radius;
  for (int layer = 0; layer < 3; ++layer) {
    addGlowLayer(*canvas, adoptBuffer(bright->clone()), layerRadius, sizeFixed);
    layerRadius = share * layerRadius / 100;
  }
  addGlowLayer(*canvas, adoptBuffer(std::move(bright)), layerRadius, sizeFixed);
  return canvas;
}

void BloomFilter::addGlowLayer(Media::ResourceBuffer& target, OwnedImage layer, int radius,
                               bool sizeFixed) {
  const int mode = sizeFixed ? BokashiFilter::kKeepTransparent : BokashiFilter::kGrow;
  OwnedImage blurred = registeredBlur().blur(std::move(layer), radius, 0.0f, mode);
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Resource::PixelShaderList& builtin = service.pixelShaders();
  Media::BlendState* add = service.blendStates().get(kBlendAddColour);
  if (blurred->width() == target.width() && blurred->height() == target.height()) {
    builtin.entry(Resource::PixelShaderList::kCopy).drawInput(target, *blurred, add);
    return;
  }
  const int32_t offset[2] = {
      (static_cast<int32_t>(blurred->width()) - static_cast<int32_t>(target.width())) / 2,
      (static_cast<int32_t>(blurred->height()) - static_cast<int32_t>(target.height())) / 2};
  service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kCopyOffset), target,
                                  *blurred, offset, sizeof(offset), add);
}

}  // namespace Effect
