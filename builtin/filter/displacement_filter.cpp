#include "builtin/filter/displacement_filter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "builtin/choice_lists.h"
#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/item_links.h"
#include "edit/update_section.h"
#include "effect/effect_event_param.h"
#include "effect/effect_service.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "system/exception.h"

namespace Effect {

// The shaders in the order of the Shader numbers.
DisplacementShaders::DisplacementShaders()
    : FilterShaderSet({"displacement_move_ps", "displacement_turn_ps"},
                      {}, sizeof(DisplacementConstants)) {}

DisplacementFilter::DisplacementFilter()
    : ShaderFilter(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -5000.0, 5000.0, 0.1),
      y(items, "Y", 0.0, -5000.0, 5000.0, 0.1),
      rotation(items, "回転", 0.0, -3600.0, 3600.0, 0.01),
      size(items, "サイズ", 200.0, 0.0, 4000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.001),
      blur(items, "ぼかし", 5.0, 0.0, 1000.0, 1.0),
      moveX(items, "変形X", 0.0, -5000.0, 5000.0, 0.01),
      moveY(items, "変形Y", 0.0, -5000.0, 5000.0, 0.01),
      scale(items, "拡大変形", 0.0, -5000.0, 5000.0, 0.01),
      scaleAspect(items, "拡大縦横", 0.0, -100.0, 100.0, 0.001),
      turn(items, "回転変形", 0.0, -5000.0, 5000.0, 0.01),
      method(items, "変形方法", 0, DisplacementModeList()),
      map(items, "マップの種類", 1, &fitSceneLength),
      fitSceneLength(items, "シーンの長さを合わせる", false),
      fitOriginalSize(items, "元のサイズに合わせる", false) {
  linkItems(positionItems, {&x, &y});
  method.notify = true;
  label = "変形";
}

std::shared_ptr<EffectBase> DisplacementFilter::create() const {
  return std::make_shared<DisplacementFilter>();
}

}  // namespace Effect

namespace Effect {
namespace {

// Sampler state of the shared list: linear, transparent outside.
constexpr std::size_t kLinearBorderSampler = 0;

// The displacement of the scale method for a scale v (1 = 100 %): pixels read towards the
// centre when growing, away from it when shrinking.
float scaleLength(float v) { return v > 0.0f ? 2.0f / (v + 1.0f) - 2.0f : -2.0f * v; }

}  // namespace

void DisplacementFilter::preInputVideo(EffectContext& context) { map.preload(context); }

OwnedImage DisplacementFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image || image->empty()) return image;
  const auto turnAngle =
      static_cast<float>(rotation.getValue(context) * std::numbers::pi / 180.0);
  const auto side = static_cast<int32_t>(std::lround(size.getValue(context)));
  const auto squeeze = static_cast<float>(aspect.getValue(context)) * 0.01f;
  const bool fit = fitOriginalSize.value;
  if (side <= 0) return image;
  if (!fit && (squeeze <= -1.0f || squeeze >= 1.0f)) return image;

  const auto box = static_cast<unsigned>(side);
  OwnedImage mask = map.getMaskImage(context, box, box);
  if (!mask || mask->empty()) return image;
  const float mapScale = static_cast<float>(side) /
                      static_cast<float>(std::max(mask->width(), mask->height()));
  const auto softness = static_cast<int>(std::lround(blur.getValue(context)));
  if (softness > 0) {
    mask = defaultEffect<BokashiFilter>().blur(std::move(mask), softness, 0.0f,
                                               BokashiFilter::kGrow);
  }

  const auto width = static_cast<int32_t>(image->width());
  const auto height = static_cast<int32_t>(image->height());
  // The map's size over the picture, in pixels.
  float mapWidth = static_cast<float>(width);
  float mapHeight = static_cast<float>(height);
  if (!fit) {
    mapWidth = static_cast<float>(mask->width()) * mapScale;
    mapHeight = static_cast<float>(mask->height()) * mapScale;
    if (squeeze > 0.0f) mapWidth *= 1.0f - squeeze;
    if (squeeze < 0.0f) mapHeight *= 1.0f + squeeze;
  }

  DisplacementConstants constants;
  constants.type = method.value;
  switch (method.value) {
    case kMove:
      constants.len[0] = static_cast<float>(moveX.getValue(context)) * 2.0f;
      constants.len[1] = static_cast<float>(moveY.getValue(context)) * 2.0f;
      break;
    case kScale: {
      const float grow = static_cast<float>(scale.getValue(context)) * 0.01f;
      const float share = static_cast<float>(scaleAspect.getValue(context)) * 0.01f;
      constants.len[0] = scaleLength(share > 0.0f ? grow * (1.0f - share) : grow);
      constants.len[1] = scaleLength(share < 0.0f ? grow * (1.0f + share) : grow);
      break;
    }
    case kTurn:
      constants.len[0] = static_cast<float>(turn.getValue(context)) * 0.01f * -4.0f *
                         std::numbers::pi_v<float>;
      break;
    default:
      return {};
  }
  // Positions relative to the map's centre, which lies at (X, Y) from the picture's.
  constants.offset[0] = -static_cast<float>(width) / 2.0f - static_cast<float>(x.getValue(context));
  constants.offset[1] =
      -static_cast<float>(height) / 2.0f - static_cast<float>(y.getValue(context));
  constants.inverseMaskSize[0] = 1.0f / mapWidth;
  constants.inverseMaskSize[1] = 1.0f / mapHeight;
  constants.angleS = std::sin(turnAngle);
  constants.angleC = std::cos(turnAngle);

  auto output = std::make_unique<Media::ResourceBuffer>(width, height);
  Media::SamplerState* sampler =
      Resource::ResourceService::Get().samplerStates().get(kLinearBorderSampler);
  CommonResource& shaders = resource();
  const auto lock = shaders.lock();
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0,
                                           &shaders.writeConstants(&constants));
  Media::ShaderBindings::setSampler(0, sampler);
  shaders.pixelShader(method.value == kTurn ? kTurnShader : kMoveShader)
      .drawTwoInputs(*output, *image, *mask, nullptr);
  return adoptBuffer(std::move(output));
}

bool DisplacementFilter::editEvent(EffectEventParam& param) {
  if (param.kind == EffectEventParam::ItemChanged && param.scope) {
    param.scope->rebuildEffectSetting = true;
    param.scope->updateTimeSetting = true;
    param.scope->updateColorSetting = true;
    param.scope->updateTextSetting = true;
  }
  return false;
}

void DisplacementFilter::updateItemState() {
  moveX.visible = moveY.visible = method.value == kMove;
  scale.visible = scaleAspect.visible = method.value == kScale;
  turn.visible = method.value == kTurn;
}

}  // namespace Effect
