#pragma once
// The picture part of the preview window: the frame on show at the window's zoom, with
// scroll bars when the zoomed picture is larger than the area, and the effects' handles on
// top of it. The picture control places the picture; its video control draws it and turns
// the pointer's input into handle events.
#include <cstdint>
#include <memory>

#include "gpu/com_resource.h"
#include "main_window/preview/anchor_control.h"
#include "main_window/preview/anchor_drawing.h"
#include "main_window/preview/anchor_service_host.h"
#include "main_window/preview/preview_geometry.h"
#include "system/event_service.h"
#include "ui/controls/rect_control.h"
#include "ui/controls/scroll_bar_control.h"
#include "ui/window_control.h"

namespace Media {
class Bitmap;
class ImageBuffer;
}  // namespace Media

namespace Window {
class BaseMenu;
}

namespace Component {

class PreviewControl;

// The picture area: the frame and the handles of its objects.
class PreviewVideoControl : public Window::WindowControlRenderTarget,
                            public Event::EventInstance {
 public:
  PreviewVideoControl(Window::WindowControl& parent, PreviewControl& owner);

  // The picture, then the handles laid out in the picture's rectangle.
  void procPaint() override;
  void procMouseMove(int32_t x, int32_t y) override;
  void procMouseLeave() override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procDragCancel() override { anchors.endDrag(); }
  bool procDragKey(int32_t key) override;
  void procKeyRelease() override { anchors.captureEnded(); }
  void procCaptureCancel() override;
  void procMouseHover() override;

  // Lays the handles out in the picture's current rectangle.
  void layoutAnchors();

  PreviewControl& owner;
  Anchor::AnchorServiceHost host;
  Anchor::AnchorControl anchors;
  int32_t lastX = 0;  // the pointer's last position, for the hover after a capture ends
  int32_t lastY = 0;
};

class PreviewControl : public Window::WindowControlRenderTarget {
 public:
  // `zoom` is the window's saved zoom parameter (0 fits the area).
  PreviewControl(Window::WindowControlContainer& container, int32_t x, int32_t y, int32_t w,
                 int32_t h, int32_t& zoom);
  ~PreviewControl() override;

  void procPaint() override;
  // The scroll bars follow the new area size, keeping the same part of the picture in the
  // middle.
  void procMove() override;

  // The picture's rectangle in the video control at the zoom; shows or hides the scroll
  // bars as the zoomed picture needs them.
  Anchor::PictureRect computePictureRect();
  // Shows the scroll bars for a content of cw x ch pixels (keeping each bar's relative
  // centre when they are shown already), or hides them.
  void showScrollBars(int32_t contentWidth, int32_t contentHeight);
  void hideScrollBars();
  // Scrolls to (x, y), each kept inside its bar's range, and repaints.
  void scrollTo(int32_t x, int32_t y);
  // Replaces the picture by a bitmap of the image (format R8G8B8A8), or drops it for an
  // empty image.
  void setPicture(const Media::ImageBuffer& image);
  void clearPicture() { picture.reset(); }
  // The zoom choices of system.conf [Config] PreviewZoom as radio items.
  void fillZoomMenu(Window::BaseMenu& menu);
  // Stores the zoom and repaints the picture.
  void setZoom(int32_t newZoom);

  uint32_t pictureWidth() const;
  uint32_t pictureHeight() const;
  int32_t areaWidth() const { return layout.fullRect.width; }
  int32_t areaHeight() const { return layout.fullRect.height; }

  int32_t& zoom;
  std::unique_ptr<Media::ComResource<Media::Bitmap>> picture;
  Control::LayoutControl layout;
  PreviewVideoControl video;
  Control::ScrollBarControl horizontalBar;
  Control::ScrollBarControl verticalBar;
  bool barsShown = true;  // the first layout hides them
  // The object setting window's section, whose point handles take other colours.
  Anchor::SectionHighlight section;

 private:
  void applyScrollBars(float horizontalCentre, float verticalCentre);
  int32_t contentWidth_ = -1;
  int32_t contentHeight_ = -1;
};

}  // namespace Component
