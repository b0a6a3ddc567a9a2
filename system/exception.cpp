#include "system/exception.h"

#include <link.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "system/log.h"

namespace System {
namespace {

constexpr const char* kPlace = "Exception";

// Win32 numbers of the errno values that have a common Win32 twin, and back. Every other
// errno keeps its own number, except those whose number is already taken by a Win32 code
// of another meaning (EIO is 5, the number of "access denied"; EROFS is 30, the read
// fault): they move to 10000 plus their number, above every errno, so that each code reads
// back as the one error it came from.
struct ErrnoWin32 {
  int error;
  int32_t win32;
};
constexpr int32_t kMovedErrnoBase = 10000;
constexpr ErrnoWin32 kErrnoTable[] = {
    {ENOENT, 2},
    {EACCES, 5},
    {EEXIST, 80},
    {EINVAL, 87},
    {ENOSPC, 112},
    {EIO, kMovedErrnoBase + EIO},
    {EFAULT, kMovedErrnoBase + EFAULT},
    {ESPIPE, kMovedErrnoBase + ESPIPE},
    {EROFS, kMovedErrnoBase + EROFS},
    {ELIBBAD, kMovedErrnoBase + ELIBBAD},
    {EUSERS, kMovedErrnoBase + EUSERS},
    {EHOSTDOWN, kMovedErrnoBase + EHOSTDOWN},
    {ETOOMANYREFS, kMovedErrnoBase + ETOOMANYREFS},
};

// Win32 codes that the program uses on its own, with no errno behind them.
struct CodeText {
  int32_t code;
  const char* text;
};
constexpr CodeText kWin32Texts[] = {
    {kWin32ErrorOutOfMemory, "Not enough memory resources are available to complete this operation."},
    {kWin32ErrorWriteFault, "The system cannot write to the specified device."},
    {kWin32ErrorReadFault, "The system cannot read from the specified device."},
    {kWin32ErrorAlreadyExists, "Cannot create a file when that file already exists."},
    {kWin32ErrorBrokenPipe, "The pipe has been ended."},
};
constexpr CodeText kHresultTexts[] = {
    {static_cast<int32_t>(0x80004001), "Not implemented"},
    {static_cast<int32_t>(0x80004005), "Unspecified error"},
    {static_cast<int32_t>(0x80070057), "The parameter is incorrect."},
};

std::string errnoText(int error) {
  char buffer[256];
  // GNU strerror_r returns a pointer that may or may not be the buffer.
  const char* text = strerror_r(error, buffer, sizeof buffer);
  return text ? std::string(text) : std::string("unknown error");
}

std::string trimTrailing(std::string text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                           text.back() == '\n'))
    text.pop_back();
  return text;
}

std::string str(std::string_view view) { return std::string(view); }

}  // namespace

int32_t win32FromErrno(int error) {
  for (const auto& entry : kErrnoTable)
    if (entry.error == error) return entry.win32;
  return error;
}

int32_t hresultFromWin32(int32_t code) {
  if (code <= 0) return code;
  return static_cast<int32_t>(0x80070000u | (static_cast<uint32_t>(code) & 0xFFFFu));
}

std::string systemMessage(int32_t hresult) {
  for (const auto& entry : kHresultTexts)
    if (entry.code == hresult) return entry.text;
  int32_t code = hresult;
  if ((static_cast<uint32_t>(hresult) & 0xFFFF0000u) == 0x80070000u) code = hresult & 0xFFFF;
  else if (hresult < 0) return "unknown error";
  if (code == 0) return "The operation completed successfully.";
  for (const auto& entry : kWin32Texts)
    if (entry.code == code) return entry.text;
  for (const auto& entry : kErrnoTable)
    if (entry.win32 == code) return trimTrailing(errnoText(entry.error));
  if (code < 4096) {
    std::string text = trimTrailing(errnoText(code));
    if (text.rfind("Unknown error", 0) != 0) return text;
  }
  return "unknown error";
}

