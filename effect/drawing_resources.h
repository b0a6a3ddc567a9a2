#pragma once
// What the font and figure choices ask of the drawing layer, which lies above the effect
// framework: the installed font families, the figure list and a figure drawn as a mask. The
// drawing layer implements it and the program installs it at start-up. Without one the
// font list holds the default family alone (every family counting as installed), the
// figure list is empty and no figure is drawn.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect_item_select.h"
#include "effect/owned_buffer.h"

namespace Effect {

class DrawingResources {
 public:
  virtual ~DrawingResources() = default;
  // The installed families, in the drawing layer's order.
  virtual std::vector<std::string> fontFamilies() const = 0;
  // Whether a family is installed.
  virtual bool isFontInstalled(std::string_view family) const = 0;
  // The figure names (the value of a name is the index of its figure).
  virtual std::shared_ptr<EffectItemSelect::SharedList> figureList() const = 0;
  // The figure of that index filled in opaque white on a new transparent image of the size;
  // none when the index is past the figures. Render workers call it.
  virtual OwnedImage drawFigure(int figure, unsigned width, unsigned height) const;
};

// Installs the resources (nullptr removes them). The next font list is built anew from
// them; items keep the list they were made with. Not while effects are being made.
void setDrawingResources(const DrawingResources* resources);
const DrawingResources* drawingResources();

}  // namespace Effect
