#pragma once
// The one failure type of the program and the factories that build its texts.
//
// Every factory writes one ERROR log line with the place "Exception" first, then builds a
// text laid out for a message box (a first line, "[Note]" with a detail, "[Place]" with the
// failing operation), at most 1,023 bytes. The caller throws the returned object:
//     throw System::makeException("Edit::Scene::load", "failed to load scene.");
// Catch sites catch `const std::exception&` and show or log `what()`.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "system/format.h"

namespace System {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& text) : std::runtime_error(text) {}
};

// Error codes. Failed calls carry a 32-bit HRESULT-style code; a POSIX errno is first
// turned into its Win32 number (ENOENT 2, EACCES 5, EEXIST 80, EINVAL 87, ENOSPC 112; other
// values are kept as they are, but for the few whose number a Win32 code of another meaning
// already has, such as EIO and EROFS, which become 10000 plus their number) and then into
// 0x8007xxxx.
inline constexpr int32_t kWin32ErrorWriteFault = 29;
inline constexpr int32_t kWin32ErrorReadFault = 30;
inline constexpr int32_t kWin32ErrorOutOfMemory = 14;
inline constexpr int32_t kWin32ErrorAlreadyExists = 183;
// The far end of a pipe went away, or what it sent cannot be a part of the exchange.
inline constexpr int32_t kWin32ErrorBrokenPipe = 109;

int32_t win32FromErrno(int error);
int32_t hresultFromWin32(int32_t code);
// The system's text for a code, without trailing white space; "unknown error" when none.
std::string systemMessage(int32_t hresult);

// What a crash inside foreign code (a plug-in, a codec) left behind.
struct StructuredExceptionReport {
  const void* address = nullptr;
  uint32_t code = 0;
  std::string module = "unknown";
};

// Fills the report for a fault at `address` with `code` (a signal number here): the module
// whose loaded range holds the address, or "unknown".
void getExceptionModule(const void* address, uint32_t code, StructuredExceptionReport& report);

Exception makeHresultException(std::string_view call, std::string_view place, int32_t hresult);
// Reads errno: call it right after the failed call, before anything else can change it.
Exception makeLastErrorException(std::string_view call, std::string_view place);
Exception makeErrnoException(std::string_view call, std::string_view place, int error);
Exception makeWin32ErrorException(std::string_view place, int32_t code);
Exception makeException(std::string_view place, std::string_view message,
                        std::optional<std::string_view> note = std::nullopt);
// The note is formatted from `format` and its arguments. Free text (a file name) is always
// passed through "%s", never used as the format itself.
Exception makeFormattedException(std::string_view place, std::string_view message,
                                 const char* format, ...) VELUMO_PRINTF(3, 4);
Exception makeStructuredException(std::string_view call, std::string_view place,
                                  const StructuredExceptionReport& report);

// The error of a base operation that a derived class must supply and does not.
inline Exception makeNotImplementedException(std::string_view place) {
  return makeException(place, "not implement.");
}

}  // namespace System
