#pragma once
// The timeline window "レイヤー編集": the current scene as rows of layers along a frame axis,
// with the layer headers on the left, the time ruler on top, the zoom gauge and the scroll
// bars. The window owns the view state (first layer and frame shown, how many fit, the
// zoom), the timeline's own settings and the option menu; its parts ask it for that state
// and call its view operations. One window exists per process.
#include <cstdint>
#include <memory>

#include "edit/edit_service.h"
#include "edit/frame_zoom.h"
#include "edit/scene.h"
#include "main_window/timeline/edit_layer_header_control.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/time_gauge_control.h"
#include "main_window/timeline/timeline_settings.h"
#include "system/config.h"
#include "system/event_service.h"
#include "ui/controls/rect_control.h"
#include "ui/controls/scroll_bar_control.h"
#include "ui/controls/text_button_control.h"
#include "ui/controls/zoom_gauge_control.h"
#include "ui/window_client.h"

namespace Component {

class EditComponent : public Edit::EditInstance,
                      public Event::EventInstance,
                      public Window::WindowClientRenderTarget {
 public:
  static constexpr const char* kTitle = "レイヤー編集";

  // The scene selector in the corner above the headers: a click lists the scenes, a right
  // click offers the scene commands, hovering shows the scene's information.
  class SceneButtonControl : public Control::TextButtonControl {
   public:
    explicit SceneButtonControl(Window::WindowControl& parent);
    void procContextMenu(int32_t x, int32_t y) override;
    void procMouseHover() override;
  };

  // Builds the controls, loads the settings and listens to the cursor, the edit data, the
  // scenes, the player's frames and the playback state.
  EditComponent();
  ~EditComponent() override;

  // The window of the process, or null while none exists.
  static EditComponent* instance();

  // --- view operations -------------------------------------------------------------------
  // Shows `layer` (or `frame`) first, kept inside the scroll range; the range grows with the
  // scene and shrinks only when forced. True when the view changed.
  bool setDisplayLayer(int32_t layer, bool forceRange);
  bool setDisplayFrame(int32_t frame, bool forceRange);
  // Adopts the zoom for the scene and the gauge (no repaint).
  void applyFrameZoom(const Edit::FrameZoom& zoom);
  // Changes the zoom keeping `pivot` at the same pixel column, and repaints.
  void setFrameZoom(const Edit::FrameZoom& zoom, int32_t pivot);
  // Shows the layer and frame first and moves the cursor (kept inside the scene).
  void setView(int32_t layer, int32_t frame, int32_t cursor);
  // Puts the cursor on the frame under x of the object area, scrolling when x lies past one
  // of its edges, and tells the cursor listeners.
  void setCursorFromPosition(int32_t x);
  // Selects a frame range; -1 for one end completes it, -1, -1 clears it.
  void setFrameRange(int32_t start, int32_t end);
  // With Shift held (and the range mode on) the cursor drags the range from its anchor;
  // otherwise the cursor becomes the anchor.
  void trackFrameRange(int32_t frame);
  // Repaints what changed: the layers (bar, headers, rows), the frames or the cursor (bar,
  // ruler, rows), or the rows alone (`layer` -1 all, else that one).
  void refresh(bool objects, bool layersChanged, bool framesChanged, bool cursorChanged,
               int32_t layer);
  // After an edit: the ranges follow the scene, the cursor stays inside it, then repaint.
  void refreshAfterEdit(int32_t layer);
  // Makes sure every layer the vertical bar reaches has its slot.
  void ensureLayerSlots();

  void procPaint() override;
  void procMove() override;
  void createPopupMenu(Window::BaseMenu& menu) override;
  // The option items that every part of the timeline puts at the end of its context menu,
  // followed by the window menu.
  void appendOptionMenu(Window::BaseMenu& menu);
  // The popup of the scene button: one radio item per scene.
  void showSceneListMenu();

  // --- listeners ---------------------------------------------------------------------------
  void onCursorFrameChanged(int32_t frame);
  void onSceneChanged(int32_t sceneId);
  // A frame notice; only the player's (kind 2) moves the playback line.
  void onFrameNotice(int32_t kind, int32_t frame);

  // The listeners' way back to the window, emptied when the window goes (listeners are
  // never removed). Made before the parts, which listen too.
  std::shared_ptr<EditComponent*> aliveToken() const { return alive_; }

 private:
  std::shared_ptr<EditComponent*> alive_ = std::make_shared<EditComponent*>(this);

 public:
  // --- view state read by the parts ------------------------------------------------------
  Edit::Scene& scene() const { return *editService->currentScene(); }
  int32_t zoom() const { return scene().zoom.zoom; }
  int32_t firstLayer() const { return scene().displayLayer; }
  int32_t firstFrame() const { return scene().displayFrame; }
  // Whether the layer has a row in the view.
  bool isLayerInView(int32_t layer) const {
    return layer >= 0 && layer >= firstLayer() && layer < firstLayer() + visibleLayers;
  }
  // Whether the layer is switched off for rendering.
  bool isLayerHidden(int32_t layer) const {
    const auto& record = scene().getLayerObjects(layer).layer;
    return record && record->hidden;
  }
  // The pixel column of a frame in the object area and the ruler, and the frame under one.
  int32_t frameToPixel(int64_t frame) const;
  int32_t pixelToFrame(int64_t x) const;

  TimelineSettings settings;
  int32_t gaugeHeight;   // G: the ruler's height
  int32_t headerWidth;   // W: the header column's width
  int32_t layerHeight;   // H: one row
  int32_t scrollBarSize; // S
  int32_t visibleLayers = 0;
  int32_t visibleFrames = 0;
  int32_t layerRange = 0;  // layer positions the vertical bar spans
  int32_t frameRange = 0;  // frames the horizontal bar spans
  int32_t lastPaintedCursor = -1;

  Window::WindowControlContainer container;
  Control::LayoutControl mainArea;
  Control::LayoutControl rulerBand;
  Control::LayoutControl rowBand;
  Control::LayoutControl bottomStrip;
  Control::ScrollBarControl verticalBar;
  Control::RectControl cornerCell;
  SceneButtonControl sceneButton;
  TimeGaugeControl ruler;
  EditLayerHeaderControl layerHeaders;
  EditLayerObjectControl objectArea;
  Control::ZoomGaugeControl zoomGauge;
  Control::ScrollBarControl horizontalBar;

 private:
  // Puts the bar at [start, start + visible] of [0, range]; false when it showed that.
  static bool updateBar(Control::ScrollBarControl& bar, int32_t start, int32_t visible,
                        int32_t range);
  void wireControls();
  void listen();
  // The scroll bar thickness follows the style; the controls placed by it move with it.
  void applyScrollBarSize();

  System::Config::Section config_{"Edit"};
  System::Config::Table table_{config_, settings, TimelineSettings::entries()};
  System::Config::Binding binding_;
};

}  // namespace Component
