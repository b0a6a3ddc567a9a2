#pragma once
// The edit service: the process-wide owner of the edit data (the project with its scenes,
// the current scene, the object clipboard) and of the edit lock that guards it.
//
// Everything touches the edit data through its two scopes: an edit-update scope
// (beginUpdate, exclusive, UI thread only, never nested) and a read scope (beginRead,
// shared, render workers). The focus, cursor and selection operations run on the UI thread
// without the lock: only the UI thread changes them.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "edit/file_history.h"
#include "edit/object_clipboard.h"
#include "edit/project.h"
#include "edit/update_section.h"
#include "system/config.h"
#include "system/service_holder.h"

namespace Event {
class EventService;
}
namespace Undo {
class UndoService;
}

namespace Edit {

class Object;
class Scene;

class EditService : public System::Service<EditService> {
 public:
  // Takes the event and undo services that exist, loads [Edit] from the parameter store,
  // and makes scene 0 current.
  EditService();
  // Saves [Edit]; the undo service forgets the current scene's history.
  ~EditService();
  EditService(const EditService&) = delete;
  EditService& operator=(const EditService&) = delete;

  // Stops the player, copies the current scene and takes the lock exclusively. Throws
  // "update section is already open." when a scope is open (scopes do not nest; waiting
  // for its own lock would block the UI thread for ever).
  UpdateSection beginUpdate();
  // Takes the lock shared, then copies the current scene (so the copy never races with a
  // scene switch).
  ReadSection beginRead();

  // The scene of the project, or empty.
  std::shared_ptr<Scene> getScene(int id) const;
  const std::shared_ptr<Scene>& currentScene() const { return currentScene_; }
  // Makes the scene current (made on first use) and points the undo service at its history.
  // Called inside an update scope; outside one it takes the lock for the switch itself.
  void setCurrentScene(int id);

  // Stores the focus object of the current scene and tells list 3; nothing when it is the
  // focus already.
  void setFocusObject(const std::shared_ptr<Object>& object);
  // Clamps to 0 .. last frame, stores and tells list 0.
  void setCursorFrame(int frame);
  // Clamps the stored cursor frame and tells list 0 (the current frame is rendered again).
  void notifyCurrentFrame();
  // Moves the cursor by "<frames>f" or by a number of seconds ("1", "1.5"); `direction` is +1
  // or -1. A text that does not match, or a number out of range, does nothing.
  void moveCursorFrame(std::string_view text, int direction);
  // Adds the object to the selection (and tells list 9 when asked); false when it is
  // selected already.
  bool selectObject(const std::shared_ptr<Object>& object, bool notify);
  // Empties the selection (and tells list 9 when asked); nothing when it is empty.
  void clearSelection(bool notify);

  // --- Scenes and the project (edit_service_project.cpp) ---------------------------------
  // The questions these ask go through the edit model's UI (edit/edit_ui.h).

  // The scene's name, or "" when there is no such scene.
  std::string getSceneName(int id) const;
  // Switches to the scene in a scope of its own and tells the scene listeners.
  void updateScene(int id);
  // Asks for a new name of the scene; not recorded for undo.
  void renameScene(int id);
  // Asks for the scene's name, size and rates; not recorded for undo.
  void settingScene(int id);
  // Asks for the settings of a new scene (starting at these values); on OK makes the scene
  // with the smallest free id current and gives it the settings. False on Cancel.
  bool createScene(const std::string& name, int width, int height, int rate, int scale,
                   int audioRate);
  // createScene started at the current scene's size and rates.
  bool createSceneLikeCurrent();
  // Deletes the scene (never scene 0); a scene with objects is deleted only after the user
  // agreed. Deleting the current scene makes scene 0 current first.
  void deleteScene(int id);
  // Asks to discard unsaved work, then for the settings of scene 0 of an empty project.
  bool createProject();
  // Opens a project file: `confirm` asks first when there is unsaved work; `adoptPath` makes
  // the opened file the project path (not so for the resume file). False when the file is
  // missing or the user kept their work; a file that cannot be read leaves an empty project
  // and posts an error.
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
  // file and apply the history settings; stop the backup timer and write the resume file.
  void onStart();
  void onExit();
  // An exception ended the event loop: show it, back the project up into %Backup% and remove
  // the resume file, so that the next start does not reopen an older state.
  void applicationException(const std::exception& exception);

  // The filter of the scene lists of scene items: true for a scene id that is neither 0 nor
  // `ownSceneId`.
  static std::function<bool(int)> makeSceneFilter(int ownSceneId);

  Event::EventService* const eventService;
  Undo::UndoService* const undoService;

