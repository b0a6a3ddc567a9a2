#pragma once
// The column of layer headers left of the timeline rows: one header of the row height per
// visible layer with the layer's name and lock mark. The hovered layer is highlighted here
// and on its row. A click shows or hides the layer (with Ctrl it selects the layer's
// objects), a drag moves the layer, the wheel scrolls the layers, a right press pans the rows,
// and the context menu locks, shows, renames, inserts and deletes layers. Every layer edit is
// one undo step.
#include <cstdint>
#include <functional>
#include <string>

#include "edit/edit_service.h"
#include "edit/layer.h"
#include "gpu/text/text_format.h"
#include "edit/undo_service.h"
#include "system/event_service.h"
#include "ui/window_control.h"

namespace Component {

class EditComponent;

// The layer's own name, or the word "Layer" (translated through the name table) and its
// 1-based number.
std::string layerDisplayName(const Edit::Scene& scene, int32_t layer);

class EditLayerHeaderControl : public Edit::EditInstance,
                               public Event::EventInstance,
                               public Undo::UndoInstance,
                               public Window::WindowControlRenderTarget {
 public:
  // Placed at (0, 0) in the row band, `width` wide, as high as the band.
  EditLayerHeaderControl(EditComponent& owner, Window::WindowControl& parent, int32_t width);

  void procMouseMove(int32_t x, int32_t y) override;
  void procMouseDrag(int32_t dx, int32_t dy) override;
  void procKeyRelease() override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procLButtonUp(int32_t x, int32_t y) override;
  void procRButtonDown(int32_t x, int32_t y) override;
  void procMouseLeave() override;
  void procCaptureCancel() override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procContextMenu(int32_t x, int32_t y) override;
  void procPaint() override;

  // --- layer edits, each one undo step -----------------------------------------------------
  void toggleLayerLock(int32_t layer);
  void toggleLayerHide(int32_t layer);
  // Hides every other layer when all are shown, else shows every layer.
  void toggleOtherLayers(int32_t layer);
  // Asks for the layer's name; an empty name gives the layer its default name back.
  void renameLayer(int32_t layer);
  // A new empty layer at `layer`; the layers from there on move one down.
  void insertLayer(int32_t layer);
  // Removes the layer with its objects; the later layers move one up.
  void deleteLayer(int32_t layer);
  // One change of a layer's record in its own scope and undo step.
  void updateLayerRecord(int32_t layer, const std::function<void(Edit::Layer&)>& change);
  // The first move of a layer drag opens its undo step and records where the layer was.
  void beginLayerMove();

  // Draws one header when the layer lies in the view.
  void drawLayerHeader(int32_t layer);
  // Sets the hovered layer (-1 none); the old and the new one are redrawn.
  void setHoveredLayer(int32_t layer);

  EditComponent& owner;
  int32_t layerHeight = 1;
  int32_t textOffset = 0;
  int32_t hoveredLayer = -1;
  bool layerMoved = false;  // the current drag has moved its layer
  // Redraws a layer's row and header (installed by the owner).
  std::function<void(int32_t layer)> hoverCallback;
  Resource::TextFormatResource* font;
};

}  // namespace Component
