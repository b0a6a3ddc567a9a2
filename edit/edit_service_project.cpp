// The edit service's scene and project commands, and its part in the start, the exit and the
// end on an unhandled exception.
//
// Every change of scenes or of the project runs in one edit-update scope, so the render
// workers never see a half-loaded project. Saving only reads the edit data, on the UI thread
// that alone changes it, and opens no scope.
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/resume_file.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "system/dialog.h"
#include "system/event_service.h"
#include "system/file.h"
#include "system/log.h"
#include "system/translate_service.h"
#include "system/ui_bridge.h"

namespace Edit {
namespace {

constexpr const char* kConfirmCaption = "Velumo Kivrun2";

// A text of a confirmation, through the Message table while a language is active.
std::string translateMessage(const char* text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Message, text);
}

void setStatusText(const char* text) { editUi().setStatusText(text); }

std::string toLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// Whether something follows the last separator.
bool namesFile(std::string_view path) {
  const auto separator = path.find_last_of("/\\");
  return !path.empty() && (separator == std::string_view::npos || separator + 1 < path.size());
}

SceneSettings settingsOf(const Scene& scene) {
  return {scene.name, scene.width, scene.height, scene.rate, scene.scale, scene.audioRate};
}

// Stores what the scene dialog gave. The dialog keeps its numbers positive; a value that is
// not leaves the scene's own, as a scene with a zero size or rate cannot be rendered.
void applySettings(Scene& scene, const SceneSettings& settings) {
  scene.name = settings.name;
  if (settings.width > 0) scene.width = settings.width;
  if (settings.height > 0) scene.height = settings.height;
  if (settings.rate > 0) scene.rate = settings.rate;
  if (settings.scale > 0) scene.scale = settings.scale;
  if (settings.audioRate > 0) scene.audioRate = settings.audioRate;
}

}  // namespace

std::string EditService::getSceneName(int id) const {
  const auto scene = getScene(id);
  return scene ? scene->name : std::string();
}

void EditService::updateScene(int id) {
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = id;
  setCurrentScene(id);
  System::Log::info("Edit::EditService::updateScene", "set current scnene [%s](%d)",
                    currentScene_->name.c_str(), id);
  scope.close();
}

void EditService::renameScene(int id) {
  const auto scene = getScene(id);
  if (!scene) return;
  System::stopPreviewPlayer();
  std::string name = scene->name;
  if (!editUi().inputText("シーン名を変更", name)) return;
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = project.currentSceneId;
  scene->name = name;
  System::Log::info("Edit::EditService::renameScene", "update scnene name [%s](%d)",
                    scene->name.c_str(), id);
  scope.close();
}

void EditService::settingScene(int id) {
  const auto scene = getScene(id);
  if (!scene) return;
  System::stopPreviewPlayer();
  SceneSettings settings = settingsOf(*scene);
  if (!editUi().editScene("シーンの設定", settings)) return;
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = project.currentSceneId;
  applySettings(*scene, settings);
  System::Log::info("Edit::EditService::settingScene", "update scnene setting [%s](%d)",
                    scene->name.c_str(), id);
  scope.close();
}

bool EditService::createScene(const std::string& name, int width, int height, int rate,
                              int scale, int audioRate) {
  System::stopPreviewPlayer();
  SceneSettings settings{name, width, height, rate, scale, audioRate};
  if (!editUi().editScene("シーンを作成", settings)) return false;
  const int32_t id = project.findFreeSceneId();
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = id;
  setCurrentScene(id);
  System::Log::info("Edit::EditService::createScene", "set current scnene (create) [%s](%d)",
                    settings.name.c_str(), id);
  applySettings(*currentScene_, settings);
  scope.close();
  return true;
}

bool EditService::createSceneLikeCurrent() {
  const Scene& scene = *currentScene_;
  return createScene(getDefaultSceneName(project.findFreeSceneId()), scene.width, scene.height,
                     scene.rate, scene.scale, scene.audioRate);
}

void EditService::deleteScene(int id) {
  if (id == 0) return;
  const int32_t current = project.currentSceneId;
  if (currentScene_->lastFrame() > 0) {
    System::stopPreviewPlayer();
    const char* question =
        id == current ? "現在のシーンを削除しますか？" : "シーンを削除しますか？";
    if (!editUi().confirm(translateMessage(question), kConfirmCaption))
      return;
  }
  System::Log::info("Edit::EditService::deleteScene", "delete scnene (%d)", id);
  auto scope = beginUpdate();
  scope.notifyScene = true;
  if (id == current) {
    scope.sceneId = 0;
    setCurrentScene(0);
    System::Log::info("Edit::EditService::updateScene", "set current scnene [%s](%d)",
                      currentScene_->name.c_str(), 0);
  } else {
    scope.sceneId = current;
  }
  project.deleteScene(id);
  scope.close();
}

bool EditService::createProject() {
  if (!confirmDiscard()) return false;
  SceneSettings settings{getSceneName(0), 1920, 1080, 30, 1, 44100};
  if (!editUi().editScene("プロジェクトを作成", settings)) return false;
  resetProject();
  System::Log::info("Edit::EditService::createProject", "create project file");
  auto scope = beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = 0;
  setCurrentScene(0);
  System::Log::info("Edit::EditService::createProject", "set current scnene [%s](%d)",
                    currentScene_->name.c_str(), 0);
  // The project dialog sets the format, not the name: scene 0 stays "Root".
  SceneSettings format = settings;
  format.name = currentScene_->name;
  applySettings(*currentScene_, format);
  scope.close();
  backupHistory.updateTimer();
  return true;
}

