#pragma once
// The project as a file of the running program: creating, opening and saving it, the
// recently used files, the automatic backup, the resume file, the command line and the
// program's start, exit and end on an exception.
//
// Owned by the edit service, made after its edit data and released before it. Every change
// of the project runs in one edit-update scope of the service, so the render workers never
// see a half-loaded project. Saving only reads the edit data, on the UI thread that alone
// changes it, and opens no scope. The questions go through the edit model's UI
// (edit/edit_ui.h).
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "edit/file_history.h"

namespace Edit {

class EditService;

class ProjectSession {
 public:
  // Loads both histories (with the largest maximum; the start applies the settings), has the
  // automatic backup copy the service's project, and listens to the start and exit events
  // when the event service exists.
  explicit ProjectSession(EditService& edit);
  // Stops listening and the backup timer, then writes history.ini.
  ~ProjectSession();
  ProjectSession(const ProjectSession&) = delete;
  ProjectSession& operator=(const ProjectSession&) = delete;

  // Asks to discard unsaved work, then for the settings of scene 0 of an empty project.
  bool createProject();
  // Opens a project file: `confirm` asks first when there is unsaved work; `adoptPath` makes
  // the opened file the project path (not so for the resume file). False when the file is
  // missing or the user kept their work. A file that cannot be read as a project (not a
  // regular file, no [project] section, a bad value) posts an error and gives false; the
  // project is left empty, without a path, and the recent files do not change.
  bool loadProject(const std::string& path, bool confirm, bool adoptPath);
  // Writes the project to `path`; a silent save shows no status and leaves the recent files
  // alone. A failed write posts an error, keeps the modified flag and gives false.
  bool saveProject(const std::string& path, bool silent);
  // Asks for a path, makes it the project path, and saves there. False on Cancel.
  bool saveProjectAs();
  // Saves to the project path, or asks for one when the project has none.
  bool saveProjectOverwrite();
  // Empties the project: no path, a fresh scene 0, nothing modified.
  void resetProject();
  // True when nothing is unsaved or the user agreed to discard it.
  bool confirmDiscard();

  // The arguments of the process: the program name first. The entry point hands them over
  // before the start event.
  void setCommandLine(std::vector<std::string> arguments) { commandLine_ = std::move(arguments); }
  // The last argument that names a project file (.vlp2 in any letter case), or "".
  std::string processCommandLine() const;
  // Listeners of the start and exit events: open the command line's project or the resume
  // file (a resumed project counts as modified) and apply the history settings; stop the
  // backup timer and write the resume file.
  void onStart();
  void onExit();
  // An exception ended the event loop: show it, back the project up into %Backup% and remove
  // the resume file, so that the next start does not reopen an older state. Never throws: a
  // step that fails is logged and the shut-down goes on.
  void applicationException(const std::exception& exception) noexcept;

  // Set once an exception ended the message loop.
  bool exceptionExit = false;
  // The recently used project files and the backup files with the automatic backup timer.
  ProjectHistory projectHistory;
  BackupHistory backupHistory;

 private:
  EditService& edit_;
  std::vector<std::string> commandLine_;
  // The start and exit listeners outlive the session in the event service's lists; they
  // reach it through this token, which dies with it.
  std::shared_ptr<ProjectSession*> listenerToken_;
};

}  // namespace Edit
