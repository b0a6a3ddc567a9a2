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

#include "edit/edit_settings.h"
#include "edit/object_clipboard.h"
#include "edit/project.h"
#include "edit/project_session.h"
#include "edit/update_section.h"
#include "system/config.h"
#include "system/service_holder.h"

namespace Event {
class EventService;
}
namespace System {
class MenuSink;
}
namespace Undo {
class UndoService;
}

namespace Edit {

class Object;
class Scene;
struct InputTarget;

class EditService : public System::Service<EditService> {
 public:
  // Takes the event and undo services that exist, loads [Edit] from the parameter store,
  // and makes scene 0 current. The project session (the file histories, the start and exit
  // listeners) is made with it.
  EditService();
  // The undo service forgets the current scene's history; then the project session ends
  // (backup timer stopped, history.ini written) and [Edit] is saved.
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
  // A click on an object: selects it, or with `withGroup` every member of its group, and
  // tells list 9. When something was selected and no control holds the input capture, the
  // clicked control takes it until Ctrl goes up, so that Ctrl-clicks go on adding.
  void clickSelectObject(InputTarget* control, const std::shared_ptr<Object>& object,
                         bool withGroup);
  // A press outside every object, or the end of a capture the control held: the selection
  // stays while Ctrl is held or the multi-select mode is on (the control then takes the
  // capture when nobody holds it), and is cleared otherwise.
  void clickOutsideSelection(InputTarget* control);

  // --- Scenes (edit_service_project.cpp) -------------------------------------------------
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
  // Imports a legacy object file (an expanded path) as a new scene with the smallest free
  // id and makes it current. On a failure the new scene is removed again, the error
  // "シーンの読み込みに失敗しました" is posted and the result is false. Not recorded for undo,
  // like any new scene.
  bool importSceneFromKvo(const std::string& path);
  // Deletes the scene (never scene 0); a scene with objects is deleted only after the user
  // agreed. Deleting the current scene makes scene 0 current first. The items of the other
  // scenes' objects that referred to it refer to no scene afterwards; not recorded for undo.
  void deleteScene(int id);

  // --- Context-menu sections (edit_context_menus.cpp) ------------------------------------
  // Each appends its items to a menu being built by the timeline or the preview; a command
  // that cannot apply now is shown grey. The items run the edit commands when chosen.

  // Cut, copy, paste and delete of the target objects.
  void appendEditMenu(System::MenuSink& menu);
  // Grouping the selection and ungrouping the targets.
  void appendGroupMenu(System::MenuSink& menu);
  // The layer range of selected control objects, then a separator; nothing unless the
  // selection holds a control object and another object.
  void appendLayerRangeMenu(System::MenuSink& menu);
  // New, delete (never scene 0), rename and settings of the scene.
  void appendSceneMenu(int sceneId, System::MenuSink& menu);

  // --- The project file and the program's life, done by the project session --------------
  bool createProject() { return session_.createProject(); }
  bool loadProject(const std::string& path, bool confirm, bool adoptPath) {
    return session_.loadProject(path, confirm, adoptPath);
  }
  bool saveProject(const std::string& path, bool silent) {
    return session_.saveProject(path, silent);
  }
  bool saveProjectAs() { return session_.saveProjectAs(); }
  bool saveProjectOverwrite() { return session_.saveProjectOverwrite(); }
  void resetProject() { session_.resetProject(); }
  bool confirmDiscard() { return session_.confirmDiscard(); }
  void setCommandLine(std::vector<std::string> arguments) {
    session_.setCommandLine(std::move(arguments));
  }
  std::string processCommandLine() const { return session_.processCommandLine(); }
  void onStart() { session_.onStart(); }
  void onExit() { session_.onExit(); }
  void applicationException(const std::exception& exception) noexcept {
    session_.applicationException(exception);
  }
  // The histories, the backup timer and the exit state.
  ProjectSession& projectSession() { return session_; }
  // Counts the edit-update scopes that ended, closed or not: whatever changed the edit data
  // changed it inside one, so an unchanged count means unchanged data.
  uint64_t editGeneration() const { return editGeneration_; }

  // The filter of the scene lists of scene items: true for a scene id that is neither 0 nor
  // `ownSceneId`.
  static std::function<bool(int)> makeSceneFilter(int ownSceneId);

  Event::EventService* const eventService;
  Undo::UndoService* const undoService;

  // [Edit] of the parameter store.
  EditSettings settings;

  Project project;
  ObjectClipboard clipboard;

 private:
  friend class UpdateSection;

  System::Config::Section config_{"Edit"};
  System::Config::Table settingsTable_{config_, settings, EditSettings::entries()};
  System::Config::Binding binding_;

  std::shared_ptr<Scene> currentScene_;
  std::shared_mutex lock_;
  bool updateOpen_ = false;
  uint64_t editGeneration_ = 0;
  // Declared last: made after the edit data it uses, and released before it.
  ProjectSession session_{*this};
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
