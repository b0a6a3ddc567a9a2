#pragma once
// The timeline rows right of the layer headers: one row per visible layer along the frame
// axis. This part of it scrubs the cursor, pans the view with a right drag and scrolls or
// zooms with the wheel; it draws the rows with the hovered layer, the frame cursor and the
// playback line.
#include <cstdint>

#include "edit/edit_service.h"
#include "gpu/text/text_format.h"
#include "system/event_service.h"
#include "ui/window_control.h"

namespace Component {

class EditComponent;

class EditLayerObjectControl : public Edit::EditInstance,
                               public Event::EventInstance,
                               public Window::WindowControlRenderTarget {
 public:
  enum class DragMode { None = 0, Move = 1, ResizeStart = 2, ResizeEnd = 3, MoveMidpoint = 4,
                        Cursor = 5, Band = 6, Pan = 7 };

  // Placed at (x, 0) in the row band, stretched to its right and bottom edges.
  EditLayerObjectControl(EditComponent& owner, Window::WindowControl& parent, int32_t x);

  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procCaptureCancel() override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procPaint() override;

  // Draws one row when the layer lies in the view.
  void drawLayerRow(int32_t layer);
  // A midpoint's mark: a small triangle at the top of the row centred on `centre`, kept
  // between `left` and `right`.
  static void drawSectionMark(Media::RenderTarget& target, int32_t centre, int32_t left,
                              int32_t right, const Media::Brush& brush);
  // Draws the line of the frame the player shows.
  void drawPlayerCursor();
  // The player stopped: the playback line goes.
  void clearPlayerCursor();

  EditComponent& owner;
  int32_t layerHeight = 1;
  int32_t textOffset = 0;
  DragMode mode = DragMode::None;
  // The view and the point at the press (panning measures from them).
  int32_t pressLayer = 0;
  int32_t pressFrame = 0;
  int32_t pressX = 0;
  int32_t pressY = 0;
  int32_t playerCursorFrame = -1;  // the frame the player showed last, -1 none
  Resource::TextFormatResource* font;
};

}  // namespace Component
