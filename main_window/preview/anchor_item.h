#pragma once
// One handle of the preview as the preview keeps it: what the effect wrote into it (the
// Anchor::AnchorItem part), what it is (shape, owner, effect), its points in view
// coordinates, and the pixels the layout gives it.
//
// View coordinates: x = -1 is the left edge and +1 the right edge of the shown video
// picture, y = +1 its top edge and -1 its bottom edge.
#include <cstdint>
#include <memory>
#include <vector>

#include "effect/anchor_list.h"
#include "system/xmath.h"

namespace Anchor {

// The shape of a handle. The value also orders picking (lower first) and drawing (higher
// first, so frames and circles lie under squares, lines, points and icons).
enum class AnchorType : int32_t {
  Icon = 1,
  Cross = 2,
  ColorPoint = 3,
  Line = 4,
  Square = 5,
  MediumCircle = 6,
  SmallCircle = 7,
  LargeCircle = 8,
  Frame = 9,
  ColorPolyline = 10,
  Polyline = 11,
  Dot = 12,
  Viewpoint = 13,
};

// Flag bits the preview gives or reads besides those the effects set (effect/anchor_list.h).
namespace Flag {
inline constexpr int CornerCodeMask = 0x1e0;  // which corner a size handle is
inline constexpr int Pinned = 0x20000;        // stacked at the picture's top-right corner
inline constexpr int ClickOnly = 0x40000;     // a left press clicks and starts no drag
inline constexpr int NoDraw = 0x8000000;      // drawn only while hovered
inline constexpr int NoPick = 0x10000000;     // never under the pointer
// Icons are clickable pinned handles with a tooltip, whatever the caller asked for.
inline constexpr int IconFlags = Tooltip | Pinned | ClickOnly;
}  // namespace Flag

struct ViewPoint {
  float x = 0.0f;
  float y = 0.0f;
  bool operator==(const ViewPoint&) const = default;
};

class PreviewAnchor : public AnchorItem {
 public:
  PreviewAnchor() = default;
  PreviewAnchor(AnchorType anchorType, int anchorFlags, ObjectRef anchorOwner,
                EffectEntry anchorEffect, int anchorId);

  // Whether a press can reach the handle: only handles that carry their effect.
  bool isPickable() const { return effect != nullptr; }

  AnchorType type = AnchorType::Icon;
  ObjectRef owner;     // empty for handles that cannot be picked
  EffectEntry effect;  // receives the handle's events; empty for markers
  // The effect's address, kept also for markers: groups the handles of one effect.
  const Effect::EffectBase* effectKey = nullptr;
  Color color{};  // of a coloured point or polyline; zero otherwise
  IconKind icon = IconKind::ClippingShown;
  std::vector<ViewPoint> points;      // view coordinates
  std::vector<ViewPoint> snapPoints;  // corners a facing frame offers for snapping

  // Size handles: the object's centre, the half-way offset from it to the corner (the
  // handle follows the scaled corner) and the size at the press.
  XMath::Vector handleCenter{0.0f, 0.0f, 0.0f, 1.0f};
  XMath::Vector handleOffset{0.0f, 0.0f, 0.0f, 0.0f};
  float startSize = 1.0f;

  // Written by the layout: control pixels, their mean, a frame's reach from that mean, and
  // for an axis line the units per pixel of drag along it.
  std::vector<ViewPoint> pixels;
  ViewPoint centroid;
  float radius = 0.0f;
  float axisScale = 1.0f;
};

}  // namespace Anchor
