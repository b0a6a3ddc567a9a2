#pragma once
// The log window: a docked tool window with the newest lines of the program's log, a scroll
// bar, wheel and right-button drag scrolling, and a context menu that copies the whole kept
// log to the clipboard.
#include <cstdint>
#include <string>
#include <string_view>

#include "main_window/log/log_view_control.h"
#include "ui/controls/scroll_bar_control.h"
#include "ui/controls/text_control.h"
#include "ui/window_client.h"
#include "ui/window_control.h"

namespace Component {

class LogComponent : public Window::WindowClientRenderTarget {
 public:
  static constexpr int32_t kContainerPriority = 200;
  static constexpr int32_t kWheelLines = 3;
  static constexpr const char* kSectionName = "Window.log";

  // Docked in the centre area along the bottom, hidden until the user shows it.
  LogComponent();

  void procContextMenu(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procPaint() override;
  void procMove() override;

  // The log's own items ("ログをコピー"), a separator, then the window menu.
  void createLogMenu(Window::BaseMenu& menu);

  // Keeps the scroll position inside the log (a log shorter than the view sits at its
  // bottom) and gives the scroll bar the log's range and the view.
  void updateScrollBar();
  // The generated names of lambdas in a log place, shortened to "<lambda>" for display; the
  // log file keeps the full names.
  static std::string shortenLambdaNames(std::string_view line);
  // Every kept line, oldest first, each followed by "\r\n".
  static std::string logText();
  // Puts logText() on the clipboard.
  void copyLog();

  Window::WindowControlContainer container;
  Control::TitleHeaderControl header;
  Control::ScrollBarControl scrollBar;
  LogViewControl view;
  int32_t dragStartPosition = 0;  // the scroll position when the right-button drag began
};

}  // namespace Component
