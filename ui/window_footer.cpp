#include "ui/window_footer.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

#include "system/setting_service.h"
#include "system/translate_service.h"
#include "ui/frame_metrics.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

namespace Window {
namespace {

// The style's footer font, or a plain one when no style is loaded or its value is unusable.
Media::ComResourcePtr<Media::TextFormat> footerFormat() {
  if (Setting::SettingService::instance()) {
    try {
      const Resource::FontValue font = Resource::readFontValue("Footer");
      return Resource::TextFormat::create(font.family, font.size);
    } catch (const std::exception&) {
      // falls back below
    }
  }
  return Resource::TextFormat::create("sans-serif", 12.0f);
}

}  // namespace

WindowFooter::WindowFooter(WindowService& service) : service_(service), format_(footerFormat()) {}

void WindowFooter::setFooterText(std::optional<std::string> left,
                                 std::optional<std::string> right) {
  bool changed = false;
  if (left && *left != left_) {
    left_ = std::move(*left);
    changed = true;
  }
  if (right && *right != right_) {
    right_ = std::move(*right);
    changed = true;
  }
  if (changed) paint();
}

void WindowFooter::setStatusText(std::string_view text, std::optional<std::string_view> detail,
                                 float progress) {
  std::string shown =
      Translate::translateText(Translate::TranslateService::TextKind::Message, text);
  if (detail) {
    shown += ' ';
    shown += *detail;
  }
  if (shown == status_) {
    if (progress != progress_) {
      progress_ = progress;
      paint();
    }
    return;
  }
  status_ = std::move(shown);
  progress_ = progress;
  // The wait cursor lasts until the pointer next moves.
  if (WindowMouseService* mice = WindowMouseService::instance()) {
    mice->setCursor(status_.empty() ? MouseCursor::Arrow : MouseCursor::Wait);
    mice->updateWindowCursor();
  }
  paint();
}

void WindowFooter::drawText(PangoLayout* layout, int32_t x, int32_t y) {
  Media::RenderTarget& target = service_.renderTarget();
  cairo_t* context = target.target->context();
  service_.styleBrushes().Text.get()->setSource(context);
  cairo_move_to(context, x + target.originX, y + target.originY);
  pango_cairo_show_layout(context, layout);
}

void WindowFooter::paint() {
  Media::RenderTarget& target = service_.renderTarget();
  StyleBrushList& brushes = service_.styleBrushes();
  const int32_t separator = Metrics::separatorSize();
  const int32_t top = service_.dockingHeight() - separator;
  const int32_t right = std::max(0, service_.dockingWidth() - separator + 2);
  const int32_t height = Metrics::footerHeight();
  Media::RenderTarget::DrawScope scope(target, 0, top, right, top + height, true);
  ++paintCount_;
  const int32_t width = right;

  if (!status_.empty()) {
    target.fillRectangle(0, 0, width, height, *brushes.FooterProgress0.get());
    if (progress_ > 0.0f) {
      const auto done = static_cast<int32_t>(static_cast<float>(width) * std::min(progress_, 1.0f));
      target.fillRectangle(0, 0, done, height, *brushes.FooterProgress1.get());
    }
  } else {
    target.fillRectangle(0, 0, width, height, *brushes.Footer.get());
  }

  const int32_t margin = height / 3;
  const auto rightLayout = Resource::TextLayout::create(*format_, right_);
  const auto rightMetrics = Resource::TextLayout::getMetrics(rightLayout.get());
  const auto rightWidth = static_cast<int32_t>(std::ceil(rightMetrics.width));
  const auto rightHeight = static_cast<int32_t>(std::ceil(rightMetrics.height));
  const int32_t rightX = width - rightWidth - margin;
  {
    const int32_t y = (height - rightHeight) / 2;
    Media::RenderTarget::DrawScope clip(target, rightX, y, rightX + rightWidth, y + rightHeight,
                                        false);
    drawText(rightLayout.get(), 0, 0);
  }

  // The left text never runs into the right one.
  const std::string& leftText = status_.empty() ? left_ : status_;
  const auto leftLayout = Resource::TextLayout::create(*format_, leftText);
  const auto leftHeight =
      static_cast<int32_t>(std::ceil(Resource::TextLayout::getMetrics(leftLayout.get()).height));
  const int32_t leftLimit = std::clamp(rightX - margin, 0, width);
  {
    Media::RenderTarget::DrawScope clip(target, 0, 0, leftLimit, height, false);
    drawText(leftLayout.get(), margin, (height - leftHeight) / 2);
  }
  service_.present();
}

}  // namespace Window
