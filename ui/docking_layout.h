#pragma once
// The docking of the tool windows: five areas (left and right columns, top and bottom rows
// in the middle column, the centre) that share the docking area by the windows' fractions,
// and the separators between the windows, which the user drags.
//
// It is also the frame's own input target (priority 0, the whole client area): the presses
// that fall on the gaps between windows are separator presses.
#include <cstdint>
#include <functional>
#include <vector>

#include "ui/window_client.h"
#include "ui/window_mouse.h"

namespace Window {

class WindowService;

class DockingLayout : public WindowMouse {
 public:
  // A box of fractions, as left, top, right, bottom.
  struct Bounds {
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    float width() const { return right - left; }
    float height() const { return bottom - top; }
  };
  // A window whose edge lies on the separator being hovered or dragged.
  struct SeparatorEdge {
    WindowClient* client;
    int edge;      // the edge on the separator (0 left, 1 top, 2 right, 3 bottom)
    int opposite;  // its opposite edge
  };

  static constexpr float kEpsilon = 0.0001f;   // fractions closer than this are equal
  static constexpr float kMinExtent = 0.001f;  // the least extent of a window in fractions
  static constexpr int32_t kMinDragSize = 24;  // pixels a separator drag leaves every window

  explicit DockingLayout(WindowService& service);

  // The windows in registration order: the docking order.
  std::vector<WindowClient*>& clients() { return clients_; }
  // The docking area in pixels.
  void setSize(int32_t width, int32_t height);
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  // The whole client area, the input rectangle of the frame.
  void setClientArea(int32_t width, int32_t height) { area_ = {0, 0, width, height}; }

  // Clamps every window's fractions and lays out the five areas in order.
  void normalizeLayout();
  void layoutArea(int area, Bounds& free);
  std::vector<WindowClient*> getAreaClients(int area) const;
  std::vector<WindowClient*> getSortedAreaClients(int area) const;
  Bounds getClientBounds(const std::function<bool(const WindowClient&)>& predicate) const;
  // Makes room in its area for a hidden window about to be shown.
  void dockClient(WindowClient& client);

  bool hitTestSeparator(int32_t x, int32_t y);
  bool extendSeparatorChain();
  void dragSeparator(int32_t dx, int32_t dy);
  void swapSeparatorClients(bool movingBack);
  void drawSeparators();
  void drawEmptyBackground();

  // The window menu's placement actions; each relays out the window.
  void setArea(WindowClient& client, int area);
  void moveFirst(WindowClient& client) { moveToEnd(client, false); }
  void moveLast(WindowClient& client) { moveToEnd(client, true); }
  void moveUp(WindowClient& client) { moveBy(client, -1); }
  void moveDown(WindowClient& client) { moveBy(client, 1); }
  void toggleVisible(WindowClient& client);

  const std::vector<SeparatorEdge>& separatorList() const { return dragList_; }
  // True for a separator between rows (a shared y edge, dragged vertically).
  bool isHorizontalSeparator() const { return horizontal_; }

  void procMouseMove(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procCaptureCancel() override;

 private:
  MouseCursor sizeCursor() const;
  void moveToEnd(WindowClient& client, bool last);
  // Exchanges the placement with the window `step` places away in the area's order.
  void moveBy(WindowClient& client, int step);
  // Relays out every window and redraws the frame inside one draw level.
  void relayout();
  void exchangePlacement(WindowClient& a, WindowClient& b);

  WindowService& service_;
  Rect area_;
  std::vector<WindowClient*> clients_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::vector<SeparatorEdge> dragList_;
  bool horizontal_ = false;
  float pressEdge_ = 0.0f;
};

}  // namespace Window
