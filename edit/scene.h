#pragma once
// One timeline of the project: its layer table (the first part of a scene), its undo
// history, its settings and the editing state the windows share (cursor, focus, selection,
// zoom, camera).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "edit/camera_view.h"
#include "edit/frame_zoom.h"
#include "edit/layer_object_manager.h"
#include "edit/selection.h"
#include "edit/undo_item.h"
#include "system/ini_file.h"

namespace System {
class File;
}

namespace Edit {

class Object;

// "Root" for scene 0, "Scene" and the id for the others (Scene1, Scene2, ...); the words
// pass the translation service.
std::string getDefaultSceneName(int32_t id);

class Scene : public LayerObjectManager {
 public:
  // What Scene::findObject looks for.
  enum MediaKind : int { AnyMedia = 0, Video = 1, Audio = 2, VideoOrAudio = 3, Camera = 4 };

  // One empty layer, an empty history, the default name of the id, 30/1 fps, 1920 x 1080,
  // 48000 Hz, nothing focused or selected, no frame range, the default camera and zoom.
  Scene(int32_t id, int32_t displayOrder);

  // The object on the layer whose frames hold the frame, if it suits the kind: empty when
  // the layer is outside the table or hidden, when no object covers the frame, when the
  // object is switched off (a filter object only when all of its effects are), or when the
  // first effect's media type does not suit the kind.
  std::shared_ptr<Object> findObject(int layer, int frame, int kind) const;
  // The objects a command acts on: the selection when it holds an object, else the focus
  // object when it is still on a layer, else none.
  std::vector<std::shared_ptr<Object>> targetObjects() const;
  // Whether the predicate holds for one of the target objects.
  bool anyTargetObject(const std::function<bool(Object*)>& predicate) const;

  // The keys of the scene's project file section, after the section line; load reads them
  // back (the id is the caller's). Sizes and rates must be positive; frames and the first
  // shown layer are kept inside their ranges.
  void save(System::File& file) const;
  void load(const System::IniFile::SectionRef& section);

  // The scene's information (name, total time, picture size and frame rate, sound rate)
  // in a tooltip at the mouse cursor, through the edit model's UI (scene_info.cpp).
  void showInfoTooltip() const;

  Undo::UndoHistory undoHistory;
  std::string name;
  int32_t id = 0;  // 0 is the root scene
  int32_t rate = 30;
  int32_t scale = 1;  // frames per second = rate / scale
  int32_t width = 1920;
  int32_t height = 1080;
  int32_t audioRate = 48000;
  int32_t cursorFrame = 0;  // kept in 0 .. last frame
  bool playing = false;
  int32_t playStartFrame = 0;
  std::shared_ptr<Object> focusObject;
  int32_t selectedFrameStart = -1;  // -1: no range selected
  int32_t selectedFrameEnd = -1;
  int32_t rangeAnchorFrame = 0;
  CameraView camera;
  int32_t displayFrame = 0;
  int32_t displayFrameCount = 0;
  int32_t displayLayer = 0;
  FrameZoom zoom;
  Selection selection;
  int32_t displayOrder = 0;
};

}  // namespace Edit
