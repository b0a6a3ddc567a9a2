#pragma once
// The timeline rows right of the layer headers: one row per visible layer along the frame
// axis, the objects as boxes over their frames. The pointer finds the object and the part
// of it (body, an edge, a midpoint) under it; a press focuses and selects, a drag moves the
// selection (also across layers), an edge or a midpoint, a Ctrl drag on empty space selects
// with a band, a drag on empty space scrubs the cursor, a right drag pans, and the wheel
// scrolls or zooms. Every edit goes through an edit-update scope; one drag is one undo step.
#include <cstdint>
#include <memory>
#include <string>

#include "edit/edit_service.h"
#include "edit/object_range.h"
#include "edit/undo_service.h"
#include "gpu/draw2d/window_temporary_image.h"
#include "gpu/text/text_format.h"
#include "system/event_service.h"
#include "ui/window_control.h"

namespace Component {

class EditComponent;

class EditLayerObjectControl : public Edit::EditInstance,
                               public Undo::UndoInstance,
                               public Event::EventInstance,
                               public Window::WindowControlRenderTarget {
 public:
  enum class DragMode { None = 0, Move = 1, ResizeStart = 2, ResizeEnd = 3, MoveMidpoint = 4,
                        Cursor = 5, Band = 6, Pan = 7 };
  enum class HitPart { Body = 0, StartEdge = 1, EndEdge = 2, Midpoint = 3 };

  // The object under the pointer and the part of it that a press would grip.
  struct Hit {
    std::shared_ptr<Edit::Object> object;
    HitPart part = HitPart::Body;
    int32_t index = -1;  // the gripped midpoint, 1-based
  };

  // Placed at (x, 0) in the row band, stretched to its right and bottom edges.
  EditLayerObjectControl(EditComponent& owner, Window::WindowControl& parent, int32_t x);

  void procMouseMove(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procDragCancel() override;
  bool procDragKey(int32_t key) override;
  void procKeyRelease() override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseLeave() override;
  void procCaptureCancel() override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  bool procDragOver(int32_t x, int32_t y, Window::DropData& data) override;
  bool procDrop(int32_t x, int32_t y, Window::DropData& data) override;
  void procDragLeave() override;
  void procMouseHover() override;
  // The object menu at the clicked layer and frame (snapped), then the option menu.
  void procContextMenu(int32_t x, int32_t y) override;
  void procPaint() override;

  // --- what lies under the pointer --------------------------------------------------------
  // The object near (x, y) and its gripped part; no object off the scene's layers.
  Hit hitTest(int32_t x, int32_t y) const;
  // The midpoint (1-based) within 8 pixels of x on the object, or -1.
  int32_t findMidpointAt(const Edit::Object& object, int32_t x) const;
  // Moves the hover mark; the rows of the old and the new object repaint.
  void setHover(Hit hit);

  // --- selections ----------------------------------------------------------------------------
  // Adds the objects that the band rectangle touches (control coordinates).
  void selectInBand();
  // Selects the objects on unlocked layers that start at or after (end at or before) the
  // cursor frame.
  void selectObjectsFromCursor();
  void selectObjectsUntilCursor();
  // Selects every object of the scene.
  void selectAllObjects();

  // --- drags ---------------------------------------------------------------------------------
  // Starts a drag of the mode at the press point; the edit modes open the undo step.
  void beginEditDrag(DragMode dragMode, int32_t x, int32_t y);
  // One step of a move of the selection to the pointer (x, y).
  void dragMove(int32_t x, int32_t y);
  // Moves the selection by (layers, frames), both shortened to what fits; the applied
  // deltas remain.
  void moveSelection(int32_t& layers, int32_t& frames);
  // Change the one selected object's start, end or gripped midpoint by delta frames
  // (shortened to what fits).
  void resizeStart(int32_t& delta);
  void resizeEnd(int32_t& delta);
  void moveMidpoint(int32_t& delta);
  // Snaps a drag's delta to the nearest boundary, grid line or the cursor within 8 pixels
  // (only with the snap setting on).
  void snapDelta(int32_t& delta);
  // The correction that moves frame `frame` onto the nearest snap target closer than
  // `distance` (which becomes that target's distance); 0 when none is closer.
  int32_t findSnapTarget(int64_t frame, int32_t& distance) const;
  // The BPM grid line nearest to the frame, or -1 while the grid is too dense to show.
  int32_t findTempoGridLine(int64_t frame) const;
  // The end of a press: a band goes, an unmoved click on a selected group member lets that
  // member go, and (`outside`) the selection stays only while Ctrl is held.
  void endGesture(bool outside);
  void finishDrag();

  // The frame a drop or the menu at x acts on: snapped to a target within 8 pixels.
  int32_t snappedDropFrame(int32_t x) const;
  // The time of the gripped boundary and its time from the object's start, shown at the
  // boundary below its row: until the drag ends (timeout 0, only with the setting on) or
  // until the pointer moves (-1).
  void showTimeTip(int32_t timeout);
  std::string timeTipText() const;

  // --- drawing -----------------------------------------------------------------------------
  // Draws one row when the layer lies in the view.
  void drawLayerRow(int32_t layer);
  // A control object's layer range on the row: frames `from` .. `to`, closed at the bottom
  // on its last layer.
  void drawLayerRange(Media::RenderTarget& target, Window::StyleBrushList& brushes,
                      int32_t from, int32_t to, bool last, int64_t spanEnd);
  // The BPM grid over frames `from` .. `to`: every beat, or every bar when beats are too
  // dense, or nothing when bars are too; bar lines in the border colour.
  void drawTempoGrid(Media::RenderTarget& target, Window::StyleBrushList& brushes, int64_t from,
                     int64_t to);
  // The outlines of the hovered and the focus object on the row.
  void drawMarks(Media::RenderTarget& target, Window::StyleBrushList& brushes, int32_t layer);
  // A midpoint's mark: a small triangle at the top of the row centred on `centre`, kept
  // between `left` and `right`.
  static void drawSectionMark(Media::RenderTarget& target, int32_t centre, int32_t left,
                              int32_t right, const Media::Brush& brush);
  // The insertion marker: a guide line through the middle of the frame's column.
  void drawMarker(int32_t frame);
  // Draws the line of the frame the player shows, saving the pixels under it first.
  void drawPlayerCursor();
  // Puts back the pixels under the playback line or the insertion marker; false when none
  // were saved (a repaint has drawn over them since).
  bool restoreSavedPixels();
  // Repaints the object's row, when it is on a layer.
  void repaintRowOf(const std::shared_ptr<Edit::Object>& object);

  EditComponent& owner;
  int32_t layerHeight = 1;
  int32_t textOffset = 0;
  DragMode mode = DragMode::None;
  Hit hover;
  std::shared_ptr<Edit::Object> focusMark;
  // The view, the layer and frame at the press, and where the drag has got to.
  int32_t pressFirstLayer = 0;
  int32_t pressFirstFrame = 0;
  int32_t pressLayer = 0;
  int32_t pressFrame = 0;
  int32_t currentLayer = 0;
  int32_t currentFrame = 0;
  int32_t pressX = 0;
  int32_t pressY = 0;
  bool applied = false;  // the drag changed something
  // The rubber band: its signed size and its normalised rectangle.
  int32_t bandWidth = 0;
  int32_t bandHeight = 0;
  int32_t bandLeft = 0, bandTop = 0, bandRight = 0, bandBottom = 0;
  // The selection's extent at the start of an edit drag, and the edge frames at the press.
  Edit::ObjectRange extent;
  int32_t pressObjectStart = 0;
  int32_t pressObjectEnd = 0;
  int32_t playerCursorFrame = -1;  // the frame the player showed last, -1 none
  // The pixels under the playback line or the insertion marker, while they are on show.
  Media::WindowTemporaryImage savedPixels;
  bool pixelsSaved = false;
  Resource::TextFormatResource* font;

 private:
  bool isEditMode() const { return mode >= DragMode::Move && mode <= DragMode::MoveMidpoint; }
  // The one selected object an edge or midpoint drag works on, or null.
  Edit::Object* singleSelected() const;
};

}  // namespace Component
