#include "builtin/filter/clip_filter.h"

#include <cmath>
#include <cstdint>

#include "effect/anchor_edit_access.h"
#include "effect/anchor_event.h"
#include "effect/anchor_list.h"
#include "effect/anchor_render_access.h"
#include "gpu/resource_buffer.h"

namespace Effect {

ClipFilter::ClipFilter()
    : EffectBase(kName, EffectType::Filter, MediaType::Video, TargetType::Video),
      top(items, "上", 0.0, 0.0, 4000.0, 1.0),
      bottom(items, "下", 0.0, 0.0, 4000.0, 1.0),
      left(items, "左", 0.0, 0.0, 4000.0, 1.0),
      right(items, "右", 0.0, 0.0, 4000.0, 1.0),
      moveCenter(items, "中心の位置を変更", false) {
  label = "クリッピング";
}

std::shared_ptr<EffectBase> ClipFilter::create() const { return std::make_shared<ClipFilter>(); }

namespace {

int64_t cutOf(const EffectItemNumber& item, const EffectContext& context) {
  return std::llround(item.getValue(context));
}

// The point a handle edits: the object's end, a midpoint the frame lies on, or every point
// when the frame lies between two.
int handlePointAt(const EffectContext& context) {
  const ObjectFrames& frames = context.objectFrames;
  if (context.frame == frames.end) return static_cast<int>(frames.midpoints.size()) + 1;
  const SectionPosition position = SectionPosition::calculate(frames, context.frame, context.frame);
  return position.framesInSection == 0.0 ? position.sectionIndex : Anchor::kCurrentPositionId;
}

}  // namespace

OwnedImage ClipFilter::filterVideo(EffectContext& context, OwnedImage image) {
  if (!image) return image;
  const int64_t t = cutOf(top, context), b = cutOf(bottom, context);
  const int64_t l = cutOf(left, context), r = cutOf(right, context);
  if (t == 0 && b == 0 && l == 0 && r == 0) return image;
  const int64_t width = int64_t{image->width()} - l - r;
  const int64_t height = int64_t{image->height()} - t - b;
  if (width < 1 || height < 1) return {};

  auto kept = std::make_unique<Media::ResourceBuffer>(static_cast<int32_t>(width),
                                                      static_cast<int32_t>(height));
  kept->copyRect(*image, static_cast<int32_t>(l), static_cast<int32_t>(t),
                 static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  if (!moveCenter.value) {
    context.outputView.centerX -= static_cast<float>(l - r) * 0.5f;
    context.outputView.centerY -= static_cast<float>(t - b) * 0.5f;
  }
  return adoptBuffer(std::move(kept));
}

void ClipFilter::updateAnchor(EffectContext& context, int width, int height) {
  if (lock || !context.anchorList || !context.object) return;
  const AnchorEditAccess& edit = anchorEditAccess();
  if (!edit.isFocusObject(context.scene, *context.object)) return;
  if (edit.isLayerLocked(context.scene, context.layerIndex)) return;
  const Anchor::EffectEntry entry = edit.findEffectEntry(*context.object, *this);
  if (!entry) return;

  const XMath::Matrix transform =
      getWorldViewMatrix(anchorRenderAccess().getOutputView(context));
  const float halfWidth = static_cast<float>(width) * 0.5f;
  const float halfHeight = static_cast<float>(height) * 0.5f;
  const struct {
    const EffectItemNumber& item;
    int flag;
    XMath::Vector point;
  } sides[] = {
      {left, kLeftHandle, {-halfWidth, 0.0f, 0.0f, 1.0f}},
      {top, kTopHandle, {0.0f, -halfHeight, 0.0f, 1.0f}},
      {right, kRightHandle, {halfWidth, 0.0f, 0.0f, 1.0f}},
      {bottom, kBottomHandle, {0.0f, halfHeight, 0.0f, 1.0f}},
  };
  const int point = handlePointAt(context);
  for (const auto& side : sides) {
    if (!side.item.isValueEditable(context)) continue;
    Anchor::AnchorItem& item = context.anchorList->addSmallCircle(
        context.object, entry, point, side.point, transform, side.flag);
    item.sourceMatrix = transform;
    item.startPoint = item.currentPoint = side.point;
  }
}

bool ClipFilter::anchorEvent(Anchor::AnchorEvent& event) {
  if (event.kind != Anchor::EventKind::Drag) return false;
  const XMath::Vector moved = event.movePosition();
  const double dx = moved.x - event.currentPoint.x;
  const double dy = moved.y - event.currentPoint.y;
  bool changed = false;
  if (event.flags & kLeftHandle) changed |= left.addValue(event.frames, event.id, dx);
  if (event.flags & kRightHandle) changed |= right.addValue(event.frames, event.id, -dx);
  if (event.flags & kTopHandle) changed |= top.addValue(event.frames, event.id, dy);
  if (event.flags & kBottomHandle) changed |= bottom.addValue(event.frames, event.id, -dy);
  if (changed) event.currentPoint = moved;
  return true;
}

}  // namespace Effect
