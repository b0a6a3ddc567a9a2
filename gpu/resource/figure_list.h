#pragma once
// The figures the program draws into GPU images: the built-in shapes, then every SVG file
// of the figure folder. The figure object, masks and scripts choose a figure by its index
// in this list (its name is shown in their choice lists).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "effect/effect_item_select.h"
#include "gpu/draw2d/draw_resource.h"
#include "gpu/image/color.h"
#include "gpu/resource/path_data.h"

namespace Media {
class ResourceBuffer;
}

namespace Resource {

struct FigureEntry {
  enum Kind : int32_t { kOther = 0, kBackground = 1, kRectangle = 2, kCircle = 3 };

  // What a figure needs that lies outside it: the rounded stroke style shared with the rest
  // of the program, and the current scene's size for the background figure.
  struct Environment {
    const Media::StrokeStyle* roundedStroke = nullptr;
    std::function<void(int32_t& width, int32_t& height)> sceneSize;
  };

  // The figure drawn at width x height in the colour (straight alpha): an outline
  // `lineWidth` wide, or filled when the line would fill the shape. Format 0 is the device's
  // pixel format. No image for an empty size. A size the GPU refuses throws.
  std::unique_ptr<Media::ResourceBuffer> draw(int32_t width, int32_t height,
                                              const Media::Color::Rgba& colour, float lineWidth,
                                              bool roundedLine, int32_t format,
                                              const Environment& environment) const;

  std::string name;
  const PathData* path = nullptr;  // null for an SVG figure
  std::string filePath;            // empty for a built-in figure
  int32_t kind = kOther;
};

class FigureList {
 public:
  // A filled figure: a line wider than any figure.
  static constexpr float kFilled = 65536.0f;

  // The built-ins over `paths`, then the SVG files of `figureFolderPattern` (a path with a
  // variable, "%Figure%/*.svg") sorted by path; every name becomes the choice of its index
  // in `choices`.
  FigureList(const BuiltinPaths& paths, std::string_view figureFolderPattern,
             std::shared_ptr<Effect::EffectItemSelect::SharedList> choices,
             FigureEntry::Environment environment);

  // Entry `index` drawn as FigureEntry::draw does; none for an index out of range.
  std::unique_ptr<Media::ResourceBuffer> createImage(int32_t index, int32_t width, int32_t height,
                                                     const Media::Color::Rgba& colour,
                                                     float lineWidth, bool roundedLine,
                                                     int32_t format) const;
  // Entry `index` filled in opaque black in the device's mask format, as a mask.
  std::unique_ptr<Media::ResourceBuffer> createImageByName(int32_t index, int32_t width,
                                                           int32_t height) const;

  const std::vector<FigureEntry>& entries() const { return entries_; }
  const std::shared_ptr<Effect::EffectItemSelect::SharedList>& choices() const { return choices_; }

 private:
  std::vector<FigureEntry> entries_;
  std::shared_ptr<Effect::EffectItemSelect::SharedList> choices_;
  FigureEntry::Environment environment_;
};

}  // namespace Resource
