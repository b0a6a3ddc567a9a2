#pragma once
// Keeps every log record written while it lives, then puts the discarding output back.
#include <mutex>
#include <string>
#include <vector>

#include "system/log.h"

namespace TestSupport {

class LogCapture {
 public:
  struct Record {
    std::string level;
    std::string place;
    std::string text;
  };

  LogCapture() {
    System::Log::setOutput(
        [this](const System::Log::Type& type, std::string_view place, std::string_view text) {
          std::lock_guard lock(mutex_);
          records_.push_back({type.name, std::string(place), std::string(text)});
        });
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture() { System::Log::setOutput(System::Log::discardOutput); }

  std::vector<Record> records() const {
    std::lock_guard lock(mutex_);
    return records_;
  }
  // The texts of the records of one level ("WARN").
  std::vector<std::string> texts(const std::string& level) const {
    std::vector<std::string> found;
    for (const Record& record : records())
      if (record.level == level) found.push_back(record.text);
    return found;
  }
  void clear() {
    std::lock_guard lock(mutex_);
    records_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Record> records_;
};

}  // namespace TestSupport
