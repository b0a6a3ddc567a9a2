#pragma once
// What the effect framework asks of the edit model, which lies above it: the edit commands
// that effect and alias menu entries run, and the edit under which a preset colour's new
// name reaches the colour items. The edit model implements it and the program installs it
// at start-up.
//
// It also answers the items that choose a scene of the project (the mask selection): a
// scene's name, the scene of a name, and how long a scene plays.
//
// Without one (a run without an edit model) a menu entry's command and a legacy track are
// refused with "not implement.", a preset-colour change runs on its own, outside any
// edit, and the project has no scenes.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "effect/media_time.h"

namespace Edit {
class Object;
}

namespace Effect {

class EffectBase;

class EditAccess {
 public:
  virtual ~EditAccess() = default;
  // A new object on the current scene carrying the named effect.
  virtual void createObject(std::string_view effectName, int layer, int frame) = 0;
  // The named effect put on an existing object.
  virtual void setEffect(const std::shared_ptr<Edit::Object>& object, std::string_view effectName,
                         EffectBase* afterEffect, bool replace) = 0;
  // A new object read from an alias file (an expanded path).
  virtual void loadObject(const std::string& path, int layer, int frame) = 0;
  // The effects of an alias file added to an existing object.
  virtual void loadEffect(const std::shared_ptr<Edit::Object>& object, const std::string& path,
                          EffectBase* afterEffect, bool replace) = 0;
  // Runs `change` (which alters what colour items show) inside an edit whose close
  // refreshes the setting windows and tells the edit-data listeners.
  virtual void runPresetColorUpdate(const std::function<void()>& change) = 0;
  // A number track's text from a legacy object file, rewritten into the current form. An
  // edit model that cannot read legacy files keeps this: "not implement.".
  virtual std::string convertLegacyTrack(std::string_view legacyText);

  // The scenes, asked on the UI thread or on a render worker under the shared edit lock.
  // The name of the scene with that id, or nothing when there is no such scene.
  virtual std::optional<std::string> sceneName(int32_t sceneId) const;
  // The id of the first scene, in the project's scene order, whose name is exactly `name`.
  virtual std::optional<int32_t> findSceneByName(std::string_view name) const;
  // The largest end frame of the scene's objects and the scene's frame rate.
  struct SceneSpan {
    int32_t lastFrame = 0;
    MediaTime::Timing timing;
  };
  virtual std::optional<SceneSpan> sceneSpan(int32_t sceneId) const;
};

// Installs the access (nullptr removes it). UI thread, while no menu runs.
void setEditAccess(EditAccess* access);
EditAccess* editAccess();

// The installed access's convertLegacyTrack; "not implement." without one.
std::string convertLegacyTrack(std::string_view legacyText);

// The installed access's scene answers; no scene without one.
std::optional<std::string> sceneNameOf(int32_t sceneId);
std::optional<int32_t> findSceneByName(std::string_view name);
std::optional<EditAccess::SceneSpan> sceneSpanOf(int32_t sceneId);

}  // namespace Effect
