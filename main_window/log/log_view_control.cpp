#include "main_window/log/log_view_control.h"

#include <algorithm>
#include <cmath>

#include "gpu/draw2d/draw_resource.h"
#include "main_window/log/log_component.h"
#include "system/logger.h"
#include "ui/controls/control_paint.h"
#include "ui/window_service.h"

namespace Component {
namespace {

Media::ColorF colourOf(uint32_t rgb) {
  return {static_cast<float>(rgb >> 16 & 0xff) / 255.0f,
          static_cast<float>(rgb >> 8 & 0xff) / 255.0f, static_cast<float>(rgb & 0xff) / 255.0f,
          1.0f};
}

}  // namespace

LogViewControl::LogViewControl(Window::WindowControlContainer& container, LogComponent& owner,
                               int32_t x, int32_t y, int32_t w, int32_t h)
    : WindowControlRenderTarget(container, x, y, w, h),
      format(&Control::textFormat(Resource::ResourceService::kLog)),
      owner(owner) {
  lineHeight = std::max(
      1, static_cast<int32_t>(std::ceil(Resource::TextFormat::getLineHeight(*format))));
  // The view is only drawn; the window takes its input.
  if (mouseService) mouseService->removeMouse(this);
}

LogViewControl::~LogViewControl() {
  if (timerRunning) stopTimer();
}

void LogViewControl::procMove() {
  visibleLines = fullRect.height / lineHeight + 1;
  const bool shouldRun =
      visible && !owner.isHidden() && fullRect.width > 0 && fullRect.height > 0;
  if (shouldRun == timerRunning) return;
  timerRunning = shouldRun;
  if (shouldRun) startTimer();
  else stopTimer();
}

void LogViewControl::startTimer() {
  timer.setInterval(kPollInterval);
  if (owner.service) {
    owner.service->registerWaitHandle(timer.descriptor(), [this] {
      // Taking the expiries makes the descriptor quiet until the next period.
      timer.takeExpirations();
      onTimer();
    });
  }
}

void LogViewControl::stopTimer() {
  timer.clear();
  if (owner.service) owner.service->unregisterWaitHandle(timer.descriptor());
}

void LogViewControl::onTimer() {
  const System::Logger* logger = System::Logger::instance();
  if (!logger) return;
  bool added = false;
  int32_t count = 0;
  logger->readView([&](const std::deque<System::Logger::ViewLine>& store, int32_t counter) {
    if (counter == lastSeenCount) return;
    added = true;
    lastSeenCount = counter;
    count = static_cast<int32_t>(store.size());
  });
  if (!added) return;
  // New lines bring the view back to the newest line, also when the user had scrolled back.
  totalLines = count;
  firstLine = count;
  owner.updateScrollBar();
  owner.procPaint();
  if (owner.service) owner.service->present();
}

void LogViewControl::collectLines() {
  lines.clear();
  const System::Logger* logger = System::Logger::instance();
  if (!logger) {
    totalLines = 0;
    return;
  }
  logger->readView([&](const std::deque<System::Logger::ViewLine>& store, int32_t) {
    const int32_t n = static_cast<int32_t>(store.size());
    totalLines = n;
    // The store is newest first: the view's lowest line is n - first line - visible back.
    const int32_t first = std::max(n - firstLine - visibleLines, 0);
    const int32_t last = std::min(n, first + visibleLines) - 1;
    for (int32_t i = first; i <= last; ++i) {
      const System::Logger::ViewLine& line = store[static_cast<std::size_t>(i)];
      lines.push_back({line.type, line.text});
    }
  });
}

void LogViewControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  Control::ControlDrawScope scope(*this);
  scope.fillClip(*scope.brushes().Background.get());
  collectLines();
  const int32_t height = fullRect.height;
  for (std::size_t g = 0; g < lines.size(); ++g) {
    const std::string text = LogComponent::shortenLambdaNames(lines[g].text);
    const Media::ComResourcePtr<PangoLayout> layout =
        Resource::TextLayout::create(*format->format.get(), text);
    const float textHeight = Resource::TextLayout::getMetrics(layout.get()).height;
    const int32_t y = static_cast<int32_t>(
        std::floor(static_cast<float>(height - static_cast<int32_t>(g) * lineHeight) - textHeight));
    const Media::SolidColorBrush brush(
        colourOf(lines[g].type ? lines[g].type->color : System::Log::INFO.color));
    scope.drawLayout(layout.get(), 0, y, brush);
  }
}

}  // namespace Component
