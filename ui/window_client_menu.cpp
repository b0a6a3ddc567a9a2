// The context menu of a docked window and the window menu every such menu ends with.
#include <QAction>
#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "ui/docking_layout.h"
#include "ui/menu_base.h"
#include "ui/menu_popup.h"
#include "ui/window_client.h"
#include "ui/window_service.h"

namespace Window {
namespace {

// The captions of the areas, in area number order.
constexpr std::array<const char*, 5> kAreaCaptions{"左側エリア", "右側エリア", "上側エリア",
                                                   "下側エリア", "中央エリア"};

using DockingAction = void (*)(DockingLayout&, WindowClient&);

// An item's command that acts on the window through the docking layout. It runs after the
// menu has closed and a window may outlive the window service, so it looks the service up
// when it runs.
std::function<void()> onDocking(WindowClient& window,
                                std::function<void(DockingLayout&, WindowClient&)> action) {
  return [&window, action = std::move(action)] {
    if (window.service) action(window.service->docking(), window);
  };
}

// The move items in menu order; the first two need a window before this one, the last two
// one after it.
struct MoveItem {
  const char* text;
  DockingAction action;
  bool towardFirst;
};
constexpr std::array<MoveItem, 4> kMoveItems{{
    {"先頭に移動", [](DockingLayout& d, WindowClient& c) { d.moveFirst(c); }, true},
    {"上に移動", [](DockingLayout& d, WindowClient& c) { d.moveUp(c); }, true},
    {"下に移動", [](DockingLayout& d, WindowClient& c) { d.moveDown(c); }, false},
    {"最後に移動", [](DockingLayout& d, WindowClient& c) { d.moveLast(c); }, false},
}};

}  // namespace

void WindowClient::procContextMenu(int32_t, int32_t) {
  // The menu opens at the mouse cursor, wherever the event placed it.
  PopupMenu menu;
  createPopupMenu(menu);
  menu.show();
}

void WindowClient::createPopupMenu(BaseMenu& menu) {
  {
    BaseMenu placement(menu, "ウィンドウ配置");
    for (int area = kLeft; area <= kCentre; ++area) {
      MenuItem item = placement.insertItem(
          kAreaCaptions[static_cast<std::size_t>(area)],
          onDocking(*this, [area](DockingLayout& d, WindowClient& c) { d.setArea(c, area); }));
      item.setRadioCheck();
      if (QAction* action = item.action()) action->setChecked(layout.area == area);
    }
  }
  menu.insertSeparator();

  // Only a shown window has a place among the windows of its area to move from.
  if (service) {
    const std::vector<WindowClient*> order = service->docking().getSortedAreaClients(layout.area);
    const auto found = std::find(order.begin(), order.end(), this);
    if (found != order.end()) {
      // A window alone in its area is both first and last: every move is grey.
      const bool first = found == order.begin();
      const bool last = found + 1 == order.end();
      BaseMenu moves(menu, "ウィンドウの移動");
      for (const MoveItem& move : kMoveItems) {
        const MenuItem item = moves.insertItem(move.text, onDocking(*this, move.action));
        if (QAction* action = item.action()) action->setEnabled(move.towardFirst ? !first : !last);
      }
    }
  }
  menu.insertSeparator();

  // Closes a shown window; a hidden one is docked into its area and shown.
  menu.insertItem("ウィンドウを閉じる",
                  onDocking(*this, [](DockingLayout& d, WindowClient& c) { d.toggleVisible(c); }));
}

}  // namespace Window
