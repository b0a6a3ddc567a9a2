#include "gpu/resource/file_choices.h"

#include <algorithm>

#include "system/file.h"
#include "system/log.h"

namespace Resource {

std::vector<std::string> listSortedFiles(std::string_view pattern, const char* place) {
  std::vector<std::string> paths;
  try {
    for (const auto& file : System::File::findFilesByPattern(System::FileName::expandVariable(pattern)))
      paths.push_back(file.path);
  } catch (const std::exception& failure) {
    System::Log::warn(place, "files not listed : %.*s\n%s", static_cast<int>(pattern.size()),
                      pattern.data(), failure.what());
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

}  // namespace Resource
