#include "media/input/builtin_readers.h"

#include "media/input/input_plugin.h"

namespace Plugin {

std::vector<std::shared_ptr<InputPlugin>> makeBuiltinReaders() {
  std::vector<std::shared_ptr<InputPlugin>> readers;
  return readers;
}

}  // namespace Plugin
