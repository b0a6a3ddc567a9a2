#include "builtin/basic/basic_expand.h"

#include <cmath>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/constant_buffer.h"

namespace Effect {

BasicExpand::BasicExpand()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      top(items, "上", 0.0, 0.0, 4000.0, 1.0),
      bottom(items, "下", 0.0, 0.0, 4000.0, 1.0),
      left(items, "左", 0.0, 0.0, 4000.0, 1.0),
      right(items, "右", 0.0, 0.0, 4000.0, 1.0),
      fill(items, "塗りつぶし", false) {
  label = "基本効果";
}

std::shared_ptr<EffectBase> BasicExpand::create() const { return std::make_shared<BasicExpand>(); }

}  // namespace Effect

namespace Effect {

OwnedImage BasicExpand::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  const auto side = [&](const EffectItemNumber& item) {
    return static_cast<int32_t>(std::lround(item.getValue(context)));
  };
  const int32_t up = side(top), down = side(bottom), leftSide = side(left), rightSide = side(right);
  if (up <= 0 && down <= 0 && leftSide <= 0 && rightSide <= 0) return image;

  auto expanded = std::make_unique<Media::ResourceBuffer>(
      leftSide + static_cast<int32_t>(image->width()) + rightSide,
      up + static_cast<int32_t>(image->height()) + down);
  expanded->createRenderTargetView();
  // Each target pixel loads the source at itself plus the offset; outside the source it
  // reads transparent black, or the nearest edge pixel when filling.
  const int32_t offset[4] = {-leftSide, -up, 0, 0};
  Media::ConstantBufferCommon constants;
  Media::ConstantBufferCommon::create(constants, offset, sizeof(offset));
  Resource::PixelShaderList& shaders = Resource::ResourceService::Get().pixelShaders();
  shaders
      .entry(fill.value ? Resource::PixelShaderList::kCopyOffsetClamp
                        : Resource::PixelShaderList::kCopyOffset)
      .drawInputWithConstants(*expanded, *image, constants, nullptr);
  return adoptBuffer(std::move(expanded));
}

}  // namespace Effect
