#pragma once
// The handles of the preview picture: the anchor control lays a frame's anchor list out in
// control pixels, finds the handle under the pointer, and turns presses and drags into
// Anchor::AnchorEvent records for the handles' effects, inside one undo step per drag and
// one edit-update scope per drag step. The preview's picture control owns one and forwards
// its input; everything runs on the UI thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "effect/anchor_event.h"
#include "main_window/preview/anchor_control_host.h"
#include "main_window/preview/anchor_item_list.h"
#include "main_window/preview/anchor_layout.h"

namespace Anchor {

// A position other handles may snap to, in view coordinates; the owner is empty for the
// picture's corners.
struct SnapPoint {
  const Edit::Object* owner = nullptr;
  float x = 0.0f;
  float y = 0.0f;
};

enum class MouseButton { Left, Right };

// The keys held during an input, and whether a press is the second of a double click.
struct InputKeys {
  bool shift = false;
  bool control = false;
  bool doubleClick = false;
};

enum class DragState : int32_t { None = 0, Left = 1, Right = 2 };

enum class ArrowKey { Left, Up, Right, Down };

class AnchorControl {
 public:
  explicit AnchorControl(AnchorControlHost& host) : host_(host) {}
  AnchorControl(const AnchorControl&) = delete;
  AnchorControl& operator=(const AnchorControl&) = delete;

  // A new frame's list replaces the shown one as a whole and is laid out. A drag in
  // progress keeps its own event copies.
  void setAnchors(PreviewAnchorList anchors);
  // The shown picture in control pixels and the control's width (icons stay inside it).
  void setPictureRect(const PictureRect& picture, float controlWidth);
  const PictureRect& pictureRect() const { return picture_; }

  // Lays every item out, rebuilds the pickable items and the snap points, and finds the
  // hovered handle again in the list (same effect, id and flags) or forgets it.
  void layoutAnchors();

  // The pickable handle under the control pixel that sorts first (lower type, then nearer
  // centre, then the focus object's, then lower id), or none.
  PreviewAnchor* hitTest(float x, float y) const;
  // The first pickable camera handle, or none.
  PreviewAnchor* findViewpoint() const;
  // False when the item is the hovered one already.
  bool setHovered(PreviewAnchor* item);
  void clearHovered() { setHovered(nullptr); }
  // The pointer moved to the control pixel: true when another handle (or none) is hovered
  // now, so that the control repaints.
  bool pointerMoved(float x, float y) { return setHovered(hitTest(x, y)); }
  // The pointer left the control: true when a handle was hovered, so that it repaints.
  bool pointerLeft() { return setHovered(nullptr); }

  // A left press at the pointer on the hovered handle. With Ctrl, a point handle stands for
  // its object's whole-object handle. A double click off every handle focuses the camera
  // handle's object.
  void leftButtonDown(InputKeys keys);
  // A right press drags the camera handle from anywhere in the picture.
  void rightButtonDown() { press(MouseButton::Right, findViewpoint(), {}); }
  // Starts a click, double click or drag on the item (or a plain window drag without one).
  // Ignored while a drag is in progress.
  void press(MouseButton button, PreviewAnchor* item, InputKeys keys);
  // One drag step with the total pointer offset since the press; Shift keeps the larger
  // component only, except for handles that take raw offsets.
  void dragStep(int32_t dx, int32_t dy, InputKeys keys);
  // During a drag an arrow key moves the offset by one pixel and runs a step; false (not
  // handled) without a drag.
  bool dragKey(ArrowKey key, InputKeys keys);
  // Drops the drag's events and commits its undo step; nothing without a drag.
  void endDrag();
  // The button went up or a key was released: the drag ends, and a press that selected
  // nothing lets the selection go unless Ctrl or the multi-select mode keeps it.
  void captureEnded();

  // The tooltip of a hovered handle, or "" when it has none.
  std::string toolTipText(const PreviewAnchor& item) const;

  PreviewAnchorList& anchors() { return anchors_; }
  const PreviewAnchorList& anchors() const { return anchors_; }
  PreviewAnchor* hovered() const { return hovered_; }
  const std::vector<PreviewAnchor*>& pickable() const { return pickable_; }
  const std::vector<SnapPoint>& snapPoints() const { return snapPoints_; }
  DragState dragState() const { return dragState_; }
  const std::vector<AnchorEvent>& events() const { return events_; }
  AnchorControlHost& host() const { return host_; }

 private:
  AnchorEvent makeEvent(const PreviewAnchor& item, EventKind kind) const;
  // Stores the drag events of the items and fills in their snapping positions.
  void storeDragEvents(const std::vector<const PreviewAnchor*>& items, EventKind kind);
  void startUndo(const std::vector<const PreviewAnchor*>& items);

  AnchorControlHost& host_;
  PictureRect picture_;
  float controlWidth_ = 0.0f;
  PreviewAnchorList anchors_;
  PreviewAnchor* hovered_ = nullptr;
  std::shared_ptr<Effect::EffectBase> hoveredEffect_;
  int hoveredId_ = 0;
  int hoveredFlags_ = 0;
  std::vector<PreviewAnchor*> pickable_;
  std::vector<SnapPoint> snapPoints_;
  DragState dragState_ = DragState::None;
  int32_t dragX_ = 0;  // the pointer offset since the press, as last received
  int32_t dragY_ = 0;
  std::vector<AnchorEvent> events_;
  struct Offset {
    int32_t x = 0;
    int32_t y = 0;
  };
  std::vector<Offset> lastOffsets_;  // per event: the offset delivered last
};

}  // namespace Anchor
