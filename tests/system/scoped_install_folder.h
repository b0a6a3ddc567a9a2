#pragma once
// Points the path variables at a fresh install folder (with its data folder) for one scope,
// and back at the install folder they named before when it ends.
#include <string>

#include "system/file.h"
#include "system/temp_folder.h"

namespace TestSupport {

class ScopedInstallFolder {
 public:
  ScopedInstallFolder() : previousInstall_(System::FileName::expandVariable("%AppInstall%")) {
    folder_.makeFolder("data");
    System::FileName::resetVariableList(folder_.path());
  }
  ScopedInstallFolder(const ScopedInstallFolder&) = delete;
  ScopedInstallFolder& operator=(const ScopedInstallFolder&) = delete;
  ~ScopedInstallFolder() { System::FileName::resetVariableList(previousInstall_); }

  const TempFolder& folder() const { return folder_; }

 private:
  std::string previousInstall_;
  TempFolder folder_;
};

}  // namespace TestSupport
