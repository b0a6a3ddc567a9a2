#pragma once
// The handles of one preview frame: the effects fill it through Anchor::AnchorList while
// the frame renders (on the render worker), the preview lays it out, picks and draws it
// (on the UI thread). The two never use one list at once; the preview swaps whole lists.
//
// Every add projects its points and silently adds nothing for a point behind the
// visibility boundary (w / z - 1 <= 0) or one that does not project (w = 0); operations
// that return an item then return the list's scratch item, which is never read.
#include <cstddef>
#include <deque>

#include "main_window/preview/anchor_item.h"

namespace Anchor {

class PreviewAnchorList : public AnchorList {
 public:
  AnchorItem& addLargeCircle(const ObjectRef& object, const EffectEntry& entry, int id,
                             const XMath::Vector& point, const XMath::Matrix& matrix,
                             int flags) override;
  AnchorItem& addMediumCircle(const ObjectRef& object, const EffectEntry& entry, int id,
                              const XMath::Vector& point, const XMath::Matrix& matrix,
                              int flags) override;
  AnchorItem& addSmallCircle(const ObjectRef& object, const EffectEntry& entry, int id,
                             const XMath::Vector& point, const XMath::Matrix& matrix,
                             int flags) override;
  AnchorItem& addFrame(const ObjectRef& object, const EffectEntry& entry, int id, float width,
                       float height, const XMath::Matrix& matrix, int flags) override;
  AnchorItem& addIcon(const ObjectRef& object, const EffectEntry& entry, int id,
                      IconKind icon) override;
  AnchorItem& addCameraHandle(const ObjectRef& object, const EffectEntry& entry, int id,
                              int flags) override;
  AnchorItem& addLine(const XMath::Vector& projectedStart, const XMath::Vector& projectedEnd,
                      const ObjectRef& object, const EffectEntry& entry, int id,
                      const XMath::Vector& point, const XMath::Matrix& matrix,
                      int flags) override;
  void addPoint(const EffectEntry& entry, const XMath::Vector& point,
                std::optional<Color> color) override;
  void addDot(const EffectEntry& entry, const XMath::Vector& point) override;
  void addPolyline(const EffectEntry& entry, const std::vector<XMath::Vector>& points,
                   std::optional<Color> color) override;
  void addSizeHandles(const ObjectRef& object, const EffectEntry& entry, int id, float width,
                      float height, const SizeHandleFrame& frame, int flags) override;

  // Appends an item built by its owner (any type).
  PreviewAnchor& append(PreviewAnchor item);
  void clear() { items_.clear(); }

  // Items stay where they are while the list grows, so references handed out stay valid
  // until clear().
  std::deque<PreviewAnchor>& items() { return items_; }
  const std::deque<PreviewAnchor>& items() const { return items_; }
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

 private:
  AnchorItem& addCircle(AnchorType type, const ObjectRef& object, const EffectEntry& entry,
                        int id, const XMath::Vector& point, const XMath::Matrix& matrix,
                        int flags);
  void addMarker(AnchorType type, const EffectEntry& entry, const XMath::Vector& point,
                 std::optional<Color> color);
  AnchorItem& scratch();

  std::deque<PreviewAnchor> items_;
  PreviewAnchor scratch_;
};

// Whether a projected point lies in front of the visibility boundary: w / z - 1 > 0, an
// unordered quotient counting as in front; a point with w = 0 has no view position and
// never counts.
bool isVisible(const XMath::Vector& clip);
// The view position (x / w, y / w) of a projected point.
ViewPoint viewPosition(const XMath::Vector& clip);

}  // namespace Anchor
