#include "ui/docking_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "ui/frame_metrics.h"
#include "ui/window_footer.h"
#include "ui/window_service.h"

namespace Window {
namespace {

using Bounds = DockingLayout::Bounds;

bool same(float a, float b) { return std::fabs(a - b) < DockingLayout::kEpsilon; }

// Left and right areas stack their windows top to bottom; the others left to right.
bool stacksVertically(int area) {
  return area == WindowClient::kLeft || area == WindowClient::kRight;
}

float& boundEdge(Bounds& b, int index) {
  switch (index) {
    case 0: return b.left;
    case 1: return b.top;
    case 2: return b.right;
    default: return b.bottom;
  }
}

}  // namespace

DockingLayout::DockingLayout(WindowService& service) : WindowMouse(&area_, 0), service_(service) {}

void DockingLayout::setSize(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
}

std::vector<WindowClient*> DockingLayout::getAreaClients(int area) const {
  std::vector<WindowClient*> result;
  for (WindowClient* client : clients_) {
    if (!client->isHidden() && client->layout.area == area) result.push_back(client);
  }
  return result;
}

std::vector<WindowClient*> DockingLayout::getSortedAreaClients(int area) const {
  std::vector<WindowClient*> result = getAreaClients(area);
  const int start = stacksVertically(area) ? 1 : 0;
  std::stable_sort(result.begin(), result.end(), [start](WindowClient* a, WindowClient* b) {
    return a->layout.edge(start) < b->layout.edge(start);
  });
  return result;
}

Bounds DockingLayout::getClientBounds(
    const std::function<bool(const WindowClient&)>& predicate) const {
  Bounds box{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
             std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
  bool any = false;
  for (const WindowClient* client : clients_) {
    if (client->isHidden() || !predicate(*client)) continue;
    any = true;
    box.left = std::min(box.left, client->layout.edge(0));
    box.top = std::min(box.top, client->layout.edge(1));
    box.right = std::max(box.right, client->layout.edge(2));
    box.bottom = std::max(box.bottom, client->layout.edge(3));
  }
  if (!any || box.right <= box.left || box.bottom <= box.top) return {};
  return box;
}

void DockingLayout::normalizeLayout() {
  for (WindowClient* client : clients_) {
    float* e = client->layout.edges;
    e[0] = std::clamp(e[0], 0.0f, 0.999f);
    e[1] = std::clamp(e[1], 0.0f, 0.999f);
    e[2] = std::clamp(e[2], e[0], 1.0f);
    e[3] = std::clamp(e[3], e[1], 1.0f);
  }
  Bounds free{0.0f, 0.0f, 1.0f, 1.0f};
  for (int area = WindowClient::kLeft; area <= WindowClient::kCentre; ++area)
    layoutArea(area, free);
}

void DockingLayout::layoutArea(int area, Bounds& free) {
  std::vector<WindowClient*> members = getAreaClients(area);
  if (members.empty()) return;
  Bounds own = getClientBounds([area](const WindowClient& c) { return c.layout.area == area; });
  const Bounds rest =
      getClientBounds([area](const WindowClient& c) { return c.layout.area > area; });
  if (own.width() <= 0.0f || own.height() <= 0.0f) own = {0.0f, 0.0f, kMinExtent, kMinExtent};

  // The area's share of the free region: its own extent against the extent of the areas
  // laid out after it; with none after it, the whole free extent.
  auto share = [](float freeExtent, float ownExtent, float restExtent) {
    ownExtent = std::max(ownExtent, 0.0f);
    restExtent = std::max(restExtent, 0.0f);
    return restExtent > 0.0f ? freeExtent * ownExtent / (restExtent + ownExtent) : freeExtent;
  };
  Bounds region = free;
  switch (area) {
    case WindowClient::kLeft:
      region.right = free.left + share(free.width(), own.width(), rest.width());
      free.left = region.right;
      break;
    case WindowClient::kRight:
      region.left = free.right - share(free.width(), own.width(), rest.width());
      free.right = region.left;
      break;
    case WindowClient::kTop:
      region.bottom = free.top + share(free.height(), own.height(), rest.height());
      free.top = region.bottom;
      break;
    case WindowClient::kBottom:
      region.top = free.bottom - share(free.height(), own.height(), rest.height());
      free.bottom = region.top;
      break;
    default:
      break;
  }

  // Stack the windows along the area's axis in the order of their centres, sizes kept
  // proportional, filling the region exactly.
  const bool vertical = stacksVertically(area);
  const int start = vertical ? 1 : 0, end = vertical ? 3 : 2;
  const int crossStart = vertical ? 0 : 1, crossEnd = vertical ? 2 : 3;
  std::stable_sort(members.begin(), members.end(), [&](WindowClient* a, WindowClient* b) {
    return a->layout.edge(start) + a->layout.edge(end) <
           b->layout.edge(start) + b->layout.edge(end);
  });
  std::vector<float> extents;
  for (WindowClient* client : members)
    extents.push_back(std::max(client->layout.edge(end) - client->layout.edge(start), kMinExtent));
  const float sum = std::accumulate(extents.begin(), extents.end(), 0.0f);
  const float regionStart = boundEdge(region, start);
  const float regionLength = boundEdge(region, end) - regionStart;
  float before = 0.0f;
  for (std::size_t k = 0; k < members.size(); ++k) {
    float* e = members[k]->layout.edges;
    e[crossStart] = boundEdge(region, crossStart);
    e[crossEnd] = boundEdge(region, crossEnd);
    e[start] = regionStart + regionLength * before / sum;
    before += extents[k];
    e[end] = regionStart + regionLength * before / sum;
  }
}

void DockingLayout::dockClient(WindowClient& client) {
  const int area = client.layout.area;
  std::vector<WindowClient*> members = getAreaClients(area);
  members.erase(std::remove(members.begin(), members.end(), &client), members.end());
  float* c = client.layout.edges;
  if (!members.empty()) {
    const Bounds box = getClientBounds([&](const WindowClient& w) {
      return &w != &client && w.layout.area == area;
    });
    const bool vertical = stacksVertically(area);
    const int start = vertical ? 1 : 0, end = vertical ? 3 : 2;
    const int crossStart = vertical ? 0 : 1, crossEnd = vertical ? 2 : 3;
    Bounds b = box;
    c[crossStart] = boundEdge(b, crossStart);
    c[crossEnd] = boundEdge(b, crossEnd);
    const float g = boundEdge(b, start), h = boundEdge(b, end);
    const float total = std::max(h - g, kMinExtent);
    const float own = std::max(c[end] - c[start], kMinExtent);
    const float k = (total - own) / total;
    if (k > 0.0f) {
      // Windows before the new one's centre shrink toward the area's start, the others
      // toward its end, which opens about the new window's extent at its place.
      const float centre = c[start] + c[end];
      for (WindowClient* member : members) {
        float* e = member->layout.edges;
        const float anchor = e[start] + e[end] < centre ? g : h;
        e[start] = (e[start] - anchor) * k + anchor;
        e[end] = (e[end] - anchor) * k + anchor;
      }
    }
    return;
  }
  // An empty area: every visible window gives up a strip of the new window's own size.
  const float width = std::max(c[2] - c[0], kMinExtent);
  const float height = std::max(c[3] - c[1], kMinExtent);
  for (WindowClient* other : clients_) {
    if (other == &client || other->isHidden()) continue;
    float* e = other->layout.edges;
    switch (area) {
      case WindowClient::kLeft:
        for (int i : {0, 2}) e[i] = (e[i] - 1.0f) * (1.0f - width) + 1.0f;
        break;
      case WindowClient::kRight:
        for (int i : {0, 2}) e[i] = e[i] * (1.0f - width);
        break;
      case WindowClient::kTop:
        for (int i : {1, 3}) e[i] = (e[i] - 1.0f) * (1.0f - height) + 1.0f;
        break;
      case WindowClient::kBottom:
        for (int i : {1, 3}) e[i] = e[i] * (1.0f - height);
        break;
      default:
        break;
    }
  }
}

bool DockingLayout::hitTestSeparator(int32_t x, int32_t y) {
  dragList_.clear();
  if (clients_.size() < 2) return false;
  std::vector<std::pair<int32_t, WindowClient*>> distances;
  for (WindowClient* client : clients_) {
    int32_t distance = 0x10000;
    if (!client->isHidden()) {
      const Rect& r = client->rect;
      const int32_t dx = std::max(r.x - x, x - (r.x + r.width));
      const int32_t dy = std::max(r.y - y, y - (r.y + r.height));
      distance = std::max(dx, dy);
    }
    distances.emplace_back(distance, client);
  }
  std::stable_sort(distances.begin(), distances.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  const int32_t separator = Metrics::separatorSize();
  if (distances[0].first > separator || distances[1].first > separator) return false;
  WindowClient* first = distances[0].second;
  WindowClient* second = distances[1].second;
  const float* a = first->layout.edges;
  const float* b = second->layout.edges;
  if (same(a[2], b[0])) {
    dragList_ = {{first, 2, 0}, {second, 0, 2}};
    horizontal_ = false;
  } else if (same(a[3], b[1])) {
    dragList_ = {{first, 3, 1}, {second, 1, 3}};
    horizontal_ = true;
  } else if (same(b[2], a[0])) {
    dragList_ = {{second, 2, 0}, {first, 0, 2}};
    horizontal_ = false;
  } else if (same(b[3], a[1])) {
    dragList_ = {{second, 3, 1}, {first, 1, 3}};
    horizontal_ = true;
  } else {
    return false;
  }
  pressEdge_ = dragList_[0].client->layout.edge(dragList_[0].edge);
  return true;
}

bool DockingLayout::extendSeparatorChain() {
  if (dragList_.size() != 2) return false;
  // Side 0 lies before the separator (its right or bottom edge is on it), side 1 after it.
  const int sideEdge[2] = {horizontal_ ? 3 : 2, horizontal_ ? 1 : 0};
  auto onSide = [&](int side, WindowClient* client) {
    return !client->isHidden() && same(client->layout.edge(sideEdge[side]), pressEdge_);
  };
  auto listed = [&](WindowClient* client) {
    return std::any_of(dragList_.begin(), dragList_.end(),
                       [client](const SeparatorEdge& e) { return e.client == client; });
  };
  // The window that continues a side past `end`: on the separator, its far edge at `end`.
  auto continuation = [&](int side, int farEdge, float end) -> WindowClient* {
    for (WindowClient* client : clients_) {
      if (!listed(client) && onSide(side, client) && same(client->layout.edge(farEdge), end))
        return client;
    }
    return nullptr;
  };
  auto add = [&](int side, WindowClient* client) {
    dragList_.push_back({client, sideEdge[side], (sideEdge[side] + 2) % 4});
  };

  // Walk toward the start of the line (near edge top or left), then toward its end.
  const int lineStart = horizontal_ ? 0 : 1, lineEnd = horizontal_ ? 2 : 3;
  for (int direction = 0; direction < 2; ++direction) {
    const int nearEdge = direction == 0 ? lineStart : lineEnd;
    const int farEdge = direction == 0 ? lineEnd : lineStart;
    WindowClient* current[2] = {dragList_[0].client, dragList_[1].client};
    for (;;) {
      const float end0 = current[0]->layout.edge(nearEdge);
      const float end1 = current[1]->layout.edge(nearEdge);
      if (same(end0, end1)) {
        WindowClient* next0 = continuation(0, farEdge, end0);
        WindowClient* next1 = continuation(1, farEdge, end1);
        if (!next0 || !next1) break;
        // Where the line meets windows of other areas on both sides, it ends.
        if (next0->layout.area != current[0]->layout.area &&
            next1->layout.area != current[1]->layout.area)
          break;
        add(0, next0);
        add(1, next1);
        current[0] = next0;
        current[1] = next1;
        continue;
      }
      // The side that ends sooner in the walking direction needs a window that goes on.
      const bool firstSooner = direction == 0 ? end0 > end1 : end0 < end1;
      const int side = firstSooner ? 0 : 1;
      WindowClient* next = continuation(side, farEdge, firstSooner ? end0 : end1);
      if (!next) {
        dragList_.clear();
        return false;
      }
      add(side, next);
      current[side] = next;
    }
  }
  return true;
}

MouseCursor DockingLayout::sizeCursor() const {
  return horizontal_ ? MouseCursor::SizeNS : MouseCursor::SizeWE;
}

void DockingLayout::dragSeparator(int32_t dx, int32_t dy) {
  if (dragList_.size() < 2) return;
  const float extent = static_cast<float>(std::max(horizontal_ ? height_ : width_, 1));
  const float d = static_cast<float>(horizontal_ ? dy : dx) / extent;
  float edge = pressEdge_ + d;
  const float margin = static_cast<float>(kMinDragSize) / extent;

  WindowMouseService* mice = mouseService;
  if (dragList_.size() == 2 &&
      dragList_[0].client->layout.area == dragList_[1].client->layout.area) {
    const SeparatorEdge& limiter = d < 0 ? dragList_[0] : dragList_[1];
    const float limit = limiter.client->layout.edge(limiter.opposite);
    const bool tooClose = d < 0 ? edge < limit + margin : edge > limit - margin;
    if (tooClose) {
      if (mice)
        mice->setCursor(horizontal_ ? MouseCursor::PanHorizontal : MouseCursor::PanVertical);
      const bool beyond = d < 0 ? edge < limit : edge > limit;
      if (beyond) swapSeparatorClients(d < 0);
      return;
    }
    if (mice) mice->setCursor(sizeCursor());
  }
  // Every window on the shrinking side keeps at least the least size.
  for (const SeparatorEdge& entry : dragList_) {
    const bool before = entry.edge >= 2;
    const float opposite = entry.client->layout.edge(entry.opposite);
    if (d < 0 && before) edge = std::max(edge, opposite + margin);
    if (d >= 0 && !before) edge = std::min(edge, opposite - margin);
  }
  float delta = edge - pressEdge_;
  if ((d < 0 && delta > 0) || (d >= 0 && delta < 0)) delta = 0.0f;
  // Compared with where the edges are now, so that a drag back to its start puts them back.
  const float target = pressEdge_ + delta;
  if (dragList_[0].client->layout.edge(dragList_[0].edge) == target) return;
  for (const SeparatorEdge& entry : dragList_) entry.client->layout.edge(entry.edge) = target;
  relayout();
}

void DockingLayout::exchangePlacement(WindowClient& a, WindowClient& b) {
  for (int i = 0; i < 4; ++i) std::swap(a.layout.edges[i], b.layout.edges[i]);
}

void DockingLayout::swapSeparatorClients(bool movingBack) {
  if (dragList_.size() < 2) return;
  const std::vector<WindowClient*> sorted = getSortedAreaClients(dragList_[0].client->layout.area);
  const auto found = std::find(sorted.begin(), sorted.end(), dragList_[1].client);
  if (found == sorted.end()) return;
  const std::size_t index = static_cast<std::size_t>(found - sorted.begin());
  if (!movingBack && index + 1 >= sorted.size()) return;
  // The exchange, the new hit test and the redraw make one draw bracket.
  Media::RenderTarget::DrawScope scope(service_.renderTarget(), 0, 0, service_.clientWidth(),
                                       service_.clientHeight(), true);
  for (const SeparatorEdge& entry : dragList_) entry.client->layout.edge(entry.edge) = pressEdge_;
  WindowClient* first = movingBack ? dragList_[0].client : sorted[index + 1];
  WindowClient* second = dragList_[1].client;
  exchangePlacement(*first, *second);
  // The new separator is found on the windows' new pixel rectangles.
  normalizeLayout();
  for (WindowClient* client : clients_) client->updateRect(false);
  int32_t x = 0, y = 0;
  const Rect& r = movingBack ? second->rect : first->rect;
  if (!horizontal_) {
    x = movingBack ? r.x : r.x + r.width;
    y = r.y + r.height / 2;
  } else {
    y = movingBack ? r.y : r.y + r.height;
    x = r.x + r.width / 2;
  }
  const bool found2 = hitTestSeparator(x, y) && extendSeparatorChain();
  if (!found2 || dragList_.size() != 2 ||
      dragList_[0].client->layout.area != dragList_[1].client->layout.area)
    dragList_.clear();
  if (dragList_.empty()) {
    // No same-area separator there: the drag ends.
    dragging = false;
    procDragCancel();
    if (mouseService) mouseService->setCursor(MouseCursor::Arrow);
  } else if (mouseService) {
    mouseService->setDragOrigin(x, y);
  }
  relayout();
}

void DockingLayout::relayout() {
  Media::RenderTarget::DrawScope scope(service_.renderTarget(), 0, 0, service_.clientWidth(),
                                       service_.clientHeight(), true);
  normalizeLayout();
  for (WindowClient* client : clients_) {
    if (!client->isHidden()) client->updateRect(true);
  }
  drawEmptyBackground();
  service_.footer().paint();
  drawSeparators();
  service_.present();
}

void DockingLayout::drawSeparators() {
  Media::RenderTarget& target = service_.renderTarget();
  Media::RenderTarget::DrawScope scope(target, 0, 0, service_.clientWidth(),
                                       service_.clientHeight(), true);
  StyleBrushList& brushes = service_.styleBrushes();
  const int32_t s = Metrics::separatorSize();
  for (WindowClient* client : clients_) {
    if (client->isHidden()) continue;
    const Rect& r = client->rect;
    if (r.x + r.width + s < width_)
      target.fillRectangle(r.x + r.width, r.y, r.x + r.width + s, r.y + r.height,
                           *brushes.WindowSeparator.get());
    if (r.y + r.height + s < height_)
      target.fillRectangle(r.x, r.y + r.height, r.x + r.width + s, r.y + r.height + s,
                           *brushes.WindowSeparator.get());
  }
  for (WindowClient* client : clients_) {
    if (client->isHidden()) continue;
    const Rect& r = client->rect;
    const bool inDrag =
        dragging && std::any_of(dragList_.begin(), dragList_.end(),
                                [client](const SeparatorEdge& e) { return e.client == client; });
    target.drawRectangle(r.x - 1, r.y - 1, r.x + r.width + 1, r.y + r.height + 1,
                         inDrag ? *brushes.BorderFocus.get() : *brushes.WindowBorder.get(), 1, nullptr);
  }
  service_.present();
}

void DockingLayout::drawEmptyBackground() {
  if (std::any_of(clients_.begin(), clients_.end(),
                  [](const WindowClient* c) { return !c->isHidden(); }))
    return;
  Media::RenderTarget& target = service_.renderTarget();
  Media::RenderTarget::DrawScope scope(target, 0, 0, service_.clientWidth(),
                                       service_.clientHeight(), true);
  StyleBrushList& brushes = service_.styleBrushes();
  const int32_t s = Metrics::separatorSize();
  target.fillRectangle(1, 0, width_ - s + 1, height_ - s, *brushes.Background.get());
  target.drawRectangle(0, -1, width_ - s + 2, height_ - s + 1, *brushes.WindowBorder.get(), 1, nullptr);
}

void DockingLayout::setArea(WindowClient& client, int area) {
  client.layout.area = std::clamp(area, 0, 4);
  service_.updateLayout();
}

void DockingLayout::moveToEnd(WindowClient& client, bool last) {
  const int area = client.layout.area;
  const std::vector<WindowClient*> members = getAreaClients(area);
  if (members.size() >= 2) {
    const Bounds box =
        getClientBounds([area](const WindowClient& c) { return c.layout.area == area; });
    float* c = client.layout.edges;
    const float w = c[2] - c[0], h = c[3] - c[1];
    // The windows on the way shift by the moved window's size into the place it leaves.
    for (WindowClient* other : members) {
      if (other == &client) continue;
      float* e = other->layout.edges;
      if (last ? e[2] > c[2] : e[0] < c[0]) e[0] += last ? -w : w, e[2] += last ? -w : w;
      if (last ? e[3] > c[3] : e[1] < c[1]) e[1] += last ? -h : h, e[3] += last ? -h : h;
    }
    c[0] = last ? box.right - w : box.left;
    c[1] = last ? box.bottom - h : box.top;
    c[2] = c[0] + w;
    c[3] = c[1] + h;
    normalizeLayout();
  }
  service_.updateLayout();
}

void DockingLayout::moveBy(WindowClient& client, int step) {
  const std::vector<WindowClient*> sorted = getSortedAreaClients(client.layout.area);
  const auto found = std::find(sorted.begin(), sorted.end(), &client);
  if (found != sorted.end()) {
    const auto index = (found - sorted.begin()) + step;
    if (index >= 0 && index < static_cast<std::ptrdiff_t>(sorted.size())) {
      exchangePlacement(client, *sorted[static_cast<std::size_t>(index)]);
      normalizeLayout();
    }
  }
  service_.updateLayout();
}

void DockingLayout::toggleVisible(WindowClient& client) {
  if (client.isHidden()) {
    dockClient(client);
    client.setVisible(true);
  } else {
    client.setVisible(false);
  }
  service_.updateLayout();
}

void DockingLayout::procMouseMove(int32_t x, int32_t y) {
  if (hitTestSeparator(x, y) && mouseService) mouseService->setCursor(sizeCursor());
}

void DockingLayout::procLButtonDown(int32_t x, int32_t y) {
  if (hitTestSeparator(x, y) && extendSeparatorChain()) {
    if (mouseService) mouseService->beginDrag(x, y, sizeCursor());
    drawSeparators();
  }
}

void DockingLayout::procMouseDrag(int32_t dx, int32_t dy) {
  if (!dragList_.empty()) dragSeparator(dx, dy);
}

void DockingLayout::procCaptureCancel() {
  if (dragList_.empty()) return;
  dragList_.clear();
  drawSeparators();
}

}  // namespace Window
