#pragma once
// The drawn list of log lines inside the log window: the newest line at the bottom edge,
// older lines stacked upward, each in its level's colour.
//
// The lines live in the logger's view store; the control copies only the lines it shows,
// under the logger's lock, each time it paints. While it is shown it polls the store's
// running count every 200 ms on the UI thread and, when lines were added, scrolls to the
// newest line.
#include <cstdint>
#include <string>
#include <vector>

#include "gpu/text/text_format.h"
#include "system/log.h"
#include "system/sync_timer.h"
#include "ui/window_control.h"

namespace Component {

class LogComponent;

class LogViewControl : public Window::WindowControlRenderTarget {
 public:
  static constexpr uint32_t kPollInterval = 200;  // ms

  struct Line {
    const System::Log::Type* type;
    std::string text;
  };

  LogViewControl(Window::WindowControlContainer& container, LogComponent& owner, int32_t x,
                 int32_t y, int32_t w, int32_t h);
  // Stops the polling and leaves the loop's watch list.
  ~LogViewControl() override;

  // Recomputes how many lines fit and starts or stops the polling: it runs only while the
  // window is shown and the control has a size.
  void procMove() override;
  void procPaint() override;

  // Copies the lines of the view (first line .. first line + visible - 1, counted from the
  // oldest kept line) from the logger's store.
  void collectLines();
  // One poll: when lines were added since the last one, scrolls to the newest line.
  void onTimer();

  Resource::TextFormatResource* format;
  LogComponent& owner;
  int32_t firstLine = 0;     // the scroll position, in lines from the oldest kept line
  int32_t visibleLines = 1;  // the lines that fit, one partly shown line included
  int32_t totalLines = 0;    // the store's line count when last read
  int32_t lineHeight = 1;
  int32_t lastSeenCount = 0;  // the store's running count at the last refresh
  bool timerRunning = false;
  std::vector<Line> lines;  // newest first
  Sync::Timer timer;

 private:
  void startTimer();
  void stopTimer();
};

}  // namespace Component
