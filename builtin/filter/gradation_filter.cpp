#include "builtin/filter/gradation_filter.h"

#include <cmath>
#include <numbers>

#include "builtin/choice_lists.h"
#include "builtin/item_links.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"

namespace Effect {

GradationShaders::GradationShaders()
    : FilterShaderSet({"gradation_ps"}, {},
                      sizeof(GradationFilter::Constants)) {}

GradationFilter::GradationFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      strength(items, "強さ", 100.0, 0.0, 100.0, 0.1),
      centerX(items, "中心X", 0.0, -5000.0, 5000.0, 0.1),
      centerY(items, "中心Y", 0.0, -5000.0, 5000.0, 0.1),
      angle(items, "角度", 0.0, -3600.0, 3600.0, 0.01),
      width(items, "幅", 100.0, 0.0, 2000.0, 1.0),
      blendMode(items, "合成モード", 0, BlendModeList()),
      shape(items, "形状", 0, GradationShapeList()),
      startColor(items, "開始色", 0xFFFFFF, ItemType::ColorOrNone),
      endColor(items, "終了色", EffectItemColor::kNoColor, ItemType::ColorOrNone) {
  linkItems(positionItems, {&centerX, &centerY});
  label = "色調整";
}

std::shared_ptr<EffectBase> GradationFilter::create() const {
  return std::make_shared<GradationFilter>();
}

namespace {

constexpr std::size_t kBlendOver = 0;
// The shape whose width counts one pixel more: a gradient 0 wide still takes a pixel.
constexpr int32_t kLinearShape = 0;

// An opaque colour, or transparent black for an item without one.
void colorOf(const EffectItemColor& item, float (&out)[4]) {
  if (item.none) {
    out[0] = out[1] = out[2] = out[3] = 0.0f;
    return;
  }
  out[0] = static_cast<float>(item.red) / 255.0f;
  out[1] = static_cast<float>(item.green) / 255.0f;
  out[2] = static_cast<float>(item.blue) / 255.0f;
  out[3] = 1.0f;
}

// The blend-mode shader's shared constants.
struct BlendConstants {
  int32_t blend;
  float alpha;
};

}  // namespace

OwnedImage GradationFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const double theta = angle.getValue(context) * std::numbers::pi / 180.0;
  Constants constants;
  colorOf(startColor, constants.col0);
  colorOf(endColor, constants.col1);
  constants.offset[0] =
      -(static_cast<float>(image->width()) * 0.5f + static_cast<float>(centerX.getValue(context)));
  constants.offset[1] =
      -(static_cast<float>(image->height()) * 0.5f + static_cast<float>(centerY.getValue(context)));
  constants.direction[0] = static_cast<float>(std::sin(theta));
  constants.direction[1] = static_cast<float>(-std::cos(theta));
  constants.type = shape.value;
  constants.range = static_cast<float>(width.getValue(context));
  if (shape.value == kLinearShape) constants.range += 1.0f;

  // The gradient, on the picture's coverage.
  Media::ResourceBuffer gradient(static_cast<int32_t>(image->width()),
                                 static_cast<int32_t>(image->height()));
  {
    CommonResource& shaders = resource();
    const auto lock = shaders.lock();
    shaders.pixelShader(kGradationShader)
        .drawInputWithConstants(gradient, *image, shaders.writeConstants(&constants), nullptr);
  }

  const float alpha = static_cast<float>(strength.getValue(context)) * 0.01f;
  Resource::ResourceService& service = Resource::ResourceService::Get();
  Resource::PixelShaderList& builtin = service.pixelShaders();
  const Media::BlendState* over = service.blendStates().get(kBlendOver);
  if (blendMode.value == 0) {
    service.drawWithSharedConstants(builtin.entry(Resource::PixelShaderList::kOpacity), *image,
                                    gradient, &alpha, sizeof(alpha), over);
    return image;
  }
  // The other modes mix with what lies below, read from a copy of the picture.
  const auto below = image->clone();
  const BlendConstants blend{blendMode.value, alpha};
  const Resource::ResourceService::SharedConstantsScope shared(service, &blend, sizeof(blend));
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, &shared.buffer());
  builtin.entry(Resource::PixelShaderList::kBlendMode)
      .drawTwoInputs(*image, gradient, *below, over);
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0, nullptr);
  return image;
}

}  // namespace Effect
