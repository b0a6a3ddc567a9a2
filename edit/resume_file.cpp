// The resume file and the exception backup.
#include "edit/resume_file.h"

#include <exception>

#include "edit/file_history.h"
#include "edit/project.h"
#include "system/file.h"
#include "system/log.h"

namespace Edit {

std::string getResumeFilePath() {
  return System::FileName::expandVariable("%AppData%/resume.vlp2");
}

void saveResumeFile(const Project& project) { project.saveFile(getResumeFilePath()); }

bool loadResumeFile(Project& project) {
  const std::string path = getResumeFilePath();
  if (!System::File::exists(path)) return false;
  project.loadFile(path);
  return true;
}

std::string saveExceptionBackup(const Project& project) {
  try {
    const std::string path = makeBackupFilePath("ExceptionBackup");
    System::Log::info("Edit::EditService::applicationException", "exception backup : %s",
                      path.c_str());
    project.saveFile(path);
    System::File::removeFile(getResumeFilePath());
    return path;
  } catch (const std::exception&) {
    // Logged where it was raised; the program is ending already.
    return {};
  }
}

}  // namespace Edit
