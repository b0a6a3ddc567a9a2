#include "main_window/preview/preview_control.h"

#include <algorithm>

#include "gpu/draw2d/draw_resource.h"
#include "gpu/image/image_buffer.h"
#include "main_window/preview/anchor_drawing.h"
#include "main_window/preview/anchor_render_canvas.h"
#include "system/setting_service.h"
#include "ui/controls/control_metrics.h"
#include "ui/controls/control_paint.h"
#include "ui/menu_base.h"
#include "ui/tool_tips.h"
#include "ui/virtual_key.h"

namespace Component {

namespace {

// The relative centre of a bar's view inside its range.
float relativeCentre(const Control::ScrollBarControl& bar) {
  const float span = static_cast<float>(bar.maximum - bar.minimum + 1);
  if (span <= 0.0f) return 0.5f;
  return ((static_cast<float>(bar.viewStart + bar.viewEnd + 1) / 2.0f) -
          static_cast<float>(bar.minimum)) / span;
}

Anchor::InputKeys heldKeys(const Window::WindowMouse& control) {
  Anchor::InputKeys keys;
  if (control.mouseService) {
    keys.shift = control.mouseService->isKeyDown(Window::VirtualKey::kShift);
    keys.control = control.mouseService->isKeyDown(Window::VirtualKey::kControl);
    keys.doubleClick = control.mouseService->isDoubleClick();
  }
  return keys;
}

}  // namespace

// --- the video control -------------------------------------------------------------------

PreviewVideoControl::PreviewVideoControl(Window::WindowControl& parent, PreviewControl& owner)
    : WindowControlRenderTarget(parent, 0, 0, 0, 0), owner(owner), host(*this), anchors(host) {
  acceptsRightButton = true;
}

void PreviewVideoControl::layoutAnchors() {
  anchors.setPictureRect(owner.computePictureRect(), static_cast<float>(fullRect.width));
}

void PreviewVideoControl::procPaint() {
  if (!Control::isPaintable(*this) || fullRect.width <= 0 || fullRect.height <= 0) return;
  const Anchor::PictureRect picture = owner.computePictureRect();
  {
    Control::ControlDrawScope scope(*this);
    scope.fillClip(*scope.brushes().OutsideDisplay.get());
    Media::Bitmap* bitmap = owner.picture ? owner.picture->get() : nullptr;
    if (bitmap && bitmap->width() != 0 && bitmap->height() != 0) {
      // The drawing layer scales with its own filter; the rectangle is whole pixels.
      scope.target().drawBitmap(*bitmap, static_cast<int32_t>(picture.left),
                                static_cast<int32_t>(picture.top),
                                static_cast<int32_t>(picture.right),
                                static_cast<int32_t>(picture.bottom), 1.0f);
    }
  }
  if (!owner.picture) return;
  const Anchor::PictureRect& laidOut = anchors.pictureRect();
  if (laidOut.left != picture.left || laidOut.top != picture.top ||
      laidOut.right != picture.right || laidOut.bottom != picture.bottom)
    anchors.setPictureRect(picture, static_cast<float>(fullRect.width));
  Anchor::RenderTargetAnchorCanvas canvas(*this);
  Anchor::drawAnchors(anchors, canvas, owner.section);
}

void PreviewVideoControl::procMouseMove(int32_t x, int32_t y) {
  lastX = x;
  lastY = y;
  if (anchors.pointerMoved(static_cast<float>(x), static_cast<float>(y))) {
    Control::repaint(*this);
    if (anchors.hovered()) trackHover();
  }
}

void PreviewVideoControl::procMouseLeave() {
  if (anchors.pointerLeft()) Control::repaint(*this);
}

void PreviewVideoControl::procLButtonDown(int32_t x, int32_t y) {
  host.setPressPoint(x, y);
  anchors.pointerMoved(static_cast<float>(x), static_cast<float>(y));
  anchors.leftButtonDown(heldKeys(*this));
  Control::repaint(*this);
}

void PreviewVideoControl::procRButtonDown(int32_t x, int32_t y) {
  host.setPressPoint(x, y);
  anchors.rightButtonDown();
}

void PreviewVideoControl::procMouseDrag(int32_t dx, int32_t dy) {
  anchors.dragStep(dx, dy, heldKeys(*this));
}

bool PreviewVideoControl::procDragKey(int32_t key) {
  namespace Key = Window::VirtualKey;
  Anchor::ArrowKey arrow;
  switch (key) {
    case Key::kLeft: arrow = Anchor::ArrowKey::Left; break;
    case Key::kUp: arrow = Anchor::ArrowKey::Up; break;
    case Key::kRight: arrow = Anchor::ArrowKey::Right; break;
    case Key::kDown: arrow = Anchor::ArrowKey::Down; break;
    default: return false;
  }
  return anchors.dragKey(arrow, heldKeys(*this));
}

void PreviewVideoControl::procCaptureCancel() {
  anchors.captureEnded();
  procMouseMove(lastX, lastY);
}

void PreviewVideoControl::procMouseHover() {
  const Anchor::PreviewAnchor* item = anchors.hovered();
  if (!item) return;
  const std::string text = anchors.toolTipText(*item);
  if (!text.empty()) Control::showToolTipAtCursor(text);
}

// --- the picture control -----------------------------------------------------------------

PreviewControl::PreviewControl(Window::WindowControlContainer& container, int32_t x, int32_t y,
                               int32_t w, int32_t h, int32_t& zoom)
    : WindowControlRenderTarget(container, x, y, w, h),
      zoom(zoom),
      layout(*this, 0, 0, 0, 0),
      video(layout, *this),
      horizontalBar(*this, 0, -Control::Metrics::scrollBarSize(),
                    -Control::Metrics::scrollBarSize(), Control::Metrics::scrollBarSize()),
      verticalBar(*this, -Control::Metrics::scrollBarSize(), 0, Control::Metrics::scrollBarSize(),
                  -Control::Metrics::scrollBarSize()) {
  horizontalBar.scrollCallback = [this](Control::ScrollBarControl&, int32_t start) {
    scrollTo(start, verticalBar.viewStart);
  };
  verticalBar.scrollCallback = [this](Control::ScrollBarControl&, int32_t start) {
    scrollTo(horizontalBar.viewStart, start);
  };
  hideScrollBars();
}

PreviewControl::~PreviewControl() = default;

uint32_t PreviewControl::pictureWidth() const {
  return picture && picture->peek() ? picture->peek()->width() : 0;
}

uint32_t PreviewControl::pictureHeight() const {
  return picture && picture->peek() ? picture->peek()->height() : 0;
}

Anchor::PictureRect PreviewControl::computePictureRect() {
  const PicturePlacement placed =
      placePicture(areaWidth(), areaHeight(), pictureWidth(), pictureHeight(), zoom,
                   horizontalBar.viewStart, verticalBar.viewStart);
  if (!placed.scrollBars) {
    hideScrollBars();
    return placed.rect;
  }
  const bool wasShown = barsShown;
  showScrollBars(placed.contentWidth, placed.contentHeight);
  if (wasShown) return placed.rect;
  // The area shrank and the bars were centred: place again with the new starts.
  return placePicture(areaWidth(), areaHeight(), pictureWidth(), pictureHeight(), zoom,
                      horizontalBar.viewStart, verticalBar.viewStart)
      .rect;
}

void PreviewControl::showScrollBars(int32_t contentWidth, int32_t contentHeight) {
  if (barsShown && contentWidth == contentWidth_ && contentHeight == contentHeight_) return;
  float h = 0.5f;
  float v = 0.5f;
  if (barsShown) {
    h = relativeCentre(horizontalBar);
    v = relativeCentre(verticalBar);
  } else {
    barsShown = true;
    layout.layoutW = -Control::Metrics::scrollBarSize();
    layout.layoutH = -Control::Metrics::scrollBarSize();
    layout.updateLayout();
    video.updateLayout();
    horizontalBar.setShown(true);
    verticalBar.setShown(true);
  }
  contentWidth_ = contentWidth;
  contentHeight_ = contentHeight;
  applyScrollBars(h, v);
}

void PreviewControl::applyScrollBars(float horizontalCentre, float verticalCentre) {
  horizontalBar.minimum = std::min(contentWidth_, 0);
  horizontalBar.maximum = std::max(contentWidth_, 0);
  horizontalBar.setViewRange(horizontalBar.minimum, horizontalBar.minimum + areaWidth() - 1);
  horizontalBar.setViewRatio(horizontalCentre);
  verticalBar.minimum = std::min(contentHeight_, 0);
  verticalBar.maximum = std::max(contentHeight_, 0);
  verticalBar.setViewRange(verticalBar.minimum, verticalBar.minimum + areaHeight() - 1);
  verticalBar.setViewRatio(verticalCentre);
  Control::repaint(horizontalBar);
  Control::repaint(verticalBar);
}

void PreviewControl::hideScrollBars() {
  if (!barsShown) return;
  barsShown = false;
  horizontalBar.setShown(false);
  verticalBar.setShown(false);
  horizontalBar.minimum = horizontalBar.maximum = -1;
  verticalBar.minimum = verticalBar.maximum = -1;
  horizontalBar.viewStart = horizontalBar.viewEnd = -1;
  verticalBar.viewStart = verticalBar.viewEnd = -1;
  contentWidth_ = contentHeight_ = -1;
  layout.layoutW = 0;
  layout.layoutH = 0;
  layout.updateLayout();
  video.updateLayout();
}

void PreviewControl::scrollTo(int32_t x, int32_t y) {
  const auto move = [](Control::ScrollBarControl& bar, int32_t position) {
    if (position == bar.viewStart) return;
    const int32_t length = bar.viewEnd - bar.viewStart + 1;
    position = std::max(bar.minimum, std::min(position, bar.maximum - length));
    bar.setViewRange(position, position + length - 1);
    Control::repaint(bar);
  };
  move(horizontalBar, x);
  move(verticalBar, y);
  video.layoutAnchors();
  Control::repaint(video);
}

void PreviewControl::procPaint() {
  if (!Control::isPaintable(*this) || fullRect.width <= 0 || fullRect.height <= 0) return;
  video.procPaint();
  if (barsShown) {
    horizontalBar.procPaint();
    verticalBar.procPaint();
  }
}

void PreviewControl::procMove() {
  if (!barsShown) return;
  // The children are laid out after this control: place the area now for the new size.
  layout.updateLayout();
  video.updateLayout();
  applyScrollBars(relativeCentre(horizontalBar), relativeCentre(verticalBar));
}

void PreviewControl::setPicture(const Media::ImageBuffer& image) {
  if (image.width == 0 || image.height == 0) {
    picture.reset();
    return;
  }
  picture = image.createRenderTargetBitmap(Media::ImageBuffer::AlphaMode::Premultiplied);
}

void PreviewControl::fillZoomMenu(Window::BaseMenu& menu) {
  std::string list;
  if (const Setting::SettingService* settings = Setting::SettingService::instance())
    list = settings->system.config.findValue("PreviewZoom").text;
  for (const int32_t value : parseZoomList(list)) {
    menu.insertItem(zoomText(value), [this, value] { setZoom(value); })
        .setRadioCheck()
        .setCheck([this, value] { return zoom == value; });
  }
}

void PreviewControl::setZoom(int32_t newZoom) {
  zoom = newZoom;
  video.layoutAnchors();
  Control::repaint(video);
}

}  // namespace Component
