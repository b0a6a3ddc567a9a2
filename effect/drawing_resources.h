#pragma once
// What the font and figure choices ask of the drawing layer, which lies above the effect
// framework: the installed font families and the figure list. The drawing layer implements
// it and the program installs it at start-up. Without one the font list holds the default
// family alone (every family counting as installed) and the figure list is empty.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect_item_select.h"

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
};

// Installs the resources (nullptr removes them). The next font list is built anew from
// them; items keep the list they were made with. Not while effects are being made.
void setDrawingResources(const DrawingResources* resources);
const DrawingResources* drawingResources();

}  // namespace Effect
