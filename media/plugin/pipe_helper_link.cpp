#include "media/plugin/pipe_helper_link.h"

#include "system/file.h"

namespace Plugin {

PipeHelperProcess::PipeHelperProcess(std::string program, std::string pluginFolder)
    : program_(std::move(program)), pluginFolder_(std::move(pluginFolder)) {}

void PipeHelperProcess::start() { process_.start(program_, pluginFolder_); }

std::unique_ptr<PipeHelperLink> makeInstalledHelper(const char* programName) {
  return std::make_unique<PipeHelperProcess>(
      System::FileName::expandVariable(std::string("%AppInstall%/") + programName),
      System::FileName::expandVariable("%Plugin%"));
}

}  // namespace Plugin
