#pragma once
// What the media inputs ask of the edit model, which lies above the effect framework: the
// frames and frame rate of the objects an edit names, the length of a referenced scene, the
// undo records and scope marks of an edit, resizing an object, and the information
// tooltips. The edit model implements it and the program installs it at start-up.
//
// Without one (a run without an edit model) the render side takes a scene of 30 frames per
// second, a referenced scene counts as absent, and the media inputs leave every edit event
// to the usual handling.
#include <cstdint>
#include <optional>
#include <string>

#include "effect/media_time.h"
#include "effect/outer_types.h"
#include "effect/section_position.h"

namespace Effect {

struct EffectEventParam;

// The frame count and frame rate of a scene.
struct SceneLength {
  int64_t frames = 0;
  MediaTime::Timing timing;
};

class MediaInputHost {
 public:
  virtual ~MediaInputHost() = default;

  // The frame rate of the scene a render context names (may be null).
  virtual MediaTime::Timing sceneTiming(const Edit::Scene* scene) const = 0;
  // The frames of an object an edit event names, and the frame rate of its scene. The
  // midpoints are borrowed from the object.
  virtual ObjectFrames objectFrames(const Edit::Object& object) const = 0;
  virtual MediaTime::Timing objectTiming(const Edit::Object& object) const = 0;
  // The scene with that id, or nothing when there is none.
  virtual std::optional<SceneLength> sceneLength(int sceneId) const = 0;
  // The edit setting that keeps a playback range as it is when its object is trimmed.
  virtual bool fixedMovieTimeRange() const = 0;

  // Inside the event's edit scope: records the object's frames, or the effect's item
  // values, for undo.
  virtual void recordObjectUpdate(const EffectEventParam& event) = 0;
  virtual void recordEffectUpdate(const EffectEventParam& event) = 0;
  // Marks the scope so that its close refreshes the setting window and fires the change
  // events; with `layers` it also rebuilds the layer tables.
  virtual void markChanged(const EffectEventParam& event, bool layers) = 0;
  // Gives the event's object `frames` frames by moving its start (`moveStart`) or its end,
  // staying clear of the neighbouring objects.
  virtual void resizeObject(const EffectEventParam& event, int32_t frames, bool moveStart) = 0;

  // A tooltip at the mouse cursor, one cursor height below it.
  virtual void showToolTip(const std::string& text) = 0;
  // The information tooltip of the scene with that id.
  virtual void showSceneInfo(int sceneId) = 0;
};

// Installs the host (nullptr removes it). UI thread, while no render worker runs.
void setMediaInputHost(MediaInputHost* host);
MediaInputHost* mediaInputHost();

// The installed host's sceneTiming, or 30 frames per second without one.
MediaTime::Timing sceneTimingOf(const Edit::Scene* scene);

}  // namespace Effect
