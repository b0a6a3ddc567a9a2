#pragma once
// The resume file and the exception backup: the project as it stood when the program ended.
//
// At a normal exit (when the user asked for it) the project is written to
// %AppData%/resume.vlp2 and reopened at the next start, with the path of the user's own
// project file kept, so that the next save goes there. When an unhandled exception ends the
// program, the project goes to %Backup%/ExceptionBackup_<time stamp>.vlp2 instead and the
// resume file is removed, so that the next start does not reopen an older state.
#include <string>

namespace Edit {

class Project;

// %AppData%/resume.vlp2, expanded.
std::string getResumeFilePath();

// Writes the project to the resume file (replaced only once complete; a failure throws).
void saveResumeFile(const Project& project);

// Reads the resume file into the project, which the caller has reset; false (nothing done)
// when there is none. The project's path becomes the "file" the resume file names, not the
// resume file's own. The file stays. A damaged file throws as Project::loadFile does.
bool loadResumeFile(Project& project);

// Writes the exception backup and then removes the resume file; gives the backup's path.
// Never throws: this runs while the program ends on an exception. When the backup cannot be
// written the result is empty and the resume file stays, as the last good state there is.
std::string saveExceptionBackup(const Project& project);

}  // namespace Edit
