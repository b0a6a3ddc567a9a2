#include "ui/controls/text_control.h"

#include "system/translate_service.h"
#include "ui/controls/control_metrics.h"
#include "ui/controls/control_paint.h"

namespace Control {

TextControl::TextControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w,
                         int32_t h, std::string label, int32_t mode)
    : WindowControlRenderTarget(parent, x, y, w, h),
      text(std::move(label)),
      alignment(mode),
      font(&textFormat(Resource::ResourceService::kControl)) {
  if (mouseService) mouseService->removeMouse(this);
}

TextControl::TextControl(Window::WindowControlContainer& container, int32_t x, int32_t w,
                         std::string label)
    : WindowControlRenderTarget(container, x, 0, w, 0),
      text(std::move(label)),
      alignment(kLeft),
      font(&textFormat(Resource::ResourceService::kControl)) {
  if (mouseService) mouseService->removeMouse(this);
}

void TextControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  MeasuredText measured = measureText(*font, text);
  const int32_t inset = borderBrush ? 2 : 0;
  const int32_t middle = inset + (scope.height() - measured.height) / 2;
  int32_t x = inset, y = inset;
  switch (alignment) {
    case kLeft: y = middle; break;
    case kCentred:
      x = inset + (scope.width() - measured.width) / 2;
      y = middle;
      break;
    case kTrimmed:
      y = middle;
      Resource::TextLayout::setTrimming(measured.layout.get(), scope.width() - 4,
                                        *Resource::TextFormat::getTrimmingSign(*font));
      break;
    default: break;
  }
  if (backgroundBrush) scope.fillClip(*backgroundBrush);
  scope.drawLayout(measured.layout.get(), x, y,
                   textBrush ? *textBrush : *scope.brushes().Text.get());
  if (borderBrush)
    scope.target().drawRectangle(0, 0, scope.width(), scope.height(), *borderBrush, 2, nullptr);
}

TitleHeaderControl::TitleHeaderControl(Window::WindowControlContainer& container,
                                       std::string text)
    : WindowControlRenderTarget(container, 0, 0, 0, Metrics::titleHeaderHeight() + 2),
      title(std::move(text)) {
  if (mouseService) mouseService->removeMouse(this);
}

void TitleHeaderControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  const int32_t strip = Metrics::titleHeaderHeight();
  Resource::TextFormatResource& format = textFormat(Resource::ResourceService::kControlSmall);
  MeasuredText shown = measureText(
      format, Translate::translateText(Translate::TranslateService::TextKind::Dialog, title));
  scope.target().fillRectangle(0, 0, scope.width(), strip, *brushes.TitleHeader.get());
  scope.target().fillRectangle(0, strip, scope.width(), scope.height(), *brushes.Background.get());
  scope.drawLayout(shown.layout.get(), 3, (strip - shown.height) / 2 + 1, *brushes.Text.get());
  if (!subTitle.empty()) {
    MeasuredText sub = measureText(format, subTitle);
    scope.drawLayout(sub.layout.get(), shown.width + 9, (strip - sub.height) / 2 + 1,
                     *brushes.Text.get());
  }
}

}  // namespace Control
