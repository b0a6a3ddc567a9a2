#include "main_window/preview/anchor_control.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "edit/object.h"
#include "effect/effect_base.h"

namespace Anchor {

namespace {

bool isPointId(int id) { return id >= 0 && id < kCurrentPositionId; }

XMath::Vector viewVector(const ViewPoint& p) { return {p.x, p.y, 0.0f, 1.0f}; }

}  // namespace

void AnchorControl::setAnchors(PreviewAnchorList anchors) {
  anchors_ = std::move(anchors);
  // The hovered pointer referred to the old list; the layout finds it again by its key.
  hovered_ = nullptr;
  layoutAnchors();
}

void AnchorControl::setPictureRect(const PictureRect& picture, float controlWidth) {
  picture_ = picture;
  controlWidth_ = controlWidth;
  layoutAnchors();
}

void AnchorControl::layoutAnchors() {
  pickable_.clear();
  snapPoints_.clear();
  float column = 0.0f;  // the icons stacked so far at the picture's top-right corner
  for (PreviewAnchor& item : anchors_.items()) {
    if ((item.flags & Flag::Pinned) && item.points.size() >= 2) {
      const float width = item.points[1].x;
      const float height = item.points[1].y;
      const float right = std::min(controlWidth_, picture_.right);
      const float top = std::max(picture_.top, 0.0f) + column;
      item.pixels.assign(item.points.size(), {});
      item.pixels[0] = {right - width, top};
      item.pixels[1] = {right, top + height};
      item.centroid = {right - width / 2.0f, top + height / 2.0f};
      column += height;
    } else {
      layoutAnchor(item, picture_);
    }
    if (item.isPickable()) pickable_.push_back(&item);
    if (item.flags & Flag::SnapAllDragged)
      for (const ViewPoint& p : item.snapPoints) snapPoints_.push_back({item.owner.get(), p.x, p.y});
  }
  snapPoints_.push_back({nullptr, 1.0f, 1.0f});
  snapPoints_.push_back({nullptr, -1.0f, -1.0f});

  PreviewAnchor* found = nullptr;
  if (hoveredEffect_) {
    for (PreviewAnchor* item : pickable_) {
      if (item->effect == hoveredEffect_ && item->id == hoveredId_ &&
          item->flags == hoveredFlags_) {
        found = item;
        break;
      }
    }
  }
  setHovered(found);
}

PreviewAnchor* AnchorControl::hitTest(float x, float y) const {
  const Edit::Object* focus = host_.focusObject();
  const auto score = [&](const PreviewAnchor& item) {
    const float dx = item.centroid.x - x;
    const float dy = item.centroid.y - y;
    return dx * dx + dy * dy + 2.0f * item.radius;
  };
  // Whether a sorts before b.
  const auto before = [&](const PreviewAnchor& a, const PreviewAnchor& b) {
    if (a.type != b.type) return a.type < b.type;
    const float sa = score(a);
    const float sb = score(b);
    if (sa != sb) return sa < sb;
    const bool fa = focus && a.owner.get() == focus;
    const bool fb = focus && b.owner.get() == focus;
    if (fa != fb) return fa;
    return a.id < b.id;
  };
  PreviewAnchor* best = nullptr;
  for (PreviewAnchor* item : pickable_) {
    if ((item->flags & Flag::NoPick) || !containsPixel(*item, x, y)) continue;
    if (!best || before(*item, *best)) best = item;
  }
  return best;
}

PreviewAnchor* AnchorControl::findViewpoint() const {
  for (PreviewAnchor* item : pickable_)
    if (item->type == AnchorType::Viewpoint) return item;
  return nullptr;
}

bool AnchorControl::setHovered(PreviewAnchor* item) {
  const bool changed = item != hovered_;
  hovered_ = item;
  hoveredEffect_ = item ? item->effect : nullptr;
  hoveredId_ = item ? item->id : 0;
  hoveredFlags_ = item ? item->flags : 0;
  return changed;
}

void AnchorControl::leftButtonDown(InputKeys keys) {
  PreviewAnchor* item = hovered_;
  if (keys.control && item && item->id != kCurrentPositionId) {
    // A point handle stands for its object's whole-object handle; other ids for none.
    PreviewAnchor* whole = nullptr;
    if (isPointId(item->id)) {
      for (PreviewAnchor* candidate : pickable_) {
        if (candidate->id == kCurrentPositionId && candidate->owner == item->owner &&
            candidate->effect == item->effect) {
          whole = candidate;
          break;
        }
      }
    }
    if (!whole) return;
    item = whole;
  }
  if (item) {
    press(MouseButton::Left, item, keys);
  } else if (keys.doubleClick) {
    if (const PreviewAnchor* viewpoint = findViewpoint()) host_.setFocusObject(viewpoint->owner);
  }
}

void AnchorControl::press(MouseButton button, PreviewAnchor* item, InputKeys keys) {
  if (dragState_ != DragState::None) return;
  dragX_ = dragY_ = 0;
  if (!item) {
    host_.beginDrag(false);
    return;
  }
  if (button == MouseButton::Right) {
    storeDragEvents({item}, EventKind::RightDrag);
    host_.beginDrag(true);
    dragState_ = DragState::Right;
    startUndo({item});
    return;
  }
  if (item->flags & Flag::ClickOnly) {
    AnchorEvent click = makeEvent(*item, EventKind::Press);
    item->effect->anchorEvent(click);
    return;
  }
  // The event calls below may not keep the item alive; the press works on copies.
  const std::shared_ptr<Edit::Object> owner = item->owner;
  const std::shared_ptr<Effect::EffectBase> effect = item->effect;
  if (!keys.control && owner && host_.singleClickFocusesObject() != keys.doubleClick)
    host_.setFocusObject(owner);
  if (keys.doubleClick) {
    AnchorEvent doubleClick = makeEvent(*item, EventKind::DoubleClick);
    if (effect->anchorEvent(doubleClick)) return;
  } else {
    if ((item->flags & Flag::ObjectAnchor) && owner)
      host_.clickSelectObject(owner, host_.clickSelectsGroup());
    AnchorEvent click = makeEvent(*item, EventKind::Press);
    effect->anchorEvent(click);
  }
  host_.beginDrag(true);

  if (!host_.selectionEmpty() && (item->flags & Flag::ObjectAnchor)) {
    // The whole-object handles of every selected object move together.
    std::vector<const PreviewAnchor*> group;
    for (const PreviewAnchor* candidate : pickable_)
      if ((candidate->flags & Flag::ObjectAnchor) && candidate->id == kCurrentPositionId &&
          candidate->owner && host_.isSelected(*candidate->owner))
        group.push_back(candidate);
    if (group.empty()) return;
    storeDragEvents(group, EventKind::Drag);
    dragState_ = DragState::Left;
    startUndo(group);
    return;
  }
  storeDragEvents({item}, EventKind::Drag);
  dragState_ = DragState::Left;
  startUndo({item});
  // An output effect's size handle may change the size of the object's first effect.
  if ((item->flags & Flag::InputSize) && effect->effectType == Effect::EffectType::Output &&
      owner)
    if (auto first = host_.firstEffect(*owner)) host_.recordEffect(first);
}

void AnchorControl::startUndo(const std::vector<const PreviewAnchor*>& items) {
  host_.beginUndoStep();
  for (const PreviewAnchor* item : items) host_.recordEffect(item->effect);
}

AnchorEvent AnchorControl::makeEvent(const PreviewAnchor& item, EventKind kind) const {
  AnchorEvent event;
  event.kind = kind;
  event.id = item.id;
  event.flags = item.flags;
  event.object = item.owner;
  if (item.owner) event.frames = item.owner->frames();
  event.effect = item.effect;
  event.viewWidth = static_cast<int>(std::lround(std::max(1.0f, picture_.right - picture_.left)));
  event.viewHeight = static_cast<int>(std::lround(std::max(1.0f, picture_.bottom - picture_.top)));
  event.sceneWidth = host_.sceneWidth();
  event.sceneHeight = host_.sceneHeight();
  event.sourceMatrix = item.sourceMatrix;
  event.startPoint = item.startPoint;
  event.currentPoint = item.currentPoint;
  event.extra = item.extra;
  event.axisScale = item.axisScale;
  event.handleCenter = item.handleCenter;
  event.handleOffset = item.handleOffset;
  event.startSize = item.startSize;
  for (const ViewPoint& p : item.snapPoints) event.itemScreenPoints.push_back(viewVector(p));
  return event;
}

void AnchorControl::storeDragEvents(const std::vector<const PreviewAnchor*>& items,
                                    EventKind kind) {
  std::vector<XMath::Vector> dragged;
  for (const PreviewAnchor* item : items)
    for (const ViewPoint& p : item->snapPoints) dragged.push_back(viewVector(p));
  // The other objects' positions: every snap point whose owner is not being dragged.
  std::vector<XMath::Vector> others;
  for (const SnapPoint& snap : snapPoints_) {
    const bool ownDragged = std::any_of(items.begin(), items.end(), [&](const PreviewAnchor* item) {
      return snap.owner && item->owner.get() == snap.owner;
    });
    if (!ownDragged) others.push_back({snap.x, snap.y, 0.0f, 1.0f});
  }
  events_.clear();
  lastOffsets_.clear();
  for (const PreviewAnchor* item : items) {
    AnchorEvent& event = events_.emplace_back(makeEvent(*item, kind));
    event.draggedScreenPoints = dragged;
    event.otherScreenPoints = others;
    lastOffsets_.push_back({});
  }
}

void AnchorControl::dragStep(int32_t dx, int32_t dy, InputKeys keys) {
  if (dragState_ == DragState::None) return;
  dragX_ = dx;
  dragY_ = dy;
  int32_t lockedX = dx;
  int32_t lockedY = dy;
  if (keys.shift) {
    if (std::abs(dx) < std::abs(dy))
      lockedX = 0;
    else
      lockedY = 0;
  }
  host_.runDragStep([&] {
    for (std::size_t i = 0; i < events_.size(); ++i) {
      AnchorEvent& event = events_[i];
      const bool raw = (event.flags & Flag::RawOffset) != 0;
      const Offset offset = raw ? Offset{dragX_, dragY_} : Offset{lockedX, lockedY};
      const Offset delta{offset.x - lastOffsets_[i].x, offset.y - lastOffsets_[i].y};
      lastOffsets_[i] = offset;
      // A raw handle reads this step's own movement, the others the travel since the press.
      event.deltaX = static_cast<float>(raw ? delta.x : offset.x);
      event.deltaY = static_cast<float>(raw ? delta.y : offset.y);
      event.shift = keys.shift;
      event.control = keys.control;
      event.effect->anchorEvent(event);
    }
  });
}

bool AnchorControl::dragKey(ArrowKey key, InputKeys keys) {
  if (dragState_ == DragState::None) return false;
  int32_t dx = dragX_;
  int32_t dy = dragY_;
  switch (key) {
    case ArrowKey::Left: --dx; break;
    case ArrowKey::Up: --dy; break;
    case ArrowKey::Right: ++dx; break;
    case ArrowKey::Down: ++dy; break;
  }
  dragStep(dx, dy, keys);
  return true;
}

void AnchorControl::endDrag() {
  if (dragState_ == DragState::None) return;
  events_.clear();
  lastOffsets_.clear();
  dragState_ = DragState::None;
  host_.commitUndoStep();
}

void AnchorControl::captureEnded() {
  endDrag();
  host_.clickOutsideSelection();
}

std::string AnchorControl::toolTipText(const PreviewAnchor& item) const {
  if (!(item.flags & Flag::Tooltip) || !item.owner || !item.effect) return {};
  if (item.id == kClippingIconId) return "クリッピングオブジェクトの視覚化";
  if (item.id == kCameraModeIconId)
    return "カメラ制御の視点モードを切り替え\n緑色:カメラ視点\n白色:カメラ視点(編集不可)\n"
           "灰色:編集用視点(自由移動)";
  if (item.flags & Flag::SizeHandle)
    return (item.flags & Flag::InputSize) ? "サイズの変更" : "拡大率の変更";
  std::shared_ptr<Effect::EffectBase> named = item.effect;
  // An output effect is named by the object's first effect, which the user knows it by.
  if (named->effectType == Effect::EffectType::Output)
    if (auto first = host_.firstEffect(*item.owner)) named = std::move(first);
  return host_.layerName(*item.owner) + " : " + named->getDisplayName();
}

}  // namespace Anchor
