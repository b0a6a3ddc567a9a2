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

#include "system/config.h"
#include "system/service_holder.h"

class QSocketNotifier;

namespace Window {

class ManagerWindow;
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

  // While the menus are grey (an export runs) closing the window and Esc call `hook`
  // instead: the window neither closes nor takes input. An empty hook gives them back.
  void setMenuHook(std::function<void()> hook) { menuHook_ = std::move(hook); }
  bool menusEnabled() const { return !menuHook_; }

  QWidget* window() const;
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

  std::function<void()> menuHook_;
  System::Config::Section config_{"Window"};
  System::Config::Int xParameter_{config_, "x", &x, 0};
  System::Config::Int yParameter_{config_, "y", &y, 0};
  System::Config::Int wParameter_{config_, "w", &w, 1280};
  System::Config::Int hParameter_{config_, "h", &h, 720};
  System::Config::Int zoomParameter_{config_, "zoom", &zoom, 0};
  System::Config::Binding binding_;

  std::string title_ = "Velumo Kivrun2";
  std::unordered_map<int, WaitHandle> waitHandles_;
  std::unique_ptr<ManagerWindow> window_;
  std::unique_ptr<WindowMenuManager> menu_;
  bool closed_ = false;
};

}  // namespace Window
