#pragma once
// The wipes: named patterns that, for a progress between 0 and 1, give a mask whose opaque
// part grows with the progress. The built-in shapes grow from the centre or sweep like a
// clock hand or an edge; each PNG file of the transition folder reveals its pixels in the
// order of their grey levels.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "effect/effect_item_select.h"
#include "gpu/resource/path_data.h"

namespace Media {
class ImageBuffer;
class ResourceBuffer;
}  // namespace Media

namespace Resource {

// The window of grey levels that a PNG wipe turns from transparent to opaque, and the scale
// of the texture coordinates that keeps the picture's aspect.
struct LuminanceKeyConstants {
  float limitMin = 0.0f;
  float limitMax = 0.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
};

struct TransitionEntry {
  enum Kind : int32_t { kShape = 0, kClock = 1, kHorizontal = 2, kVertical = 3 };

  // What a PNG wipe needs from the layers around it: the decoded picture of a file (none
  // when it cannot be decoded), and the luminance key drawn from that picture into the mask.
  struct Environment {
    std::function<std::shared_ptr<const Media::ImageBuffer>(const std::string& path)> loadImage;
    std::function<void(Media::ResourceBuffer& target, Media::ResourceBuffer& picture,
                       const LuminanceKeyConstants& constants)>
        drawLuminanceKey;
  };

  // The mask at `progress` in the device's pixel format; none for an empty size or a PNG
  // that cannot be decoded. `blur` softens the edge; `keepAspect` keeps shapes and pictures
  // from stretching with the mask.
  std::unique_ptr<Media::ResourceBuffer> createImage(int32_t width, int32_t height, float progress,
                                                     int blur, bool keepAspect,
                                                     const Environment& environment) const;

  static LuminanceKeyConstants luminanceKeyConstants(int blur, float progress, bool keepAspect,
                                                     int32_t width, int32_t height,
                                                     uint32_t pictureWidth, uint32_t pictureHeight);

  std::string name;
  const PathData* path = nullptr;  // null for a PNG wipe
  float scale = 1.0f;
  std::string filePath;            // empty for a built-in
  int32_t kind = kShape;
};

class TransitionList {
 public:
  // The built-ins over `paths`, then the PNG files of `folderPattern` ("%Transition%/*.png")
  // sorted by path; every name becomes the choice of its index in `choices`.
  TransitionList(const BuiltinPaths& paths, std::string_view folderPattern,
                 std::shared_ptr<Effect::EffectItemSelect::SharedList> choices,
                 TransitionEntry::Environment environment);

  // Entry `index` at `progress`; none for an index out of range.
  std::unique_ptr<Media::ResourceBuffer> createImage(int32_t index, int32_t width, int32_t height,
                                                     float progress, int blur,
                                                     bool keepAspect) const;

  const std::vector<TransitionEntry>& entries() const { return entries_; }
  const std::shared_ptr<Effect::EffectItemSelect::SharedList>& choices() const { return choices_; }

 private:
  std::vector<TransitionEntry> entries_;
  std::shared_ptr<Effect::EffectItemSelect::SharedList> choices_;
  TransitionEntry::Environment environment_;
};

}  // namespace Resource
