#include "effect/preset_text_file.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "system/log.h"

namespace Effect {

std::optional<std::string> readPresetTextFile(const std::string& path, uint64_t maxSize,
                                              const char* place) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  const auto tooLarge = [&](uint64_t size) {
    System::Log::warn(place, "file is too large, not read. [%s] (%llu bytes, at most %llu)",
                      path.c_str(), static_cast<unsigned long long>(size),
                      static_cast<unsigned long long>(maxSize));
  };
  if (static_cast<uint64_t>(info.st_size) > maxSize) {
    tooLarge(static_cast<uint64_t>(info.st_size));
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // Read in pieces up to the limit: the file may have grown since the size check.
  std::string text;
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > maxSize) {
      tooLarge(text.size());
      return std::nullopt;
    }
  }
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace Effect