  // [Edit] parameters.
  int32_t editResume = 0;
  int32_t autoBackup = 1;
  int32_t autoBackupInterval = 5;
  int32_t autoBackupFileMax = 10;
  int32_t historyFileMax = 10;
  int32_t layerObjectMoveSnap = 1;
  int32_t anchorObjectMoveSnap = 1;
  int32_t singleClickFocusLayerObject = 1;
  int32_t singleClickFocusAnchorObject = 0;
  int32_t clickLayerObjectSelectGroup = 1;
  int32_t clickAnchorObjectSelectGroup = 1;
  int32_t displayObjectMovePoint = 1;
  int32_t displayObjectCenterAnchor = 0;
  int32_t mouseHoverHideOtherAnchor = 0;
  int32_t addSectionSplitByCursorFrame = 0;
  int32_t fixedMovieTimeRange = 0;
  int32_t moveFrameSelectRangeMode = 1;
  std::string customMoveFrameA = "5f";
  std::string customMoveFrameB = "1";
  std::string customMoveFrameC = "30";
  std::string customMoveFrameD = "60";

  Project project;
  ObjectClipboard clipboard;
  // Set once an exception ended the message loop.
  bool exceptionExit = false;
  // The recently used project files and the backup files with the automatic backup timer.
  ProjectHistory projectHistory;
  BackupHistory backupHistory;

 private:
  friend class UpdateSection;

  System::Config::Section config_{"Edit"};
  System::Config::Int editResumeParameter_{config_, "EditResume", &editResume, 0};
  System::Config::Int autoBackupParameter_{config_, "AutoBackup", &autoBackup, 1};
  System::Config::Int autoBackupIntervalParameter_{config_, "AutoBackupInterval",
                                                   &autoBackupInterval, 5};
  System::Config::Int autoBackupFileMaxParameter_{config_, "AutoBackupFileMax", &autoBackupFileMax,
                                                  10};
  System::Config::Int historyFileMaxParameter_{config_, "HistoryFileMax", &historyFileMax, 10};
  System::Config::Int layerObjectMoveSnapParameter_{config_, "LayerObjectMoveSnap",
                                                    &layerObjectMoveSnap, 1};
  System::Config::Int anchorObjectMoveSnapParameter_{config_, "AnchorObjectMoveSnap",
                                                     &anchorObjectMoveSnap, 1};
  System::Config::Int singleClickFocusLayerObjectParameter_{config_, "SingleClickFocusLayerObject",
                                                            &singleClickFocusLayerObject, 1};
  System::Config::Int singleClickFocusAnchorObjectParameter_{
      config_, "SingleClickFocusAnchorObject", &singleClickFocusAnchorObject, 0};
  System::Config::Int clickLayerObjectSelectGroupParameter_{config_, "ClickLayerObjectSelectGroup",
                                                            &clickLayerObjectSelectGroup, 1};
  System::Config::Int clickAnchorObjectSelectGroupParameter_{
      config_, "ClickAnchorObjectSelectGroup", &clickAnchorObjectSelectGroup, 1};
  System::Config::Int displayObjectMovePointParameter_{config_, "DisplayObjectMovePoint",
                                                       &displayObjectMovePoint, 1};
  System::Config::Int displayObjectCenterAnchorParameter_{config_, "DisplayObjectCenterAnchor",
                                                          &displayObjectCenterAnchor, 0};
  System::Config::Int mouseHoverHideOtherAnchorParameter_{config_, "MouseHoverHideOtherAnchor",
                                                          &mouseHoverHideOtherAnchor, 0};
  System::Config::Int addSectionSplitByCursorFrameParameter_{
      config_, "AddSectionSplitByCursorFrame", &addSectionSplitByCursorFrame, 0};
  System::Config::Int fixedMovieTimeRangeParameter_{config_, "FixedMovieTimeRange",
                                                    &fixedMovieTimeRange, 0};
  System::Config::Int moveFrameSelectRangeModeParameter_{config_, "MoveFrameSelectRangeMode",
                                                         &moveFrameSelectRangeMode, 1};
  System::Config::String customMoveFrameAParameter_{config_, "CustomMoveFrameA", &customMoveFrameA,
                                                    "5f"};
  System::Config::String customMoveFrameBParameter_{config_, "CustomMoveFrameB", &customMoveFrameB,
                                                    "1"};
  System::Config::String customMoveFrameCParameter_{config_, "CustomMoveFrameC", &customMoveFrameC,
                                                    "30"};
  System::Config::String customMoveFrameDParameter_{config_, "CustomMoveFrameD", &customMoveFrameD,
                                                    "60"};
  System::Config::Binding binding_;

  std::shared_ptr<Scene> currentScene_;
  std::shared_mutex lock_;
  bool updateOpen_ = false;
  std::vector<std::string> commandLine_;
  // The recent files as loaded, to write history.ini at the end only when they changed.
  std::vector<std::string> loadedProjectHistory_;
  // The start and exit listeners outlive the service in the event service's lists; they
  // reach it through this token, which dies with it.
  std::shared_ptr<EditService*> listenerToken_;
};

// Keeps the objects for which the predicate holds, in order.
std::vector<std::shared_ptr<Object>> filterObjects(
    const std::vector<std::shared_ptr<Object>>& objects,
    const std::function<bool(const Object&)>& predicate);

// The mix-in that gives a component or command the edit service.
class EditInstance {
 protected:
  EditInstance() : editService(EditService::instance()) {}
  EditService* editService;
};

}  // namespace Edit
