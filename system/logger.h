#pragma once
// The logger service: formats every log record into one line and sends it to up to three
// sinks, each with its own minimum level (0 turns a sink off): standard error (the
// debugger output), the in-memory view lines of the log window, and a time-stamped log file
// in %Log%.
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>

#include "system/config.h"
#include "system/file.h"
#include "system/log.h"
#include "system/service_holder.h"

namespace System {

class Logger : public Service<Logger> {
 public:
  struct ViewLine {
    const Log::Type* type;
    std::string text;  // one piece of a formatted line, without line break
  };

  // Installs itself as the log output and writes the records kept from before it existed.
  Logger();
  // Installs the discarding output first, then closes the file and saves its section.
  ~Logger();
  Logger(const Logger&) = delete;
  Logger& operator=(const Logger&) = delete;

  void write(const Log::Type& type, std::string_view place, std::string_view text);

  // The log window reads the view lines (newest first) and the change counter under the
  // logger's lock.
  template <class Reader>
  void readView(Reader&& reader) const {
    std::lock_guard lock(mutex_);
    reader(viewLines_, changeCounter_);
  }

  // The parameters of the [Logger] section; the log settings dialog changes them directly.
  int32_t maxViewLine = 200;
  int32_t maxFileNum = 5;
  int32_t viewLogLevel = 2;
  int32_t fileLogLevel = 4;
  int32_t debuggerLogLevel = 0;

 private:
  void addViewLines(const Log::Type& type, std::string_view line);
  void writeFile(std::string_view line);
  void deleteOldFiles();

  Config::Section config_{"Logger"};
  Config::Int maxViewLineParameter_{config_, "MaxViewLine", &maxViewLine, 200};
  Config::Int maxFileNumParameter_{config_, "MaxFileNum", &maxFileNum, 5};
  Config::Int viewLogLevelParameter_{config_, "ViewLogLevel", &viewLogLevel, 2};
  Config::Int fileLogLevelParameter_{config_, "FileLogLevel", &fileLogLevel, 4};
  Config::Int debuggerLogLevelParameter_{config_, "DebuggerLogLevel", &debuggerLogLevel, 0};
  Config::Binding binding_;

  mutable std::mutex mutex_;
  std::deque<ViewLine> viewLines_;
  int32_t changeCounter_ = 1;
  File file_;
  bool oldFilesDeleted_ = false;
};

}  // namespace System
