#include "effect/drawing_resources.h"

#include <atomic>

#include "effect/effect_item_font_select.h"

namespace Effect {

namespace {
std::atomic<const DrawingResources*> installedResources{nullptr};
}  // namespace

OwnedImage DrawingResources::drawFigure(int, unsigned, unsigned) const { return {}; }

void setDrawingResources(const DrawingResources* resources) {
  installedResources.store(resources);
  EffectItemFontSelect::dropFontList();
}

const DrawingResources* drawingResources() { return installedResources.load(); }

}  // namespace Effect
