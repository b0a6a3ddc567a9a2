#pragma once
// Docked tool windows: each is a rectangle of the manager window placed by fractions of the
// docking area in one of five areas, kept in its own velumo2.ini section.
#include <cstdint>
#include <string>

#include "system/config.h"
#include "ui/window_drawing.h"
#include "ui/window_mouse.h"

namespace Window {

class BaseMenu;
class WindowService;

class WindowClient : public WindowMouse {
 public:
  static constexpr int32_t kPriority = 100;
  // Where a hidden window is parked, outside every window.
  static constexpr int32_t kParked = 0x10000;

  enum Area : int32_t { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3, kCentre = 4 };

  // The placement a window has when velumo2.ini holds none.
  struct Placement {
    float left = 0.0f;
    float top = 0.0f;
    float right = 1.0f;
    float bottom = 1.0f;
    int32_t area = kLeft;
    bool visible = true;
  };

  // The placement as fractions of the docking area, indexed 0 left, 1 top, 2 right,
  // 3 bottom by the docking algorithms.
  class LayoutConfig {
   public:
    LayoutConfig(const std::string& sectionName, const Placement& defaults);
    float& edge(int index) { return edges[index]; }
    // The velumo2.ini section the placement is kept in ("Window.edit", ...).
    const std::string& sectionName() const { return section_.name(); }
    float edge(int index) const { return edges[index]; }

    float edges[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    int32_t area = 0;
    int32_t hide = 0;

   private:
    System::Config::Section section_;
    System::Config::Float left_, top_, right_, bottom_;
    System::Config::Int area_, hide_;
    System::Config::Binding binding_;  // last: saves the section when the window goes
  };

  // Registers the input target and the window with the window service and loads the
  // placement (missing keys take the defaults).
  WindowClient(std::string title, const std::string& sectionName, const Placement& defaults);
  ~WindowClient() override;

  // A right click: the window's context menu at the mouse cursor, filled by
  // createPopupMenu; the chosen item runs once the menu has closed.
  void procContextMenu(int32_t x, int32_t y) override;

  virtual void procPaint() = 0;
  virtual void procMove() {}
  // Fills the context menu. A window adds its own items first and then calls this, which
  // appends the window menu: the area of the window, its place among the windows of its
  // area, and closing it.
  virtual void createPopupMenu(BaseMenu& menu);
  // Shows or hides the window without relaying out the others (callers dock it first).
  virtual void setVisible(bool visible);

  // Recomputes the pixel rectangle from the placement; when it changed or `force` is set the
  // window is told it moved and, when visible, paints itself.
  void updateRect(bool force);
  bool isHidden() const { return layout.hide != 0; }

  WindowService* service;
  Rect rect;
  std::string title;
  LayoutConfig layout;
};

// A docked window that draws on the manager window's render target.
class WindowClientRenderTarget : public WindowClient {
 public:
  WindowClientRenderTarget(std::string title, const std::string& sectionName,
                           const Placement& defaults)
      : WindowClient(std::move(title), sectionName, defaults), drawing(currentWindowDrawing()) {}

  WindowDrawing drawing;
};

}  // namespace Window
