// Creating, opening, saving and emptying the project.
#include "edit/project_session.h"

#include <stdexcept>
#include <string>
#include <string_view>

#include "edit/edit_service.h"
#include "edit/project_prompts.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "system/dialog.h"
#include "system/file.h"
#include "system/log.h"
#include "system/ui_bridge.h"

namespace Edit {
namespace {

void setStatusText(const char* text) { editUi().setStatusText(text); }

// Whether something follows the last separator.
bool namesFile(std::string_view path) {
  const auto separator = path.find_last_of("/\\");
  return !path.empty() && (separator == std::string_view::npos || separator + 1 < path.size());
}

}  // namespace

bool ProjectSession::createProject() {
  if (!confirmDiscard()) return false;
  SceneSettings settings{edit_.getSceneName(0), 1920, 1080, 30, 1, 44100};
  if (!editUi().editScene("プロジェクトを作成", settings)) return false;
  resetProject();
  System::Log::info("Edit::EditService::createProject", "create project file");
  auto scope = edit_.beginUpdate();
  scope.notifyScene = true;
  scope.sceneId = 0;
  edit_.setCurrentScene(0);
  Scene& scene = *edit_.currentScene();
  System::Log::info("Edit::EditService::createProject", "set current scnene [%s](%d)",
                    scene.name.c_str(), 0);
  // The project dialog sets the format, not the name: scene 0 stays "Root".
  SceneSettings format = settings;
  format.name = scene.name;
  applySceneSettings(scene, format);
  scope.close();
  backupHistory.updateTimer();
  return true;
}

bool ProjectSession::loadProject(const std::string& path, bool confirm, bool adoptPath) {
  const std::string openedPath = System::FileName::expandVariable(path);
  if (!System::File::exists(openedPath)) {
    Dialog::showError("%s", "指定のファイルが存在しません");
    return false;
  }
  if (confirm && !confirmDiscard()) return false;

  resetProject();
  System::Log::info("Edit::EditService::loadProject", "load project file : %s", path.c_str());
  setStatusText("Loading...");

  Project& project = edit_.project;
  auto scope = edit_.beginUpdate();
  scope.updateLayer = true;
  bool loaded = true;
  try {
    project.loadFile(openedPath);
  } catch (const std::exception& exception) {
    System::Log::warn("Edit::EditService::loadProject", "load failed : %s\n%s", path.c_str(),
                      exception.what());
    loaded = false;
  }
  if (loaded) {
    // The file's own record of its path is kept for the resume file, so that a resumed
    // project saves to where the user keeps it. A file opened by the user is that place,
    // and media it names under the folder it was saved in may have moved with it.
    if (adoptPath) {
      project.updateEffectItemFilePath(openedPath);
      project.path = openedPath;
    }
  } else {
    // Nothing of a file that failed is taken over, least of all its path: a Save of the
    // empty project must not overwrite the file the user tried to open.
    project.reset();
    Dialog::postError("%s", "プロジェクトの読み込みに失敗しました");
  }

  scope.notifyScene = true;
  scope.sceneId = project.currentSceneId;
  edit_.setCurrentScene(project.currentSceneId);
  // The tables were rebuilt for the scene the scope began with; the read one needs its own.
  scope.scene = edit_.currentScene();
  System::Log::info("Edit::EditService::loadProject", "set current scnene [%s](%d)",
                    scope.scene->name.c_str(), project.currentSceneId);
  setStatusText("");
  if (loaded) projectHistory.add(project.path);
  scope.close();
  return loaded;
}

bool ProjectSession::saveProject(const std::string& path, bool silent) {
  System::Log::info("Edit::EditService::saveProject", "save project file : %s", path.c_str());
  if (!silent) setStatusText("Saving...");
  bool saved = true;
  try {
    edit_.project.saveFile(path);
    if (edit_.undoService) edit_.undoService->modified = false;
  } catch (const std::exception&) {
    Dialog::postError("%s", "プロジェクトの保存に失敗しました");
    saved = false;
  }
  if (!silent) {
    setStatusText("");
    projectHistory.add(edit_.project.path);
  }
  return saved;
}

bool ProjectSession::saveProjectAs() {
  System::stopPreviewPlayer();
  Project& project = edit_.project;
  std::string chosen = project.path;
  if (!editUi().chooseSavePath(chosen)) return false;
  if (chosen == project.path) return saveProject(chosen, false);
  {
    // The title shows the project path: tell the scene listeners.
    auto scope = edit_.beginUpdate();
    scope.notifyScene = true;
    scope.sceneId = project.currentSceneId;
    project.path = System::FileName::expandVariable(chosen);
    scope.close();
  }
  return saveProject(chosen, false);
}

bool ProjectSession::saveProjectOverwrite() {
  if (namesFile(edit_.project.path)) return saveProject(edit_.project.path, false);
  return saveProjectAs();
}

void ProjectSession::resetProject() {
  auto scope = edit_.beginUpdate();
  if (edit_.undoService) edit_.undoService->modified = false;
  edit_.clipboard.clear();
  // The tables of the old scene are emptied by the reset; the scope ends on the new one.
  edit_.project.reset();
  scope.notifyScene = true;
  scope.sceneId = 0;
  edit_.setCurrentScene(0);
  scope.scene = edit_.currentScene();
  System::Log::info("Edit::EditService::resetProject", "set current scnene [%s](%d)",
                    scope.scene->name.c_str(), 0);
  scope.close();
}

bool ProjectSession::confirmDiscard() {
  if (!edit_.undoService || !edit_.undoService->modified) return true;
  System::stopPreviewPlayer();
  return confirmWithUser("現在の編集データは破棄されますがよろしいですか？");
}

}  // namespace Edit
