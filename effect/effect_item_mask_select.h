#pragma once
// The mask of the masking and displacement filters: one item that chooses the mask from a
// figure of the drawing layer, a scene of the project (rendered at a matching time) or an
// image (a file, or a text beginning with "*" that names a buffer a script left in the
// render's named buffer cache). It keeps the choice, writes and reads it as text, starts
// loading what the choice needs before a frame is rendered, and gives the mask image.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "effect/edit_access.h"
#include "effect/effect_item_select.h"
#include "effect/owned_buffer.h"
#include "effect/section_position.h"

namespace Effect {

class EffectContext;
class EffectItemCheck;

class EffectItemMaskSelect : public EffectItem {
 public:
  using SharedList = EffectItemSelect::SharedList;

  // Over the drawing layer's figure list. `figure` is taken as given (the filters use 1);
  // `fitLength` (borrowed, may be null) is the check of the same effect that makes a scene
  // mask play the whole scene over the object's length.
  EffectItemMaskSelect(EffectItemList& items, std::string_view name, int figure = 1,
                       const EffectItemCheck* fitLength = nullptr);
  EffectItemMaskSelect(const EffectItemMaskSelect&) = default;

  // Copies and compares the choice: figure, scene and path.
  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  // A mask selection with the same choice, list and fit-length check.
  std::unique_ptr<EffectItem> clone() const override;
  // The path for a file; the figure's name for a figure (a figure the list lacks throws
  // std::out_of_range "invalid map<K, T> key"); the scene's name for a scene, "" when the
  // scene is gone.
  std::string toString() const override;
  // The first that applies: a figure name selects the figure; the name of a scene (the
  // first in the project's scene order) selects the scene; a text holding a "." or
  // beginning with "*" is a path (variable expanded). Anything else, the empty text
  // included, changes nothing, so a scene that was gone when the text was written never
  // becomes a scene that happens to have no name.
  void fromString(std::string_view text) override;
  const std::string* getFilePath() const override;
  // An empty path changes nothing; otherwise the path is chosen (variable expanded).
  void setFilePath(std::string_view path) override;
  ControlKind getControlKind() const override;
  // A mask of the deleted scene becomes the smallest figure, with a WARN line.
  bool forgetScene(int32_t sceneId) override;

  // Chooses a figure and clears the path and scene: the index when the list has it, else the
  // smallest figure (-1 for an empty list).
  void selectFigure(int index);
  // Chooses the scene when the project has it; otherwise the smallest figure.
  void selectScene(int32_t id);

  // Before a frame is rendered: starts loading the file or the scene's frame the mask
  // needs. A figure or a named buffer needs nothing.
  void preload(const EffectContext& context) const;
  // The mask as an image of width x height (a figure), or the file's, scene's or named
  // buffer's image; none when there is no such figure, buffer or image, or the scene is the
  // root scene 0.
  OwnedImage getMaskImage(const EffectContext& context, unsigned width, unsigned height) const;

  // Seconds into the mask scene at `time` (in frames of the object's scene, whose rate is
  // `timing`): the time since the object's start, or, when `fit` is on and the mask scene
  // exists, that time stretched so that the whole mask scene plays once over the object.
  static double sceneSeconds(double time, const ObjectFrames& object,
                             const MediaTime::Timing& timing, bool fit,
                             const std::optional<EditAccess::SceneSpan>& maskScene);

  bool choosesFile() const { return figure < 0 && scene < 0; }
  // Whether the path names a buffer of the render's named buffer cache.
  bool choosesNamedBuffer() const { return choosesFile() && path.starts_with('*'); }

  std::shared_ptr<SharedList> list;  // the figure names; values are figure indices
  int figure;                        // the chosen figure, or -1
  int32_t scene = -1;                // the chosen scene's id, or -1
  std::string path;                  // empty unless figure and scene are -1
  const EffectItemCheck* fitLength;

 private:
  double sceneSecondsAt(const EffectContext& context) const;
};

}  // namespace Effect
