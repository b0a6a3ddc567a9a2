#include "builtin/control/part_effect.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "builtin/filter/bokashi_filter.h"
#include "builtin/filter/default_filter.h"
#include "builtin/item_links.h"
#include "effect/effect_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/shader/shader_binding.h"
#include "render/effect_chain.h"
#include "system/exception.h"
#include "system/xmath.h"

namespace Effect {

PartEffect::PartEffect()
    : MoveXYAnchorEffect(kName, EffectType::Control, MediaType::Video, TargetType::Video),
      x(items, "X", 0.0, -5000.0, 5000.0, 1.0),
      y(items, "Y", 0.0, -5000.0, 5000.0, 1.0),
      rotation(items, "回転", 0.0, -3600.0, 3600.0, 0.01),
      size(items, "サイズ", 100.0, 0.0, 4000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      blur(items, "ぼかし", 0.0, 0.0, 1000.0, 1.0),
      mask(items, "マスクの種類", 1, &fitSceneLength),
      fitSceneLength(items, "シーンの長さを合わせる", false),
      invert(items, "マスクの反転", false) {
  linkItems(positionItems, {&x, &y});
}

std::shared_ptr<EffectBase> PartEffect::create() const { return std::make_shared<PartEffect>(); }

PartEffect::CommonResource::CommonResource() : FilterShaderSet({"part_filter_ps"}, {}, 32) {}

void PartEffect::createResource() { resource_ = std::make_shared<CommonResource>(); }

void PartEffect::shareResource(const EffectBase& prototype) {
  if (const auto* same = dynamic_cast<const PartEffect*>(&prototype)) resource_ = same->resource_;
}

}  // namespace Effect

namespace Effect {
namespace {

// The figure "背景": no mask, the whole frame.
constexpr int kNoFigure = 0;
// Blend states of the shared list that mix by the shader's second output: the filtered
// frame where the mask is bright, or where it is dark.
constexpr std::size_t kBlendInsideMask = 5;
constexpr std::size_t kBlendOutsideMask = 4;
// Linear filtering with a transparent border: the mask fades out at its edges and is
// nowhere outside them.
constexpr std::size_t kLinearBorderSampler = 0;

// The blend shader's "constant0".
struct PartConstants {
  int32_t offset[2];        // frame pixel to filtered-image pixel
  float offsetMask[2];      // frame pixel to the mask's centre
  float inverseMaskSize[2]; // one over the mask's size in frame pixels
  float angleS;
  float angleC;
};
static_assert(sizeof(PartConstants) == 32);

// The frame replaced by the filtered image, moved by the offset.
void drawWhole(Media::RenderBuffer& frame, Media::ResourceBuffer& filtered,
               const int32_t (&offset)[2]) {
  Resource::ResourceService& service = Resource::ResourceService::Get();
  service.drawWithSharedConstants(
      service.pixelShaders().entry(Resource::PixelShaderList::kCopyOffset), frame, filtered,
      offset, sizeof(offset), nullptr);
}

// The mask softened by the prototype of "ぼかし", larger by the radius on every side.
OwnedImage blurredMask(OwnedImage mask, int radius) {
  return defaultEffect<BokashiFilter>().blur(std::move(mask), radius, 0.0f,
                                            BokashiFilter::kGrow);
}

}  // namespace

void PartEffect::preInputVideo(EffectContext& context) { mask.preload(context); }

OutputView PartEffect::getOutputView(EffectContext& context) {
  OutputView view = context.outputView;
  view.x = view.y = view.z = 0.0f;
  view.centerX = view.centerY = view.centerZ = 0.0f;
  return view;
}

void PartEffect::setAnchor(EffectContext& context, const EffectEntry& entry, int width,
                           int height) {
  if (mask.figure == kNoFigure) return;
  MoveXYAnchorEffect::setAnchor(context, entry, width, height);
}

void PartEffect::controlVideo(EffectContext& context) {
  // The filters see the frame as a flat picture: no camera, no group.
  context.outputView.cameraControl.reset();
  context.outputView.groupControl.reset();
  Media::RenderBuffer* frame = context.outputView.target;
  if (!frame || !frame->texture()) return;

  OwnedImage filtered = adoptBuffer(frame->createResourceBuffer(true));
  Render::Chain::collectChain(context, Render::Chain::Video);
  filtered = Render::Chain::filterVideo(context, std::move(filtered));
  if (!filtered || filtered->empty()) return;

  // Where the filtered image lands: centred on the frame, then placed by the view the
  // filters left (a filter that grows the image keeps it centred).
  const auto frameWidth = static_cast<float>(frame->width());
  const auto frameHeight = static_cast<float>(frame->height());
  const OutputView& view = context.outputView;
  const int32_t offset[2] = {
      static_cast<int32_t>(std::lround((static_cast<float>(filtered->width()) - frameWidth) * 0.5f +
                                       view.centerX - view.x)),
      static_cast<int32_t>(std::lround(
          (static_cast<float>(filtered->height()) - frameHeight) * 0.5f + view.centerY - view.y))};

  const bool inverted = invert.value;
  if (mask.figure == kNoFigure) {
    if (!inverted) drawWhole(*frame, *filtered, offset);
    return;
  }
  const long side = std::lround(size.getValue(context));
  const float stretch = static_cast<float>(aspect.getValue(context)) * 0.01f;
  // A mask of no size covers nothing: inverted, everything is outside it.
  if (side <= 0 || stretch <= -1.0f || stretch >= 1.0f) {
    if (inverted) drawWhole(*frame, *filtered, offset);
    return;
  }

  OwnedImage shape =
      mask.getMaskImage(context, static_cast<unsigned>(side), static_cast<unsigned>(side));
  if (!shape || shape->empty()) return;
  const float fit = static_cast<float>(side) /
                    static_cast<float>(std::max(shape->width(), shape->height()));
  if (const long radius = std::lround(blur.getValue(context)); radius > 0) {
    // The blurred mask keeps the scale of the sharp one: it covers more of the frame.
    shape = blurredMask(std::move(shape), static_cast<int>(radius));
    if (!shape || shape->empty()) return;
  }
  float maskWidth = static_cast<float>(shape->width()) * fit;
  float maskHeight = static_cast<float>(shape->height()) * fit;
  if (stretch > 0.0f) maskWidth *= 1.0f - stretch;
  if (stretch < 0.0f) maskHeight *= 1.0f + stretch;

  const float angle = XMath::toRadians(static_cast<float>(rotation.getValue(context)));
  const PartConstants constants{
      {offset[0], offset[1]},
      {-frameWidth * 0.5f - static_cast<float>(x.getValue(context)),
       -frameHeight * 0.5f - static_cast<float>(y.getValue(context))},
      {1.0f / maskWidth, 1.0f / maskHeight},
      std::sin(angle),
      std::cos(angle)};

  if (!resource_) createResource();
  Resource::ResourceService& service = Resource::ResourceService::Get();
  const auto lock = resource_->lock();
  Media::PixelShader& shader = resource_->pixelShader(0);
  Media::ShaderBindings::setConstantBuffer(Media::ShaderStage::Pixel, 0,
                                           &resource_->writeConstants(&constants));
  Media::ShaderBindings::setSampler(0, service.samplerStates().get(kLinearBorderSampler));
  shader.drawTwoInputsToRender(
      *frame, *filtered, *shape,
      service.blendStates().get(inverted ? kBlendOutsideMask : kBlendInsideMask));
  Media::ShaderBindings::setSampler(0, nullptr);
}

}  // namespace Effect
