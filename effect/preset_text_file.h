#pragma once
// Reads the small text files of presets and palettes that users keep in %Default% and pass
// around. Such a file is read whole, but only up to a size no genuine file comes near, so a
// damaged or hostile file cannot take the memory of the process.
#include <cstdint>
#include <optional>
#include <string>

namespace Effect {

// The bytes of a regular file (path already expanded). No value, and nothing said, when the
// file is missing, is no regular file or cannot be read; no value and a WARN line under
// `place` when it is larger than `maxSize` bytes.
std::optional<std::string> readPresetTextFile(const std::string& path, uint64_t maxSize,
                                              const char* place);

}  // namespace Effect
