// The project session's part in the program's life: made with the edit service, the command
// line, the start and exit events, and the end on an unhandled exception.
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <string_view>

#include "edit/edit_service.h"
#include "edit/project_session.h"
#include "edit/resume_file.h"
#include "edit/undo_service.h"
#include "system/dialog.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/log.h"

namespace Edit {
namespace {

constexpr const char* kExceptionPlace = "Edit::EditService::applicationException";

std::string toLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

}  // namespace

ProjectSession::ProjectSession(EditService& edit) : edit_(edit) {
  // Both histories start with the largest maximum; the start applies the settings.
  projectHistory.load();
  backupHistory.load();
  // An automatic backup is a copy, not a save of the user's project: the project path, the
  // recent files and the modified flag stay as they are, so unsaved work is still asked
  // about before it is discarded. A tick after which no edit ended writes nothing.
  backupHistory.setSaveProject([this](const std::string& path) { edit_.project.saveFile(path); });
  backupHistory.setChangeCount([this] { return edit_.editGeneration(); });
  listenerToken_ = std::make_shared<ProjectSession*>(this);
  if (Event::EventService* events = edit_.eventService) {
    std::weak_ptr<ProjectSession*> token = listenerToken_;
    events->startEvent().add([token] {
      if (const auto session = token.lock()) (*session)->onStart();
    });
    events->exitEvent().add([token] {
      if (const auto session = token.lock()) (*session)->onExit();
    });
  }
}

ProjectSession::~ProjectSession() {
  listenerToken_.reset();
  backupHistory.stopTimer();
  // Written at every end, changed or not: the file always holds the list as this run kept
  // it, numbered 1, 2, 3 ...
  projectHistory.save();
}

std::string ProjectSession::processCommandLine() const {
  std::string result;
  for (std::size_t i = 1; i < commandLine_.size(); ++i) {
    const std::string& argument = commandLine_[i];
    // Options begin with "-". A "/" begins an absolute path here, never an option.
    if (argument.empty() || argument.front() == '-') continue;
    const std::string path = System::FileName::expandVariable(argument);
    if (toLowerAscii(System::FileName::getExtension(path)) == "vlp2") result = argument;
  }
  return result;
}

void ProjectSession::onStart() {
  const std::string commandLinePath = processCommandLine();
  if (!commandLinePath.empty()) {
    loadProject(commandLinePath, false, true);
  } else if (edit_.settings.editResume) {
    const std::string resumePath = getResumeFilePath();
    // The resumed edits exist only in the resume file, which the next exit overwrites:
    // they count as unsaved, so nothing discards them without asking.
    if (System::File::exists(resumePath) && loadProject(resumePath, false, false) &&
        edit_.undoService)
      edit_.undoService->modified = true;
  } else if (edit_.eventService) {
    edit_.eventService->sceneChanged().fire(edit_.project.currentSceneId);
  }
  applyHistorySettings(projectHistory, backupHistory);
}

void ProjectSession::onExit() {
  backupHistory.stopTimer();
  if (edit_.settings.editResume && !exceptionExit) saveProject(getResumeFilePath(), false);
}

void ProjectSession::applicationException(const std::exception& exception) noexcept {
  // The program is ending already: each step that fails is logged and the next one still
  // runs, and nothing travels on to stop the orderly shut-down that follows.
  const auto step = [](const char* what, const auto& work) {
    try {
      work();
    } catch (const std::exception& failure) {
      System::Log::error(kExceptionPlace, "%s failed.\n%s", what, failure.what());
    } catch (...) {
      System::Log::error(kExceptionPlace, "%s failed.", what);
    }
  };
  exceptionExit = true;
  step("stopping the backup timer", [this] { backupHistory.stopTimer(); });
  step("showing the exception", [&exception] {
    const std::runtime_error shown(std::string(exception.what()) +
                                   "\n\nプロジェクトをバックアップしてアプリケーションを終了します");
    Dialog::showException(shown);
  });
  step("exception backup", [this] {
    const std::string backupPath = makeBackupFilePath("ExceptionBackup");
    System::Log::info(kExceptionPlace, "exception backup : %s", backupPath.c_str());
    // The resume file goes only once the backup holds the project: it is the last good
    // state while there is no other.
    if (saveProject(backupPath, true))
      System::File::removeFile(getResumeFilePath());
    else
      System::Log::error(kExceptionPlace, "exception backup failed : %s", backupPath.c_str());
  });
}

}  // namespace Edit
