#include "ui/window_client.h"

#include <algorithm>

#include "system/setting_service.h"
#include "ui/frame_metrics.h"
#include "ui/window_service.h"

namespace Window {

WindowClient::LayoutConfig::LayoutConfig(const std::string& sectionName,
                                         const Placement& defaults)
    : section_(sectionName),
      left_(section_, "left", &edges[0], defaults.left),
      top_(section_, "top", &edges[1], defaults.top),
      right_(section_, "right", &edges[2], defaults.right),
      bottom_(section_, "bottom", &edges[3], defaults.bottom),
      area_(section_, "area", &area, defaults.area),
      hide_(section_, "hide", &hide, defaults.visible ? 0 : 1),
      binding_(section_, Setting::ParameterIni::instance()) {
  binding_.load();
  // An area number from a damaged file would index nothing: it falls back to the centre.
  if (area < kLeft || area > kCentre) area = kCentre;
}

WindowClient::WindowClient(std::string clientTitle, const std::string& sectionName,
                           const Placement& defaults)
    : WindowMouse(&rect, kPriority),
      service(WindowService::instance()),
      title(std::move(clientTitle)),
      layout(sectionName, defaults) {
  acceptsContextMenu = true;  // every docked window has at least the window menu
  if (service) service->addClient(this);
}

WindowClient::~WindowClient() {
  if (service) service->removeClient(this);
}

void WindowClient::setVisible(bool visible) {
  layout.hide = visible ? 0 : 1;
  updateRect(false);
}

void WindowClient::updateRect(bool force) {
  Rect next{kParked, kParked, 0, 0};
  if (!isHidden() && service) {
    const float width = static_cast<float>(service->dockingWidth());
    const float height = static_cast<float>(service->dockingHeight());
    const int32_t separator = Metrics::separatorSize();
    // Neighbours that share an edge fraction keep a separator's gap between them; the left
    // edge of the window keeps a 1-pixel border.
    next.x = static_cast<int32_t>(width * layout.edges[0]) + 1;
    next.width =
        std::max(0, static_cast<int32_t>(width * layout.edges[2]) - separator - next.x + 1);
    next.y = static_cast<int32_t>(height * layout.edges[1]);
    next.height = std::max(0, static_cast<int32_t>(height * layout.edges[3]) - separator - next.y);
  }
  const bool changed = next != rect;
  rect = next;
  if (changed || force) {
    procMove();
    if (!isHidden()) procPaint();
  }
}

}  // namespace Window
