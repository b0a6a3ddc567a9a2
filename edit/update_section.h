#pragma once
// The two scopes through which everything touches the edit data.
//
// An edit-update scope (UpdateSection, from EditService::beginUpdate) holds the edit lock
// exclusively on the UI thread while a command changes the model. Whoever changes something
// sets the matching request flags; close() then does the follow-up work once, in a fixed
// order: the layer tables are rebuilt (and a removed focus object or selected object is let
// go), the open undo step is committed, the lock is released, the setting windows are
// refreshed, and the change events are fired. close() may throw (a listener's exception
// reaches the caller on the UI thread); the lock is released whatever happens.
//
// A scope that is destroyed without close() (an exception is unwinding through the
// command) finishes the edit all the same: the tables are rebuilt, the pending undo step is
// committed with what was recorded, the lock is released, the windows are refreshed and the
// events fire. It never throws: a failure on the way is logged, and a commit that fails
// drops its step.
//
// A read scope (ReadSection, from EditService::beginRead) holds the lock shared while a
// render worker reads one scene for one frame or audio block, and keeps that scene alive.
#include <cstdint>
#include <memory>
#include <mutex>
#include <shared_mutex>

namespace Edit {

class EditService;
class Object;
class Scene;

class UpdateSection {
 public:
  UpdateSection(const UpdateSection&) = delete;
  UpdateSection& operator=(const UpdateSection&) = delete;
  // Without close(): closes the scope, logging instead of throwing.
  ~UpdateSection();

  // Opens the scene's undo step once per scope; the close commits it. Every command that
  // records undo items calls it before its first push.
  void beginUndo();
  // Finishes the edit (see above). A second call does nothing.
  void close();
  bool isClosed() const { return closed_; }

  // The current scene when the scope was opened.
  std::shared_ptr<Scene> scene;

  // Requests, all false at opening.
  bool updateLayer = false;           // rebuild the layer tables
  bool rebuildEffectSetting = false;  // the setting window rebuilds its effect blocks
  bool resetSettingSection = false;   // it derives the shown section from the cursor again
  bool updateEffectSetting = false;   // its blocks reload flags and values
  bool updateTimeSetting = false;     // the time-control window reloads its curve
  bool updateColorSetting = false;    // the colour window re-reads its colour
  bool updateTextSetting = false;     // the text window reloads its text
  bool notifyObject = false;          // edit data changed, with `object`
  bool notifyLayer = false;           // layers changed
  bool notifyScene = false;           // the scene `sceneId` changed
  bool notifyFocus = false;           // the focus object changed
  bool notifyFrame = false;           // the cursor frame changed

  std::shared_ptr<Object> object;  // handed to the edit-data listeners; may stay empty
  int32_t sceneId = 0;             // handed to the scene listeners
  bool undoOpen = false;           // this scope opened an undo step

 private:
  friend class EditService;
  explicit UpdateSection(EditService& service);
  void releaseLock() noexcept;

  EditService* service_;
  std::unique_lock<std::shared_mutex> lock_;
  bool closed_ = false;
};

class ReadSection {
 public:
  ReadSection(const ReadSection&) = delete;
  ReadSection& operator=(const ReadSection&) = delete;
  // Releases the shared lock, then the scene.
  ~ReadSection();

  // The current scene when the scope was opened; it stays alive while the scope lives.
  std::shared_ptr<Scene> scene;

 private:
  friend class EditService;
  ReadSection(std::shared_mutex& lock, const std::shared_ptr<Scene>& currentScene);

  std::shared_lock<std::shared_mutex> lock_;
};

}  // namespace Edit
