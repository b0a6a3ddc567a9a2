#include "builtin/filter/drop_shadow_filter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "render/effect_chain.h"

namespace Effect {

DropShadowFilter::DropShadowFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", -40.0, -1000.0, 1000.0, 1.0),
      y(items, "Y", 24.0, -1000.0, 1000.0, 1.0),
      density(items, "濃さ", 40.0, 0.0, 100.0, 0.1),
      spread(items, "拡散", 10.0, 0.0, 500.0, 1.0),
      color(items, "影色", 0x000000),
      separateObject(items, "影を別オブジェクトで描画", false) {
  label = "装飾";
}

std::shared_ptr<EffectBase> DropShadowFilter::create() const {
  return std::make_shared<DropShadowFilter>();
}

namespace {

constexpr std::size_t kBlendOver = 0;

int roundedValue(const EffectItemNumber& item, const EffectContext& context) {
  return static_cast<int>(std::lround(item.getValue(context)));
}

// The picture's shape in one colour, softened by the prototype of "ぼかし" (larger by the
// spread on every side).
OwnedImage silhouette(Media::ResourceBuffer& picture, const float (&color)[4], int spread) {
  Resource::ResourceService& service = Resource::ResourceService::Get();
  auto shape = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(picture.width()),
                                                       static_cast<int32_t>(picture.height()));
  service.drawWithSharedConstants(
      service.pixelShaders().entry(Resource::PixelShaderList::kCoverageColor), *shape, picture,
      color, sizeof(color), nullptr);
  OwnedImage result = adoptBuffer(std::move(shape));
  if (spread <= 0) return result;
  return defaultEffect<BokashiFilter>().blur(std::move(result), spread, 0.0f,
                                                BokashiFilter::kGrow);
}

}  // namespace

OwnedImage DropShadowFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const float strength = static_cast<float>(density.getValue(context)) * 0.01f;
  const float shade[4] = {static_cast<float>(color.red) / 255.0f * strength,
                          static_cast<float>(color.green) / 255.0f * strength,
                          static_cast<float>(color.blue) / 255.0f * strength, strength};
  const int blurRadius = std::max(roundedValue(spread, context), 0);
  OwnedImage shadow = silhouette(*image, shade, blurRadius);
  const int dx = roundedValue(x, context), dy = roundedValue(y, context);

  if (separateObject.value) {
    // The shadow as an object of its own, drawn before the picture at the offset position.
    OutputView& view = context.outputView;
    view.x += static_cast<float>(dx);
    view.y += static_cast<float>(dy);
    struct Restore {
      OutputView& view;
      float x, y;
      ~Restore() {
        view.x = x;
        view.y = y;
      }
    } restore{view, view.x - static_cast<float>(dx), view.y - static_cast<float>(dy)};
    Render::Chain::outputVideo(context, shadow);
    return image;
  }

  // The shadow at (max(dx, 0), max(dy, 0)) and the picture over it, the picture moved by
  // the spread and away from a negative offset.
  const auto width = static_cast<int32_t>(std::abs(dx) + static_cast<int>(shadow->width()));
  const auto height = static_cast<int32_t>(std::abs(dy) + static_cast<int>(shadow->height()));
  auto combined = std::make_unique<Media::ResourceBuffer>(width, height);
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Media::PixelShader& copy = service.pixelShaders().entry(Resource::PixelShaderList::kCopyOffset);
  const int32_t shadowOffset[2] = {-std::max(dx, 0), -std::max(dy, 0)};
  service.drawWithSharedConstants(copy, *combined, *shadow, shadowOffset, sizeof(shadowOffset),
                                  nullptr);
  const int32_t pictureOffset[2] = {std::min(dx, 0) - blurRadius, std::min(dy, 0) - blurRadius};
  service.drawWithSharedConstants(copy, *combined, *image, pictureOffset, sizeof(pictureOffset),
                                  service.blendStates().get(kBlendOver));
  // The larger picture's centre lies half the offset from the picture's: the centre offset
  // moves back by as much so the picture stays where it was.
  context.outputView.centerX -= static_cast<float>(dx) * 0.5f;
  context.outputView.centerY -= static_cast<float>(dy) * 0.5f;
  return adoptBuffer(std::move(combined));
}

}  // namespace Effect
