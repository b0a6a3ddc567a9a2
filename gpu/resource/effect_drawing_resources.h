#pragma once
// What the effect framework asks of the drawing layer, answered from the font table and the
// shared drawing resources: the installed font families for font choices, the figure list
// and a figure drawn as a mask. The program installs it once both services exist.
#include "effect/drawing_resources.h"

namespace Resource {

class EffectDrawingResources : public Effect::DrawingResources {
 public:
  // The registered font names in the locale's order.
  std::vector<std::string> fontFamilies() const override;
  bool isFontInstalled(std::string_view family) const override;
  std::shared_ptr<Effect::EffectItemSelect::SharedList> figureList() const override;
  // The figure filled in opaque white in the device's pixel format.
  Effect::OwnedImage drawFigure(int figure, unsigned width, unsigned height) const override;
};

}  // namespace Resource
