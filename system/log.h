#pragma once
// Log records: a level, a place (the reporting operation or a script's name) and a text,
// handed to one process-wide output. Until the logger service installs itself the output
// keeps the WARN and ERROR records of the start (the settings files are read before the
// logger exists) so that the logger can write them once it is there.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "system/format.h"

namespace System::Log {

struct Type {
  const char* name;
  int32_t level;
  uint32_t color;  // 0xRRGGBB, the colour of the line in the log window
};

inline constexpr Type VERBOSE{"VERBOSE", 1, 0xCCCCCC};
inline constexpr Type INFO{"INFO", 2, 0xFFFFFF};
inline constexpr Type WARN{"WARN", 3, 0xFFFF7F};
inline constexpr Type ERROR{"ERROR", 4, 0xFF7F7F};
inline constexpr Type SCRIPT{"SCRIPT", 2, 0x7FFF7F};

using Output = std::function<void(const Type&, std::string_view place, std::string_view text)>;

// A record kept from before the logger existed.
struct EarlyRecord {
  const Type* type;
  std::string place;
  std::string text;
};
inline constexpr std::size_t kMaxEarlyRecords = 256;

void verbose(const char* place, const char* format, ...) VELUMO_PRINTF(2, 3);
void info(const char* place, const char* format, ...) VELUMO_PRINTF(2, 3);
void warn(const char* place, const char* format, ...) VELUMO_PRINTF(2, 3);
void error(const char* place, const char* format, ...) VELUMO_PRINTF(2, 3);
void script(const char* scriptName, const char* format, ...) VELUMO_PRINTF(2, 3);

// Hands one already formatted record to the output.
void write(const Type& type, std::string_view place, std::string_view text);

// Replaces the output. Installing any output ends the keeping of early records.
void setOutput(Output output);
// The output of a process whose logger is gone: formats the line and drops it.
void discardOutput(const Type& type, std::string_view place, std::string_view text);
// Hands over (and forgets) the records kept before the first setOutput.
std::vector<EarlyRecord> takeEarlyRecords();

// "[%02d/%02d %02d:%02d:%02d] [%s] [%s] %s\n" in local time, cut at 1,023 bytes (a cut line
// loses its line break).
std::string formatLine(std::string_view levelName, std::string_view place, std::string_view text);

}  // namespace System::Log
