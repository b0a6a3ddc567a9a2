#include "main_window/timeline/edit_layer_header_control.h"

#include <algorithm>

#include "edit/layer.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"
#include "system/translate_service.h"
#include "ui/controls/control_paint.h"

namespace Component {

std::string layerDisplayName(const Edit::Scene& scene, int32_t layer) {
  const std::shared_ptr<Edit::Layer>& record = scene.getLayerObjects(layer).layer;
  if (record && !record->name.empty()) return record->name;
  return Translate::translateText(Translate::TranslateService::TextKind::Name, "Layer") +
         std::to_string(layer + 1);
}

EditLayerHeaderControl::EditLayerHeaderControl(EditComponent& component,
                                               Window::WindowControl& parent, int32_t width)
    : WindowControlRenderTarget(parent, 0, 0, width, 0),
      owner(component),
      font(&Control::textFormat(Resource::ResourceService::kControl)) {
  acceptsRightButton = acceptsWheel = acceptsContextMenu = true;
  if (eventService) {
    // The column lives as long as the window, whose listeners hold the way back to it.
    eventService->layersChanged().add([this, alive = owner.aliveToken()] {
      if (*alive) Control::repaint(*this);
    });
  }
}

void EditLayerHeaderControl::setHoveredLayer(int32_t layer) {
  if (layer == hoveredLayer) return;
  if (const int32_t old = hoveredLayer; old >= 0) {
    hoveredLayer = -1;
    if (hoverCallback) hoverCallback(old);
  }
  hoveredLayer = layer;
  if (layer >= 0 && hoverCallback) hoverCallback(layer);
}

void EditLayerHeaderControl::procMouseMove(int32_t, int32_t y) {
  setHoveredLayer(y / layerHeight + owner.firstLayer());
}

void EditLayerHeaderControl::procMouseLeave() { setHoveredLayer(-1); }

void EditLayerHeaderControl::procRButtonDown(int32_t x, int32_t y) {
  // A right drag on the headers pans the rows, as it does on the rows themselves.
  if (!mouseService || mouseService->pressedTarget() != this) return;
  EditLayerObjectControl& area = owner.objectArea;
  mouseService->handPress(&area);
  area.procRButtonDown(x + visibleRect.x - area.visibleRect.x, y + visibleRect.y - area.visibleRect.y);
}

void EditLayerHeaderControl::procMouseWheel(int32_t, int32_t, int32_t delta) {
  const int32_t layer = owner.firstLayer() + (delta > 0 ? -1 : 1);
  owner.setView(Timeline::clampStart(layer, owner.layerRange - owner.visibleLayers),
                owner.firstFrame(), owner.scene().cursorFrame);
}

void EditLayerHeaderControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  owner.ensureLayerSlots();
  Control::ControlDrawScope scope(*this);
  const int32_t first = owner.firstLayer();
  for (int32_t layer = first; layer < first + owner.visibleLayers; ++layer) drawLayerHeader(layer);
}

void EditLayerHeaderControl::drawLayerHeader(int32_t layer) {
  if (!owner.isLayerInView(layer) || !Control::isPaintable(*this)) return;
  const int32_t width = fullRect.width, height = layerHeight;
  RowDrawScope scope(*this, (layer - owner.firstLayer()) * height, height);
  Media::RenderTarget& target = scope.paint.target();
  Window::StyleBrushList& brushes = scope.paint.brushes();
  const Edit::Scene& scene = owner.scene();
  const std::shared_ptr<Edit::Layer>& record = scene.getLayerObjects(layer).layer;
  const bool hidden = owner.isLayerHidden(layer);
  target.fillRectangle(0, 0, width, height,
                       rowBackground(brushes, layer == hoveredLayer, hidden,
                                     *brushes.LayerHeader.get()));
  Control::MeasuredText name = Control::measureText(*font, layerDisplayName(scene, layer));
  Resource::TextLayout::setTrimming(name.layout.get(), width - 4,
                                    *Resource::TextFormat::getTrimmingSign(*font));
  scope.paint.drawLayout(name.layout.get(), 4, textOffset,
                   hidden ? *brushes.TextDisable.get() : *brushes.Text.get());
  if (record && record->locked && drawing.bitmaps)
    target.drawBitmap(*drawing.bitmaps->Lock.get(), width - height / 2 - 1,
                      height / 2 - height / 4, width - 1, height / 2 + height / 4, 1.0f);
  target.drawRectangle(0, 0, width, height + 1, *brushes.Border.get(), 2, nullptr);
}

}  // namespace Component
