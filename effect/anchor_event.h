#pragma once
// A press, double click or drag step on one of an effect's handles, as the preview hands
// it to Effect::EffectBase::anchorEvent.
//
// The preview fills the record from the item that was hit and from its own view: the
// mouse travel since the press, the sizes of the scene and of the preview area, and the
// screen positions it keeps for snapping. The effect reads it, changes its items, and
// writes where the handle now is into `currentPoint`.
#include <array>
#include <memory>
#include <vector>

#include "effect/outer_types.h"
#include "effect/section_position.h"
#include "system/xmath.h"

namespace Effect {
class EffectBase;
}

namespace Anchor {

// Left-button drag step, left press, left double click, right-button drag step.
enum class EventKind : int { Drag = 1, Press = 2, DoubleClick = 3, RightDrag = 4 };

class AnchorEvent {
 public:
  EventKind kind = EventKind::Drag;
  int id = 0;     // the item's id: a point index, or Anchor::kCurrentPositionId ...
  int flags = 0;  // the item's flag word
  std::shared_ptr<Edit::Object> object;        // the handle's owner
  Effect::ObjectFrames frames;                 // of `object`
  std::shared_ptr<Effect::EffectBase> effect;  // the effect that added the handle

  // Mouse travel since the press, pixels, y downwards; this step's own movement for an
  // item flagged Anchor::Flag::RawOffset.
  float deltaX = 0.0f;
  float deltaY = 0.0f;
  bool shift = false;    // keys held during this step
  bool control = false;
  int viewWidth = 0;  // the preview area, pixels
  int viewHeight = 0;
  int sceneWidth = 0;  // the scene's video size, pixels
  int sceneHeight = 0;

  XMath::Matrix sourceMatrix = XMath::identity();
  XMath::Vector startPoint{0.0f, 0.0f, 0.0f, 1.0f};
  XMath::Vector currentPoint{0.0f, 0.0f, 0.0f, 1.0f};
  std::array<float, 4> extra{};  // the item's own numbers, updated in place by the effect
  float axisScale = 1.0f;  // how far an axis handle moves per unit of drag

  // Size handles: the object's centre, the handle's offset from it, the size at the press
  // (1.0 = 100 %).
  XMath::Vector handleCenter{0.0f, 0.0f, 0.0f, 1.0f};
  XMath::Vector handleOffset{0.0f, 0.0f, 0.0f, 0.0f};
  float startSize = 1.0f;

  // Snapping, in normalised device units: this item's own projected points (the corners of
  // a frame), the positions of every dragged object, and those of all other objects.
  std::vector<XMath::Vector> itemScreenPoints;
  std::vector<XMath::Vector> draggedScreenPoints;
  std::vector<XMath::Vector> otherScreenPoints;

  // Where the mouse has taken the start point, in the item's own space: the start point is
  // projected by the source matrix, moved by the mouse travel (2 x dx / width and
  // -2 x dy / height, times w) and taken back through the inverse. Without a preview area,
  // or when the start point does not project (w = 0), the start point comes back.
  XMath::Vector movePosition() const;
};

}  // namespace Anchor