namespace {
struct ModuleSearch {
  uintptr_t address;
  std::string* name;
};

int findModule(dl_phdr_info* info, size_t, void* data) {
  auto* search = static_cast<ModuleSearch*>(data);
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const auto& header = info->dlpi_phdr[i];
    if (header.p_type != PT_LOAD) continue;
    const uintptr_t start = info->dlpi_addr + header.p_vaddr;
    if (search->address >= start && search->address < start + header.p_memsz) {
      std::string path = info->dlpi_name ? info->dlpi_name : "";
      if (path.empty()) {
        // The main program reports an empty name; read its own path instead.
        char self[4096];
        const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        path = length > 0 ? std::string(self, static_cast<size_t>(length)) : "unknown";
      }
      const auto slash = path.find_last_of('/');
      *search->name = (slash == std::string::npos ? path : path.substr(slash + 1)).substr(0, 255);
      return 1;
    }
  }
  return 0;
}
}  // namespace

void getExceptionModule(const void* address, uint32_t code, StructuredExceptionReport& report) {
  report.address = address;
  report.code = code;
  report.module = "unknown";
  ModuleSearch search{reinterpret_cast<uintptr_t>(address), &report.module};
  dl_iterate_phdr(findModule, &search);
}

Exception makeHresultException(std::string_view call, std::string_view place, int32_t hresult) {
  const std::string message = systemMessage(hresult);
  Log::error(kPlace, "%s() failed in %s() [%s] (HRESULT: 0x%08X)", str(call).c_str(),
             str(place).c_str(), message.c_str(), static_cast<uint32_t>(hresult));
  return Exception(formatString("%s() failed.\n\n[Note]\nHRESULT: 0x%08X\n%s\n\n[Place]\n%s()",
                                str(call).c_str(), static_cast<uint32_t>(hresult),
                                message.c_str(), str(place).c_str()));
}

Exception makeErrnoException(std::string_view call, std::string_view place, int error) {
  return makeHresultException(call, place, hresultFromWin32(win32FromErrno(error)));
}

Exception makeLastErrorException(std::string_view call, std::string_view place) {
  return makeErrnoException(call, place, errno);
}

Exception makeWin32ErrorException(std::string_view place, int32_t code) {
  const std::string message = systemMessage(hresultFromWin32(code));
  Log::error(kPlace, "%s in %s()", message.c_str(), str(place).c_str());
  return Exception(formatString("%s\n\n[Place]\n%s()", message.c_str(), str(place).c_str()));
}

Exception makeException(std::string_view place, std::string_view message,
                        std::optional<std::string_view> note) {
  if (note) {
    Log::error(kPlace, "%s in %s() [%s]", str(message).c_str(), str(place).c_str(),
               str(*note).c_str());
    return Exception(formatString("%s\n\n[Note]\n%s\n\n[Place]\n%s()", str(message).c_str(),
                                  str(*note).c_str(), str(place).c_str()));
  }
  Log::error(kPlace, "%s in %s()", str(message).c_str(), str(place).c_str());
  return Exception(formatString("%s\n\n[Place]\n%s()", str(message).c_str(), str(place).c_str()));
}

Exception makeFormattedException(std::string_view place, std::string_view message,
                                 const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const std::string note = formatStringV(format, args);
  va_end(args);
  return makeException(place, message, std::string_view(note));
}

Exception makeStructuredException(std::string_view call, std::string_view place,
                                  const StructuredExceptionReport& report) {
  // Pointers print as 16 upper-case hexadecimal digits after a literal 0x.
  const unsigned long long address = reinterpret_cast<uintptr_t>(report.address);
  Log::error(kPlace,
             "%s() structured exception in %s() [Code: 0x%08X Address: 0x%016llX Module: %s]",
             str(call).c_str(), str(place).c_str(), report.code, address, report.module.c_str());
  return Exception(formatString(
      "%s() structured exception\n\n[Note]\nCode: 0x%08X\nAddress 0x%016llX\nModule: %s\n\n"
      "[Place]\n%s()",
      str(call).c_str(), report.code, address, report.module.c_str(), str(place).c_str()));
}

}  // namespace System
