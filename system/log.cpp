#include "system/log.h"

#include <ctime>
#include <deque>
#include <mutex>
#include <shared_mutex>

namespace System::Log {
namespace {

struct OutputState {
  std::shared_mutex mutex;
  Output output;  // empty: keep early records
  std::mutex earlyMutex;
  std::deque<EarlyRecord> early;
  bool keepingEarly = true;
};

OutputState& state() {
  static OutputState instance;
  return instance;
}

void keepEarlyRecord(const Type& type, std::string_view place, std::string_view text) {
  auto& s = state();
  std::lock_guard lock(s.earlyMutex);
  if (!s.keepingEarly || type.level < WARN.level) return;
  if (s.early.size() >= kMaxEarlyRecords) s.early.pop_front();
  s.early.push_back({&type, std::string(place), std::string(text)});
}

void writeV(const Type& type, const char* place, const char* format, std::va_list args) {
  const std::string text = formatStringV(format, args);
  write(type, place, text);
}

}  // namespace

void write(const Type& type, std::string_view place, std::string_view text) {
  auto& s = state();
  // A record made while this thread is inside the output (a failure in the writing itself)
  // already runs under the shared lock; taking it again could wait on a pending setOutput.
  thread_local bool insideOutput = false;
  std::shared_lock<std::shared_mutex> lock;
  if (!insideOutput) lock = std::shared_lock(s.mutex);
  if (!s.output) {
    keepEarlyRecord(type, place, text);
    return;
  }
  const bool outer = insideOutput;
  insideOutput = true;
  try {
    s.output(type, place, text);
  } catch (...) {
    // The log never throws to its caller.
  }
  insideOutput = outer;
}

void setOutput(Output output) {
  auto& s = state();
  {
    std::lock_guard lock(s.earlyMutex);
    s.keepingEarly = false;
  }
  std::unique_lock lock(s.mutex);
  s.output = output ? std::move(output) : Output(discardOutput);
}

void discardOutput(const Type& type, std::string_view place, std::string_view text) {
  (void)formatLine(type.name, place, text);
}

std::vector<EarlyRecord> takeEarlyRecords() {
  auto& s = state();
  std::lock_guard lock(s.earlyMutex);
  std::vector<EarlyRecord> records(s.early.begin(), s.early.end());
  s.early.clear();
  return records;
}

std::string formatLine(std::string_view levelName, std::string_view place, std::string_view text) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return formatString("[%02d/%02d %02d:%02d:%02d] [%.*s] [%.*s] %.*s\n", local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                      static_cast<int>(levelName.size()), levelName.data(),
                      static_cast<int>(place.size()), place.data(), static_cast<int>(text.size()),
                      text.data());
}

#define VELUMO_LOG_WRITER(function, type)                      \
  void function(const char* place, const char* format, ...) { \
    std::va_list args;                                         \
    va_start(args, format);                                    \
    writeV(type, place, format, args);                         \
    va_end(args);                                              \
  }
VELUMO_LOG_WRITER(verbose, VERBOSE)
VELUMO_LOG_WRITER(info, INFO)
VELUMO_LOG_WRITER(warn, WARN)
VELUMO_LOG_WRITER(error, ERROR)
VELUMO_LOG_WRITER(script, SCRIPT)
#undef VELUMO_LOG_WRITER

}  // namespace System::Log
