#include "ui/controls/control_paint.h"

#include <pango/pangocairo.h>

#include <QCursor>
#include <array>
#include <cmath>

#include "system/setting_service.h"
#include "ui/tool_tips.h"
#include "ui/window_service.h"

namespace Control {
namespace {

// What the pointer covers below its hot spot.
constexpr int kCursorHeight = 32;

using Resource::ResourceService;

constexpr std::array<const char*, ResourceService::kTextFormatCount> kFontKeys{
    "Control", nullptr, "EditControl", "LayerObject", "PreviewTime", "TimeGauge", "Footer",
    "TextEdit", "Log"};

// The style's font of a key, or a plain one when no style is loaded or its value is
// unusable.
Media::ComResourcePtr<Media::TextFormat> styleFormat(const char* key) {
  if (Setting::SettingService::instance()) {
    try {
      const Resource::FontValue font = Resource::readFontValue(key);
      return Resource::TextFormat::create(font.family, font.size);
    } catch (const std::exception&) {
      // falls back below
    }
  }
  return Resource::TextFormat::create("sans-serif", 12.0f);
}

// The formats of a window without the resource service, each made on first use.
struct LocalFormats {
  LocalFormats() {
    for (std::size_t i = 0; i < formats.size(); ++i) {
      formats[i].format.setGenerator([i](Media::ComResourcePtr<Media::TextFormat>* slot) {
        if (i == ResourceService::kControlSmall) {
          const Media::TextFormat& control = *textFormat(ResourceService::kControl).format.get();
          *slot = Resource::TextFormat::create(control.family, control.size * 0.8f);
          return;
        }
        *slot = styleFormat(kFontKeys[i]);
      });
    }
  }
  std::array<Resource::TextFormatResource, ResourceService::kTextFormatCount> formats;
};

}  // namespace

bool isPaintable(const Window::WindowControlRenderTarget& control) {
  return control.visible && control.visibleRect.width > 0 && control.visibleRect.height > 0 &&
         control.drawing.renderTarget && control.drawing.styleBrushes;
}

ControlDrawScope::ControlDrawScope(Window::WindowControlRenderTarget& control)
    : control_(control),
      target_(*control.drawing.renderTarget),
      brushes_(*control.drawing.styleBrushes),
      scope_(target_, control.visibleRect.x, control.visibleRect.y,
             control.visibleRect.x + control.visibleRect.width,
             control.visibleRect.y + control.visibleRect.height, true) {
  target_.originX = control.fullRect.x;
  target_.originY = control.fullRect.y;
}

void ControlDrawScope::fillClip(const Media::Brush& brush) {
  const Window::Rect& visible = control_.visibleRect;
  const int32_t left = visible.x - control_.fullRect.x;
  const int32_t top = visible.y - control_.fullRect.y;
  target_.fillRectangle(left, top, left + visible.width, top + visible.height, brush);
}

void ControlDrawScope::drawBorder() {
  target_.drawRectangle(0, 0, width(), height(), *brushes_.Border.get(), 2, nullptr);
}

void ControlDrawScope::drawLayout(PangoLayout* layout, int32_t x, int32_t y,
                                  const Media::Brush& brush) {
  cairo_t* context = target_.target->context();
  brush.setSource(context);
  cairo_move_to(context, x + target_.originX, y + target_.originY);
  pango_cairo_show_layout(context, layout);
}

void ControlDrawScope::fillRectangle(float left, float top, float right, float bottom,
                                     const Media::Brush& brush) {
  if (right <= left || bottom <= top) return;
  cairo_t* context = target_.target->context();
  cairo_new_path(context);
  cairo_rectangle(context, left + target_.originX, top + target_.originY, right - left,
                  bottom - top);
  brush.setSource(context);
  cairo_fill(context);
}

void ControlDrawScope::drawLine(Media::Point2F from, Media::Point2F to, float width,
                                const Media::Brush& brush) {
  cairo_t* context = target_.target->context();
  cairo_new_path(context);
  cairo_move_to(context, from.x + target_.originX, from.y + target_.originY);
  cairo_line_to(context, to.x + target_.originX, to.y + target_.originY);
  brush.setSource(context);
  if (const Media::StrokeStyle* style = iconLineStyle()) style->apply(context, width);
  cairo_stroke(context);
}

Media::SolidColorBrush& bodyBrush(const Window::WindowMouse& control,
                                  Window::StyleBrushList& brushes) {
  if (!control.enabled) return *brushes.ButtonBodyDisable.get();
  if (control.dragging) return *brushes.ButtonBodyPress.get();
  if (control.hovered) return *brushes.ButtonBodyHover.get();
  return *brushes.ButtonBody.get();
}

void repaint(Window::WindowControl& control) {
  control.procPaint();
  if (Window::WindowService* service = Window::WindowService::instance()) service->present();
}

Resource::TextFormatResource& textFormat(ResourceService::TextFormatIndex index) {
  if (ResourceService* service = ResourceService::instance()) return service->textFormat(index);
  static LocalFormats local;
  return local.formats[index];
}

MeasuredText measureText(Resource::TextFormatResource& format, const std::string& text) {
  MeasuredText measured;
  measured.layout = Resource::TextLayout::create(*format.format.get(), text);
  const Resource::TextLayout::Metrics metrics =
      Resource::TextLayout::getMetrics(measured.layout.get());
  measured.width = static_cast<int32_t>(std::ceil(metrics.width));
  measured.height = static_cast<int32_t>(std::ceil(metrics.height));
  return measured;
}

void showToolTipAtCursor(const std::string& text) {
  Window::ToolTips::show(QCursor::pos() + QPoint(0, kCursorHeight), text, 0);
}

const Media::StrokeStyle* iconLineStyle() {
  if (ResourceService* service = ResourceService::instance())
    return service->strokeStyles().get(Resource::StrokeStyleList::kRound);
  static const Media::StrokeStyle round(
      {Media::CapStyle::Round, Media::CapStyle::Round, Media::LineJoin::Round, 10.0f, 0.0f}, {});
  return &round;
}

}  // namespace Control
