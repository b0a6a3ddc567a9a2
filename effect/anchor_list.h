#pragma once
// The preview's handles of one rendered frame, as the effects see them.
//
// While the preview frame renders, every anchor effect adds its handles (circles, frames,
// lines, size handles, markers and its trajectory) to the frame's list; the preview draws
// the list, hit-tests it, and sends presses, double clicks and drag steps back to the
// effect as an Anchor::AnchorEvent. The preview lies above the effect framework and
// implements the list; an effect only adds items and writes, into the item it added, the
// matrix and the points a later drag starts from.
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "effect/outer_types.h"
#include "system/xmath.h"

namespace Effect {
class EffectBase;
}

namespace Anchor {

// The id of an anchor item, and the id an event on it carries back. Ids from 0 to 99999999
// are the points of a track: 0 the object's start, k its k-th midpoint, midpoints + 1 its
// end.
inline constexpr int kCurrentPositionId = 100000000;  // the value at the frame: moves every point
inline constexpr int kClippingIconId = 200000000;     // shows or hides the clipping objects
inline constexpr int kCameraModeIconId = 200000001;   // switches the preview's free view

// Bits of an item's flag word.
namespace Flag {
inline constexpr int AxisX = 0x4;  // axis handles, always with AxisHandle
inline constexpr int AxisY = 0x8;
inline constexpr int AxisZ = 0x10;
inline constexpr int Tooltip = 0x8000;        // the list adds it to circles
inline constexpr int ObjectAnchor = 0x10000;  // a press focuses and selects the object
inline constexpr int PointAnchor = 0x80000;   // a double click moves the cursor to the point
inline constexpr int AxisHandle = 0x100000;   // the drag moves along one axis only
inline constexpr int SizeHandle = 0x200000;   // the list adds it to size handles
inline constexpr int InputSize = 0x400000;    // the size handle edits the input's "サイズ"
inline constexpr int Snap = 0x2000000;        // snaps to other objects while dragged
inline constexpr int SnapAllDragged = 0x4000000;  // snaps with every dragged object's position
inline constexpr int Hidden = 0x20000000;         // not drawn, still hit-tested
// The drag reports each step's own mouse movement (not the travel since the press), and
// Shift does not lock the drag to an axis.
inline constexpr int RawOffset = 0x40000000;
}  // namespace Flag

// Red, green, blue and alpha from 0 to 1, as style.conf colours are read.
using Color = std::array<float, 4>;

// What an effect writes into the item it added: the matrix that projects the item's
// points, where a drag starts from and has reached (x, y, z, 1), and four numbers of the
// effect's own that travel with the drag (the camera handle keeps its angles there).
struct AnchorItem {
  int id = 0;
  int flags = 0;
  XMath::Matrix sourceMatrix = XMath::identity();
  XMath::Vector startPoint{0.0f, 0.0f, 0.0f, 1.0f};
  XMath::Vector currentPoint{0.0f, 0.0f, 0.0f, 1.0f};
  std::array<float, 4> extra{};
};

// The pictures of the icons: the clipping view shown or hidden, and the camera's mode
// (looking through the free edit camera, a camera the drag may edit here, a locked one).
enum class IconKind { ClippingShown, ClippingHidden, CameraFreeView, CameraEditable, CameraLocked };

// Where size handles sit and what they carry back: the matrices they are placed with, the
// object's centre and its size (1.0 = 100 %) at the start of a drag.
struct SizeHandleFrame {
  XMath::Matrix anchorMatrix = XMath::identity();
  XMath::Matrix viewProjection = XMath::identity();
  XMath::Vector center{0.0f, 0.0f, 0.0f, 1.0f};
  float size = 1.0f;
};

using ObjectRef = std::shared_ptr<Edit::Object>;
using EffectEntry = std::shared_ptr<Effect::EffectBase>;

class AnchorList {
 public:
  virtual ~AnchorList() = default;

  // A ring of the large, medium or small radius at `point` projected by `matrix`. A point behind
  // the camera adds nothing and returns a shared item that is never drawn.
  virtual AnchorItem& addLargeCircle(const ObjectRef& object, const EffectEntry& entry, int id,
                                     const XMath::Vector& point, const XMath::Matrix& matrix,
                                     int flags) = 0;
  virtual AnchorItem& addMediumCircle(const ObjectRef& object, const EffectEntry& entry, int id,
                                      const XMath::Vector& point, const XMath::Matrix& matrix,
                                      int flags) = 0;
  virtual AnchorItem& addSmallCircle(const ObjectRef& object, const EffectEntry& entry, int id,
                                     const XMath::Vector& point, const XMath::Matrix& matrix,
                                     int flags) = 0;
  // The w x h rectangle centred on the origin under `matrix`.
  virtual AnchorItem& addFrame(const ObjectRef& object, const EffectEntry& entry, int id,
                               float width, float height, const XMath::Matrix& matrix,
                               int flags) = 0;
  virtual AnchorItem& addIcon(const ObjectRef& object, const EffectEntry& entry, int id,
                              IconKind icon) = 0;
  // An item without a shape that takes every right-button drag in the preview.
  virtual AnchorItem& addCameraHandle(const ObjectRef& object, const EffectEntry& entry, int id,
                                      int flags) = 0;
  // A line between two projected points whose far end is the handle.
  virtual AnchorItem& addLine(const XMath::Vector& projectedStart,
                              const XMath::Vector& projectedEnd, const ObjectRef& object,
                              const EffectEntry& entry, int id, const XMath::Vector& point,
                              const XMath::Matrix& matrix, int flags) = 0;
  // Markers at homogeneous points: a cross without colour, a filled point with one.
  virtual void addPoint(const EffectEntry& entry, const XMath::Vector& point,
                        std::optional<Color> color) = 0;
  virtual void addDot(const EffectEntry& entry, const XMath::Vector& point) = 0;
  // A line through homogeneous points, split where they lie behind the camera.
  virtual void addPolyline(const EffectEntry& entry, const std::vector<XMath::Vector>& points,
                           std::optional<Color> color) = 0;
  // The four edge handles of the w x h rectangle.
  virtual void addSizeHandles(const ObjectRef& object, const EffectEntry& entry, int id,
                              float width, float height, const SizeHandleFrame& frame,
                              int flags) = 0;
};

}  // namespace Anchor
