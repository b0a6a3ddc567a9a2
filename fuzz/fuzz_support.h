#pragma once
// What every fuzz target shares: the failure report and a program folder of its own.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "system/file.h"
#include "system/log.h"
#include "system/temp_folder.h"

namespace FuzzSupport {

[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

// A program folder of this process with a data folder, so that %AppData% and its
// sub-folders lie inside it; the log goes nowhere. Removed with everything in it at exit.
class ProgramFolder {
 public:
  explicit ProgramFolder(const char* name) : folder_(name) {
    folder_.makeFolder("data");
    System::FileName::resetVariableList(folder_.path());
    System::Log::setOutput(System::Log::discardOutput);
  }
  const std::string& path() const { return folder_.path(); }

 private:
  TestSupport::TempFolder folder_;
};

}  // namespace FuzzSupport
