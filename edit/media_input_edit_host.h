#pragma once
// The edit model's answers to the media inputs (movie, sound and scene inputs): frame rates
// and lengths of its scenes, the frames of its objects, the "fixed movie time range"
// setting, and the undo records, scope marks, resizing and tooltips of the edit events the
// inputs handle. The program installs one with Effect::setMediaInputHost.
//
// The timing and length questions may come from the render workers under a read scope;
// everything that takes an edit event runs on the UI thread inside the event's edit scope.
#include <cstdint>
#include <optional>
#include <string>

#include "effect/media_input_host.h"

namespace Edit {

class EditService;
class Object;
class Scene;

class MediaInputEditHost : public Effect::MediaInputHost {
 public:
  // The service must outlive the host.
  explicit MediaInputEditHost(EditService& service);

  // The scene's rate and scale; without a scene the current scene's.
  Effect::MediaTime::Timing sceneTiming(const Scene* scene) const override;
  Effect::ObjectFrames objectFrames(const Object& object) const override;
  // The frame rate of the scene that holds the object, or of the current scene when no
  // scene holds it (an object that was taken off).
  Effect::MediaTime::Timing objectTiming(const Object& object) const override;
  // The frames of the scene (its last frame + 1, none while it holds no object) and its
  // frame rate. Nothing for the root scene, which is never a source, and for an id no scene
  // has.
  std::optional<Effect::SceneLength> sceneLength(int sceneId) const override;
  bool fixedMovieTimeRange() const override;

  // Each opens the scope's undo step first. An event without a scope, object or effect
  // records nothing.
  void recordObjectUpdate(const Effect::EffectEventParam& event) override;
  void recordEffectUpdate(const Effect::EffectEventParam& event) override;
  void markChanged(const Effect::EffectEventParam& event, bool layers) override;
  // Through the layer table of the scene that holds the object, which stops growth at the
  // neighbouring objects and leaves an object with midpoints alone.
  void resizeObject(const Effect::EffectEventParam& event, int32_t frames,
                    bool moveStart) override;

  // Through the edit model's UI (Edit::editUi).
  void showToolTip(const std::string& text) override;
  // Edit::Scene::showInfoTooltip of that scene; nothing for the root scene or an id no scene
  // has.
  void showSceneInfo(int sceneId) override;

 private:
  // The scene whose layer table lists the object on its layer: the current scene is looked
  // at first, as edit events come from it. Null when none does.
  Scene* findHoldingScene(const Object& object) const;
  // A scene other than the root with that id, or null.
  Scene* findSourceScene(int sceneId) const;

  EditService& service_;
};

}  // namespace Edit
