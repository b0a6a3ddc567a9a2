#include "main_window/lists/list_row_paint.h"

#include "gpu/text/text_format.h"
#include "system/setting_service.h"

namespace Component {

int32_t listItemHeight() { return Setting::Style::listItemHeight; }

void paintListRow(Control::ControlDrawScope& scope, const Window::WindowMouse& row,
                  const Media::Brush& body, const Media::Bitmap* icon, const std::string& name,
                  int32_t nameWidth) {
  const int32_t item = listItemHeight();
  Window::StyleBrushList& brushes = scope.brushes();
  scope.target().fillRectangle(0, 0, scope.width(), item, body);
  if (icon) scope.target().drawBitmap(*icon, 3, 3, item - 3, item - 3, 1.0f);
  Resource::TextFormatResource& format =
      Control::textFormat(Resource::ResourceService::kControl);
  Control::MeasuredText text = Control::measureText(format, name);
  Resource::TextLayout::setTrimming(text.layout.get(), nameWidth,
                                    *Resource::TextFormat::getTrimmingSign(format));
  scope.drawLayout(text.layout.get(), item, (item - text.height) / 2,
                   row.enabled ? *brushes.Text.get() : *brushes.TextDisable.get());
  scope.target().fillRectangle(0, item, scope.width(), scope.height(), *brushes.Grouping.get());
}

}  // namespace Component
