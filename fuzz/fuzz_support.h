#pragma once
// What every fuzz target shares: the failure report and a program folder of its own.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "system/file.h"
#include "system/log.h"

namespace FuzzSupport {

[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// A program folder of this process with a data folder, so that %AppData% and its
// sub-folders lie inside it; the log goes nowhere. Removed with everything in it at exit.
class ProgramFolder {
 public:
  explicit ProgramFolder(const char* name) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(name) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
    std::filesystem::create_directories(path_ + "/data");
    System::FileName::resetVariableList(path_);
    System::Log::setOutput(System::Log::discardOutput);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;
  ~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

inline std::string readAll(const std::string& path) {
  System::File file;
  file.open(path, System::File::Read);
  std::string text(static_cast<std::size_t>(file.size()), '\0');
  file.readBlock(text.data(), text.size());
  return text;
}

}  // namespace FuzzSupport
