#pragma once
// The column of layer headers left of the timeline rows: one header of the row height per
// visible layer with the layer's name and lock mark. The hovered layer is highlighted here
// and on its row; the wheel scrolls the layers and a right press pans the rows.
#include <cstdint>
#include <functional>
#include <string>

#include "edit/edit_service.h"
#include "gpu/text/text_format.h"
#include "system/event_service.h"
#include "ui/window_control.h"

namespace Component {

class EditComponent;

// The layer's own name, or the word "Layer" (translated through the name table) and its
// 1-based number.
std::string layerDisplayName(const Edit::Scene& scene, int32_t layer);

class EditLayerHeaderControl : public Edit::EditInstance,
                               public Event::EventInstance,
                               public Window::WindowControlRenderTarget {
 public:
  // Placed at (0, 0) in the row band, `width` wide, as high as the band.
  EditLayerHeaderControl(EditComponent& owner, Window::WindowControl& parent, int32_t width);

  void procMouseMove(int32_t x, int32_t y) override;
  void procMouseLeave() override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procPaint() override;

  // Draws one header when the layer lies in the view.
  void drawLayerHeader(int32_t layer);
  // Sets the hovered layer (-1 none); the old and the new one are redrawn.
  void setHoveredLayer(int32_t layer);

  EditComponent& owner;
  int32_t layerHeight = 1;
  int32_t textOffset = 0;
  int32_t hoveredLayer = -1;
  // Redraws a layer's row and header (installed by the owner).
  std::function<void(int32_t layer)> hoverCallback;
  Resource::TextFormatResource* font;
};

}  // namespace Component
