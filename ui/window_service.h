#pragma once
// The manager window of the program and the UI thread's loop.
//
// Every tool window of the editor will be drawn inside this one top-level window. The
// service also lets other parts run callbacks on the UI thread when a file descriptor
// becomes readable (timers, the event commands that workers post), in place of the kernel
// handles a loop would wait on elsewhere.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/draw2d/render_target.h"
#include "system/config.h"
#include "system/service_holder.h"
#include "ui/style_bitmap_list.h"
#include "ui/style_brush_list.h"
#include "ui/window_mouse.h"

class QImage;
class QSocketNotifier;

namespace Window {

class DockingLayout;
class ManagerWindow;
class WindowClient;
class WindowFooter;
class WindowMenuManager;

class WindowService : public System::Service<WindowService> {
 public:
  static constexpr const char* kClassName = "velumo2Manager";
  static constexpr int kMinimumSize = 256;

  WindowService();
  ~WindowService();
  WindowService(const WindowService&) = delete;
  WindowService& operator=(const WindowService&) = delete;

  // Runs `callback` on the UI thread each time `descriptor` is readable. A descriptor that
  // is registered already keeps its first callback.
  void registerWaitHandle(int descriptor, std::function<void()> callback);
  void unregisterWaitHandle(int descriptor);
  bool hasWaitHandle(int descriptor) const { return waitHandles_.count(descriptor) != 0; }

  // Runs the loop until the manager window is closed. An exception thrown by a callback or
  // an event handler ends the loop and is thrown again from here.
  void processMessage();

  // Ends the loop as closing the window does (a quit signal, the user closing the window).
  void requestQuit();
  bool isQuitRequested() const { return closed_; }
  // Closes the window once control is back in the loop, as the user closing it does: the
  // close query may keep it (the menu's exit commands).
  void postCloseRequest();

  // While the menus are grey (an export runs) closing the window and Esc call `hook`
  // instead: the window neither closes nor takes input, and the menu bar is greyed so that
  // no menu command runs. An empty hook gives them back.
  void setMenuHook(std::function<void()> hook);
  bool menusEnabled() const { return !menuHook_; }

  // Asked when the user closes the window: false keeps the window and everything in it
  // (the edit data may not be discarded). A quit signal does not ask.
  void setCloseQuery(std::function<bool()> query) { closeQuery_ = std::move(query); }

  // Drawing: every element draws at once into the window's backing image through this one
  // render target; the window shows the image.
  Media::RenderTarget& renderTarget() { return renderTarget_; }
  // The style brushes every window and control draws with, made on first use.
  StyleBrushList& styleBrushes() { return styleBrushes_; }
  // The icons, made for the window's render target on first use.
  StyleBitmapList& bitmaps() { return bitmaps_; }
  WindowFooter& footer() { return *footer_; }
  DockingLayout& docking() { return *docking_; }
  // The backing image as the window shows it.
  const QImage& image() const;
  // Shows what was drawn (the window repaints from the backing image).
  void present();

  // The docked windows, in registration (docking) order.
  void addClient(WindowClient* client);
  void removeClient(WindowClient* client);
  const std::vector<WindowClient*>& clients() const;

  // The client area (the window below the menu bar) and the docking area (client size plus
  // one separator, less the footer and the left border) in pixels.
  int32_t clientWidth() const { return clientWidth_; }
  int32_t clientHeight() const { return clientHeight_; }
  int32_t dockingWidth() const;
  int32_t dockingHeight() const;

  // A new client size: lays out and redraws everything.
  void resize(int32_t width, int32_t height);
  // Redraws everything.
  void paint();
  // Lays the windows out again after a change of placement.
  void updateLayout();

  // The top-level window: its placement is the one saved, its title shows the progress.
  QWidget* window() const;
  // The window below the menu bar, which shows the backing image and takes the pointer:
  // client coordinates, drawing and the docking area start at its top-left corner.
  QWidget* clientArea() const;
  // The menu bar of the window with its five top menus.
  WindowMenuManager& menuManager() const { return *menu_; }
  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);

  // The restored placement of the window and whether it is maximised ("Window" section).
  int32_t x = 0;
  int32_t y = 0;
  int32_t w = 1280;
  int32_t h = 720;
  int32_t zoom = 0;

 private:
  friend class ManagerWindow;
  void storePlacement();

  struct WaitHandle {
    std::shared_ptr<std::function<void()>> callback;
    std::unique_ptr<QSocketNotifier> notifier;
  };

  void drawFrame();

  // The 2-D service and the input dispatcher live at least as long as the window.
  System::ServiceHolder<Media::Direct2DService> direct2d_;
  System::ServiceHolder<WindowMouseService> mouseServiceHolder_;
  std::function<void()> menuHook_;
  std::function<bool()> closeQuery_;
  System::Config::Section config_{"Window"};
  System::Config::Int xParameter_{config_, "x", &x, 0};
  System::Config::Int yParameter_{config_, "y", &y, 0};
  System::Config::Int wParameter_{config_, "w", &w, 1280};
  System::Config::Int hParameter_{config_, "h", &h, 720};
  System::Config::Int zoomParameter_{config_, "zoom", &zoom, 0};
  System::Config::Binding binding_;

  std::string title_ = "Velumo Kivrun2";
  std::unordered_map<int, WaitHandle> waitHandles_;
  struct Backing;
  std::unique_ptr<Backing> backing_;
  Media::RenderTarget renderTarget_;
  StyleBrushList styleBrushes_;
  StyleBitmapList bitmaps_;
  int32_t clientWidth_ = 0;
  int32_t clientHeight_ = 0;
  std::unique_ptr<DockingLayout> docking_;
  std::unique_ptr<WindowFooter> footer_;
  std::unique_ptr<ManagerWindow> window_;
  std::unique_ptr<WindowMenuManager> menu_;
  bool closed_ = false;
};

}  // namespace Window
