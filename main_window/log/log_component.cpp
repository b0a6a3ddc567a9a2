#include "main_window/log/log_component.h"

#include <algorithm>
#include <regex>

#include "system/clipboard.h"
#include "system/logger.h"
#include "system/text.h"
#include "ui/controls/control_metrics.h"
#include "ui/menu_base.h"
#include "ui/menu_popup.h"
#include "ui/window_service.h"

namespace Component {
namespace {

Window::WindowClient::Placement defaultPlacement() {
  Window::WindowClient::Placement placement;
  placement.left = 0.0f;
  placement.top = 0.7f;
  placement.right = 1.0f;
  placement.bottom = 1.0f;
  placement.area = Window::WindowClient::kCentre;
  placement.visible = false;
  return placement;
}

}  // namespace

LogComponent::LogComponent()
    : WindowClientRenderTarget("ログ表示", kSectionName, defaultPlacement()),
      container(Window::WindowControlContainer::filling(rect, kContainerPriority)),
      header(container, "ログ"),
      scrollBar(container, -Control::Metrics::scrollBarSize(), header.layoutH,
                Control::Metrics::scrollBarSize()),
      view(container, *this, 0, header.layoutH, -Control::Metrics::scrollBarSize(), 0) {
  acceptsContextMenu = true;
  acceptsRightButton = true;
  acceptsWheel = true;
  scrollBar.step = kWheelLines;
  scrollBar.scrollCallback = [this](Control::ScrollBarControl&, int32_t newStart) {
    view.firstLine = newStart;
    updateScrollBar();
    procPaint();
    if (service) service->present();
  };
}

void LogComponent::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  createLogMenu(menu);
  menu.show();
}

void LogComponent::createLogMenu(Window::BaseMenu& menu) {
  menu.insertItem("ログをコピー", [this] { copyLog(); });
  menu.insertSeparator();
  createPopupMenu(menu);
}

void LogComponent::procRButtonDown(int32_t x, int32_t y) {
  // The drag reports the displacement from the press point, so the text follows the pointer.
  if (mouseService) mouseService->beginDrag(x, y, Window::MouseCursor::SizeAll);
  dragStartPosition = scrollBar.viewStart;
}

void LogComponent::procMouseDrag(int32_t, int32_t dy) {
  view.firstLine = dragStartPosition - dy / view.lineHeight;
  updateScrollBar();
  procPaint();
  if (service) service->present();
}

void LogComponent::procMouseWheel(int32_t x, int32_t y, int32_t delta) {
  // Wherever the pointer is over the window, the wheel scrolls as over the bar.
  scrollBar.procMouseWheel(x + rect.x - scrollBar.visibleRect.x,
                           y + rect.y - scrollBar.visibleRect.y, delta);
}

void LogComponent::procPaint() {
  if (isHidden() || !drawing.renderTarget || rect.width <= 0 || rect.height <= 0) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, rect.x, rect.y,
                                       rect.x + rect.width, rect.y + rect.height, true);
  for (Window::WindowControl* child : container.children) child->procPaint();
}

void LogComponent::procMove() {
  container.updateLayout();
  updateScrollBar();
}

void LogComponent::updateScrollBar() {
  const int32_t total = view.totalLines;
  const int32_t visible = view.visibleLines;
  // A log shorter than the view gets a negative first line: its lines sit at the bottom.
  view.firstLine = std::min(view.firstLine, total - visible);
  scrollBar.minimum = std::min(total - 1, 0);
  scrollBar.maximum = std::max(total - 1, 0);
  scrollBar.setViewRange(scrollBar.viewStart, scrollBar.viewEnd);
  scrollBar.setViewRange(view.firstLine, view.firstLine + visible - 1);
}

std::string LogComponent::shortenLambdaNames(std::string_view line) {
  static const std::regex lambdaName(R"(<lambda.+?>::operator \(\))");
  const std::string shortened =
      std::regex_replace(std::string(line), lambdaName, std::string("<lambda>"));
  // The lines are UTF-8 already; a line cut inside a character must still draw.
  return System::sanitizeUtf8(shortened);
}

std::string LogComponent::logText() {
  std::string text;
  const System::Logger* logger = System::Logger::instance();
  if (!logger) return text;
  logger->readView([&](const std::deque<System::Logger::ViewLine>& store, int32_t) {
    for (auto line = store.rbegin(); line != store.rend(); ++line) {
      text += shortenLambdaNames(line->text);
      text += "\r\n";
    }
  });
  return text;
}

void LogComponent::copyLog() {
  // The text is made under the logger's lock; the clipboard is reached after it is released.
  const std::string text = logText();
  System::Clipboard::setText(text);
}

}  // namespace Component