bool EditService::loadProject(const std::string& path, bool confirm, bool adoptPath) {
  const std::string openedPath = System::FileName::expandVariable(path);
  if (!System::File::exists(openedPath)) {
    Dialog::showError("%s", "指定のファイルが存在しません");
    return false;
  }
  if (confirm && !confirmDiscard()) return false;

  resetProject();
  System::Log::info("Edit::EditService::loadProject", "load project file : %s", path.c_str());
  setStatusText("Loading...");

  auto scope = beginUpdate();
  scope.updateLayer = true;
  try {
    project.loadFile(openedPath);
  } catch (const std::exception&) {
    project.reset();
    Dialog::postError("%s", "プロジェクトの読み込みに失敗しました");
  }
  // The file's own record of its path is kept for the resume file, so that a resumed
  // project saves to where the user keeps it. A file opened by the user is that place.
  if (adoptPath) project.path = openedPath;

  scope.notifyScene = true;
  scope.sceneId = project.currentSceneId;
  setCurrentScene(project.currentSceneId);
  // The tables were rebuilt for the scene the scope began with; the read one needs its own.
  scope.scene = currentScene_;
  System::Log::info("Edit::EditService::loadProject", "set current scnene [%s](%d)",
                    currentScene_->name.c_str(), project.currentSceneId);
  setStatusText("");
  projectHistory.add(project.path);
  scope.close();
  return true;
}

bool EditService::saveProject(const std::string& path, bool silent) {
  System::Log::info("Edit::EditService::saveProject", "save project file : %s", path.c_str());
  if (!silent) setStatusText("Saving...");
  bool saved = true;
  try {
    project.saveFile(path);
    if (undoService) undoService->modified = false;
  } catch (const std::exception&) {
    Dialog::postError("%s", "プロジェクトの保存に失敗しました");
    saved = false;
  }
  if (!silent) {
    setStatusText("");
    projectHistory.add(project.path);
  }
  return saved;
}

bool EditService::saveProjectAs() {
  System::stopPreviewPlayer();
  std::string chosen = project.path;
  if (!editUi().chooseSavePath(chosen)) return false;
  if (chosen == project.path) return saveProject(chosen, false);
  {
    // The title shows the project path: tell the scene listeners.
    auto scope = beginUpdate();
    scope.notifyScene = true;
    scope.sceneId = project.currentSceneId;
    project.path = System::FileName::expandVariable(chosen);
    scope.close();
  }
  return saveProject(chosen, false);
}

bool EditService::saveProjectOverwrite() {
  if (namesFile(project.path)) return saveProject(project.path, false);
  return saveProjectAs();
}

void EditService::resetProject() {
  auto scope = beginUpdate();
  if (undoService) undoService->modified = false;
  clipboard.clear();
  // The tables of the old scene are emptied by the reset; the scope ends on the new one.
  project.reset();
  scope.notifyScene = true;
  scope.sceneId = 0;
  setCurrentScene(0);
  scope.scene = currentScene_;
  System::Log::info("Edit::EditService::resetProject", "set current scnene [%s](%d)",
                    currentScene_->name.c_str(), 0);
  scope.close();
}

bool EditService::confirmDiscard() {
  if (!undoService || !undoService->modified) return true;
  System::stopPreviewPlayer();
  return editUi().confirm(translateMessage("現在の編集データは破棄されますがよろしいですか？"),
                         kConfirmCaption);
}

std::string EditService::processCommandLine() const {
  std::string result;
  for (std::size_t i = 1; i < commandLine_.size(); ++i) {
    const std::string& argument = commandLine_[i];
    // Options begin with "-". A "/" begins an absolute path here, never an option.
    if (argument.empty() || argument.front() == '-') continue;
    const std::string expanded = System::FileName::expandVariable(argument);
    if (toLowerAscii(System::FileName::getExtension(expanded)) == "vlp2") result = argument;
  }
  return result;
}

void EditService::onStart() {
  const std::string commandLinePath = processCommandLine();
  if (!commandLinePath.empty()) {
    loadProject(commandLinePath, false, true);
  } else if (editResume) {
    const std::string resumePath = getResumeFilePath();
    if (System::File::exists(resumePath)) loadProject(resumePath, false, false);
  } else if (eventService) {
    eventService->sceneChanged().fire(project.currentSceneId);
  }
  applyHistorySettings(projectHistory, backupHistory);
}

void EditService::onExit() {
  backupHistory.stopTimer();
  if (editResume && !exceptionExit) saveProject(getResumeFilePath(), false);
}

void EditService::applicationException(const std::exception& exception) {
  exceptionExit = true;
  backupHistory.stopTimer();
  const std::runtime_error shown(std::string(exception.what()) +
                                 "\n\nプロジェクトをバックアップしてアプリケーションを終了します");
  Dialog::showException(shown);

  const std::string backupPath = makeBackupFilePath("ExceptionBackup");
  System::Log::info("Edit::EditService::applicationException", "exception backup : %s",
                    backupPath.c_str());
  // The resume file goes only once the backup holds the project: it is the last good state
  // while there is no other.
  if (saveProject(backupPath, true)) System::File::removeFile(getResumeFilePath());
}

}  // namespace Edit
