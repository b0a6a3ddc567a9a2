#include <pwd.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>

#include "system/exception.h"
#include "system/file.h"
#include "system/format.h"
#include "system/text.h"

namespace System::FileName {
namespace {

constexpr const char* kInitializePlace = "System::FileName::initializeVariableList";
constexpr std::size_t kMaxTimeStampNameLength = 519;

// The sub-directories of %AppData%, in the order they are created and entered.
constexpr std::array<const char*, 9> kDataFolders = {
    "Plugin", "Script", "Default", "Alias", "Figure", "Transition", "Language", "Backup", "Log",
};

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::size_t findLastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

std::string_view lastComponent(std::string_view path) {
  const auto separator = findLastSeparator(path);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

void lowerAscii(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && isSeparator(path.back())) path.pop_back();
  return path;
}

// The variable table. Filled once, at the first expansion that needs it, and then only
// read. The lock is recursive because a failure during the build writes an ERROR record,
// and the log's output may itself expand a path (%Log%) on the same thread.
struct VariableTable {
  std::recursive_mutex mutex;
  std::map<std::string, std::string, std::less<>> values;
  std::string appInstallOverride;
};

VariableTable& table() {
  static VariableTable instance;
  return instance;
}

bool isDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The directory of the running program.
std::string programDirectory() {
  std::string buffer(4096, '\0');
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length < 0) throw makeLastErrorException("readlink", kInitializePlace);
  if (static_cast<std::size_t>(length) >= buffer.size())
    throw makeErrnoException("readlink", kInitializePlace, ENAMETOOLONG);
  buffer.resize(static_cast<std::size_t>(length));
  const auto separator = buffer.find_last_of('/');
  if (separator == std::string::npos)
    throw makeErrnoException("parent_path", kInitializePlace, EINVAL);
  buffer.resize(separator);
  return buffer;
}

// The per-user data folder: $XDG_DATA_HOME, else ~/.local/share.
std::string systemDataDirectory() {
  constexpr const char* place = "System::File::getSystemDirectory";
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
    return withoutTrailingSeparators(xdg);
  std::string home;
  if (const char* value = std::getenv("HOME"); value && value[0] != '\0') {
    home = value;
  } else {
    passwd entry{};
    passwd* result = nullptr;
    std::string buffer(16384, '\0');
    const int error = ::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result);
    if (!result || !entry.pw_dir || entry.pw_dir[0] == '\0')
      throw makeErrnoException("getpwuid_r", place, error != 0 ? error : ENOENT);
    home = entry.pw_dir;
  }
  return withoutTrailingSeparators(home) + "/.local/share";
}

// Enters the variables one by one, so that a build that fails part-way keeps what it had
// entered (and, the table being no longer empty, is not started again).
void buildVariableList(VariableTable& state) {
  const std::string appInstall = state.appInstallOverride.empty()
                                     ? programDirectory()
                                     : withoutTrailingSeparators(state.appInstallOverride);
  state.values["%AppInstall%"] = appInstall;

  std::string appData = appInstall + "/data";
  if (!isDirectory(appData)) appData = systemDataDirectory() + "/velumo2";
  File::createDirectory(appData);
  state.values["%AppData%"] = appData;

  for (const char* folder : kDataFolders) {
    const std::string path = appData + "/" + folder;
    File::createDirectory(path);
    state.values[std::string("%") + folder + "%"] = path;
  }
}

// Looks a variable up, building the table first when it is still empty.
std::optional<std::string> findVariable(std::string_view name) {
  auto& state = table();
  std::lock_guard lock(state.mutex);
  if (state.values.empty()) buildVariableList(state);
  const auto found = state.values.find(name);
  if (found == state.values.end()) return std::nullopt;
  return found->second;
}

}  // namespace

std::string expandVariable(std::string_view text) {
  std::string path(text);
  if (path.find('%') == std::string::npos) return path;
  // A variable is "%", one or more characters other than "%", then "%", at the very start.
  if (path.size() < 3 || path[0] != '%') return path;
  const auto close = path.find('%', 1);
  if (close == std::string::npos || close == 1) return path;
  const std::string token = path.substr(0, close + 1);
  const auto value = findVariable(token);
  if (!value) return path;
  replaceAll(path, token, *value);
  // Paths stored by older versions use "\"; the expanded path is written with "/".
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string getDirectory(std::string_view path) {
  const auto separator = findLastSeparator(path);
  if (separator == std::string_view::npos) return {};
  return std::string(path.substr(0, separator));
}

std::string getTitle(std::string_view path) {
  const std::string_view name = lastComponent(path);
  const auto dot = name.find_last_of('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

std::string getExtension(std::string_view path) {
  const std::string_view name = lastComponent(path);
  const auto dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return {};
  std::string extension(name.substr(dot + 1));
  lowerAscii(extension);
  return extension;
}

std::string makeTimeStampName(std::string_view directory, std::string_view prefix,
                              std::string_view extension, const std::tm& localTime,
                              int millisecond) {
  std::string name = formatString("%s_%02d-%02d-%02d_%02d-%02d-%02d-%03d",
                                  std::string(prefix).c_str(), localTime.tm_year + 1900,
                                  localTime.tm_mon + 1, localTime.tm_mday, localTime.tm_hour,
                                  localTime.tm_min, localTime.tm_sec, millisecond);
  truncateUtf8(name, kMaxTimeStampNameLength);
  std::string path(directory);
  path += name;
  path += '.';
  path += extension;
  return expandVariable(path);
}

std::string makeTimeStampName(std::string_view directory, std::string_view prefix,
                              std::string_view extension) {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millisecond = std::chrono::duration_cast<std::chrono::milliseconds>(
                               now.time_since_epoch()).count() % 1000;
  std::tm localTime{};
  ::localtime_r(&seconds, &localTime);
  return makeTimeStampName(directory, prefix, extension, localTime,
                           static_cast<int>(millisecond < 0 ? millisecond + 1000 : millisecond));
}

std::string getVariable(std::string_view name) {
  return findVariable(name).value_or(std::string());
}

void resetVariableList(std::string_view appInstall) {
  auto& state = table();
  std::lock_guard lock(state.mutex);
  state.values.clear();
  state.appInstallOverride = std::string(appInstall);
}

}  // namespace System::FileName
