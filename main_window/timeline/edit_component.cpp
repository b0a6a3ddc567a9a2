#include "main_window/timeline/edit_component.h"

#include <algorithm>
#include <memory>

#include "edit/edit_limits.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"
#include "system/setting_service.h"
#include "ui/controls/control_paint.h"
#include "ui/window_service.h"

namespace Component {
namespace {

EditComponent* gInstance = nullptr;

// The virtual key of Shift, whose state extends the frame range while the cursor moves.
constexpr int32_t kShiftKey = 0x10;

// A [Layout] value of style.conf, or `fallback` without settings.
int32_t layoutValue(const char* key, int32_t fallback) {
  Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings) return fallback;
  return settings->style.getOrCreateValue(settings->layout, key).toInt(fallback);
}

int32_t currentScrollBarSize() {
  return Setting::Style::scrollBarSize > 0 ? Setting::Style::scrollBarSize : 20;
}

// The input priority of the container of every control.
constexpr int32_t kContainerPriority = 200;

int32_t zoomStepIndex(int32_t zoom) {
  const auto& steps = Edit::FrameZoom::kSteps;
  const auto found = std::find(steps.begin(), steps.end(), zoom);
  return found == steps.end() ? -1 : static_cast<int32_t>(found - steps.begin());
}

}  // namespace

EditComponent::EditComponent()
    : WindowClientRenderTarget(kTitle, "Window.edit",
                               {0.2f, 0.7f, 0.5f, 1.0f, Window::WindowClient::kBottom, true}),
      gaugeHeight(layoutValue("TimeGaugeHeight", 32)),
      headerWidth(layoutValue("LayerHeaderWidth", 96)),
      layerHeight(std::max(layoutValue("LayerHeight", 28), 1)),
      scrollBarSize(currentScrollBarSize()),
      container(Window::WindowControlContainer::filling(rect, kContainerPriority)),
      mainArea(container, 0, 0, -scrollBarSize, -scrollBarSize),
      rulerBand(mainArea, 0, 0, 0, gaugeHeight),
      rowBand(mainArea, 0, gaugeHeight, 0, 0),
      bottomStrip(container, 0, -scrollBarSize, -scrollBarSize, 0),
      verticalBar(container, -scrollBarSize, 0, scrollBarSize),
      cornerCell(rulerBand, 0, 0, headerWidth, 0),
      sceneButton(cornerCell),
      ruler(*this, rulerBand, headerWidth),
      layerHeaders(*this, rowBand, headerWidth),
      objectArea(*this, rowBand, headerWidth),
      zoomGauge(bottomStrip, 0, headerWidth),
      horizontalBar(bottomStrip, headerWidth, -scrollBarSize, 0, scrollBarSize),
      binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  if (drawing.styleBrushes) cornerCell.fillBrush = drawing.styleBrushes->Background.get();
  ruler.objectArea = &objectArea;
  layerHeaders.layerHeight = objectArea.layerHeight = layerHeight;
  const auto lineHeight = [](Resource::TextFormatResource& font) {
    return static_cast<double>(Resource::TextFormat::getLineHeight(font));
  };
  layerHeaders.textOffset =
      static_cast<int32_t>((layerHeight - lineHeight(*layerHeaders.font)) * 0.5);
  objectArea.textOffset =
      6 - static_cast<int32_t>((layerHeight - 6 - lineHeight(*objectArea.font)) * -0.5);
  sceneButton.text = scene().name;
  wireControls();
  listen();
  gInstance = this;
}

EditComponent::~EditComponent() {
  *alive_ = nullptr;
  if (gInstance == this) gInstance = nullptr;
}

EditComponent* EditComponent::instance() { return gInstance; }

void EditComponent::wireControls() {
  verticalBar.scrollCallback = [this](Control::ScrollBarControl&, int32_t position) {
    setView(Timeline::clampStart(position, layerRange - visibleLayers), firstFrame(),
            scene().cursorFrame);
  };
  horizontalBar.scrollCallback = [this](Control::ScrollBarControl&, int32_t position) {
    setView(firstLayer(), Timeline::clampStart(position, frameRange - visibleFrames),
            scene().cursorFrame);
  };
  zoomGauge.zoomChangedCallback = [this](Control::ZoomGaugeControl&, int32_t value) {
    Edit::FrameZoom zoom;
    zoom.zoom = value;
    setFrameZoom(zoom, scene().cursorFrame);
  };
  sceneButton.clickCallback = [this](Control::ButtonControl&) { showSceneListMenu(); };
  layerHeaders.hoverCallback = [this](int32_t layer) {
    paintTogether(*this, [this, layer] {
      objectArea.drawLayerRow(layer);
      layerHeaders.drawLayerHeader(layer);
    });
  };
}

void EditComponent::listen() {
  if (!eventService) return;
  // Listeners stay registered for the service's life; they reach the window only while it
  // exists.
  const auto self = alive_;
  eventService->cursorFrameChanged().add([self](int frame) {
    if (*self) (*self)->onCursorFrameChanged(frame);
  });
  eventService->editDataChanged().add([self](const Event::ObjectReference&) {
    if (*self) (*self)->refreshAfterEdit(-1);
  });
  eventService->sceneChanged().add([self](int id) {
    if (*self) (*self)->onSceneChanged(id);
  });
  eventService->frameNotice().add([self](int kind, int frame) {
    if (*self) (*self)->onFrameNotice(kind, frame);
  });
  eventService->playbackChanged().add([self](bool playing) {
    if (*self && !playing) (*self)->objectArea.restoreSavedPixels();
  });
}

int32_t EditComponent::frameToPixel(int64_t frame) const {
  return Timeline::frameToPixel(frame, firstFrame(), zoom());
}

int32_t EditComponent::pixelToFrame(int64_t x) const {
  return Timeline::pixelToFrame(x, firstFrame(), zoom());
}

bool EditComponent::updateBar(Control::ScrollBarControl& bar, int32_t start, int32_t visible,
                              int32_t range) {
  if (bar.minimum == std::min(range, 0) && bar.maximum == std::max(range, 0) &&
      bar.viewStart == start && bar.viewEnd == std::min(start + visible, bar.maximum))
    return false;
  bar.minimum = std::min(range, 0);
  bar.maximum = std::max(range, 0);
  bar.setViewRange(bar.viewStart, bar.viewEnd);
  bar.setViewRange(start, start + visible);
  return true;
}

bool EditComponent::setDisplayLayer(int32_t layer, bool forceRange) {
  Edit::Scene& s = scene();
  visibleLayers = Timeline::visibleLayerCount(rect.height - gaugeHeight - scrollBarSize,
                                              layerHeight);
  const int32_t candidate = Timeline::scrollRange(visibleLayers, s.lastUsedLayer());
  if (layerRange < candidate || forceRange) layerRange = candidate;
  const int32_t start = Timeline::clampStart(layer, layerRange - visibleLayers);
  s.displayLayer = start;
  return updateBar(verticalBar, start, visibleLayers, layerRange);
}

bool EditComponent::setDisplayFrame(int32_t frame, bool forceRange) {
  Edit::Scene& s = scene();
  visibleFrames =
      Timeline::visibleFrameCount(rect.width - headerWidth - scrollBarSize, s.zoom.zoom);
  const int32_t candidate = Timeline::scrollRange(visibleFrames, s.lastFrame());
  if (frameRange <= candidate || forceRange) frameRange = candidate;
  const int32_t start = Timeline::clampStart(frame, frameRange - visibleFrames);
  const bool spanChanged = s.displayFrame != start || s.displayFrameCount != visibleFrames;
  s.displayFrame = start;
  s.displayFrameCount = visibleFrames;
  if (spanChanged && eventService) eventService->visibleFramesChanged().fire(start, visibleFrames);
  if (!updateBar(horizontalBar, start, visibleFrames, frameRange)) return false;
  horizontalBar.step = 100;
  return true;
}

void EditComponent::applyFrameZoom(const Edit::FrameZoom& zoom) {
  Edit::Scene& s = scene();
  s.zoom.zoom = zoom.zoom;
  s.zoom.normalizer = zoom.normalizer;
  zoomGauge.zoom.zoom = zoom.zoom;
  zoomGauge.zoom.normalizer = Edit::FrameZoom::defaultNormalizer;
  zoomGauge.litCount = zoomStepIndex(zoom.zoom);
  setDisplayFrame(s.displayFrame, false);
}

void EditComponent::setFrameZoom(const Edit::FrameZoom& zoom, int32_t pivot) {
  const int32_t offset = frameToPixel(pivot);
  applyFrameZoom(zoom);
  setDisplayFrame(pivot - Timeline::pixelsToFrames(offset, scene().zoom.zoom), false);
  paintTogether(*this, [this] {
    zoomGauge.procPaint();
    horizontalBar.procPaint();
    ruler.procPaint();
    objectArea.procPaint();
  });
}

void EditComponent::setView(int32_t layer, int32_t frame, int32_t cursor) {
  Edit::Scene& s = scene();
  const bool layersChanged = setDisplayLayer(layer, false);
  const bool framesChanged = setDisplayFrame(frame, false);
  const int32_t clamped = std::clamp(cursor, 0, std::max(s.lastFrame(), 0));
  const bool cursorChanged = clamped != s.cursorFrame;
  if (cursorChanged) {
    s.cursorFrame = clamped;
    trackFrameRange(clamped);
  }
  if (layersChanged || framesChanged || cursorChanged)
    refresh(false, layersChanged, framesChanged, cursorChanged, -1);
}

void EditComponent::setCursorFromPosition(int32_t x) {
  Edit::Scene& s = scene();
  const int32_t first = s.displayFrame;
  const int32_t offset = Timeline::pixelsToFrames(x, s.zoom.zoom);
  if (first + offset == s.cursorFrame) return;
  const int32_t areaWidth = objectArea.fullRect.width;
  int32_t frame = first;
  if (x < 0)
    frame = std::max(first - Timeline::pixelsToFrames(-static_cast<int64_t>(x), s.zoom.zoom), 0);
  else if (x >= areaWidth)
    frame = std::min(frameRange - visibleFrames,
                     first + Timeline::pixelsToFrames(x - areaWidth + 1, s.zoom.zoom));
  setView(s.displayLayer, frame, first + offset);
  s.cursorFrame = std::clamp(s.cursorFrame, 0, std::max(s.lastFrame(), 0));
  if (eventService) eventService->cursorFrameChanged().fire(s.cursorFrame);
}

void EditComponent::trackFrameRange(int32_t frame) {
  Edit::Scene& s = scene();
  const bool shift = mouseService && mouseService->isKeyDown(kShiftKey);
  if (!editService->settings.moveFrameSelectRangeMode || !shift) {
    s.rangeAnchorFrame = frame;
    return;
  }
  const int32_t start = std::min(frame, s.rangeAnchorFrame);
  const int32_t end = std::max(frame, s.rangeAnchorFrame);
  if (start == s.selectedFrameStart && end == s.selectedFrameEnd) return;
  s.selectedFrameStart = start;
  s.selectedFrameEnd = end;
  if (eventService) eventService->frameRangeChanged().fire(start, end);
}

void EditComponent::setFrameRange(int32_t start, int32_t end) {
  Edit::Scene& s = scene();
  const Timeline::FrameRange current{s.selectedFrameStart, s.selectedFrameEnd};
  const Timeline::FrameRange range =
      Timeline::resolveFrameRange({start, end}, current, s.lastFrame());
  if (range == current) return;
  s.selectedFrameStart = range.start;
  s.selectedFrameEnd = range.end;
  paintTogether(*this, [this] { ruler.procPaint(); });
  if (eventService) eventService->frameRangeChanged().fire(range.start, range.end);
}

void EditComponent::refresh(bool objects, bool layersChanged, bool framesChanged,
                            bool cursorChanged, int32_t layer) {
  paintTogether(*this, [&] {
    if (layersChanged) {
      verticalBar.procPaint();
      layerHeaders.procPaint();
      objects = true;
      layer = -1;
    }
    if (framesChanged || cursorChanged) {
      horizontalBar.procPaint();
      ruler.procPaint();
      objectArea.procPaint();
    } else if (objects) {
      if (layer < 0)
        objectArea.procPaint();
      else
        objectArea.drawLayerRow(layer);
    }
  });
  lastPaintedCursor = scene().cursorFrame;
}

void EditComponent::refreshAfterEdit(int32_t layer) {
  Edit::Scene& s = scene();
  const bool layersChanged = setDisplayLayer(s.displayLayer, true);
  const bool framesChanged = setDisplayFrame(s.displayFrame, true);
  const int32_t clamped = std::clamp(s.cursorFrame, 0, std::max(s.lastFrame(), 0));
  const bool cursorMoved = clamped != s.cursorFrame;
  if (cursorMoved) {
    s.cursorFrame = clamped;
    trackFrameRange(clamped);
  }
  refresh(true, layersChanged, framesChanged, cursorMoved, layer);
}

void EditComponent::ensureLayerSlots() {
  Edit::Scene& s = scene();
  // The bar never reaches past the layer limit, so the table never has to either.
  const int32_t last = std::min(layerRange, Edit::kLayerLimit - 1);
  if (last < s.layerCount()) return;
  Edit::UpdateSection scope = editService->beginUpdate();
  scope.scene->ensureLayer(last);
  scope.close();
}

void EditComponent::procPaint() {
  paintTogether(*this, [this] {
    for (Window::WindowControl* child : container.children) child->procPaint();
  });
}

void EditComponent::procMove() {
  applyScrollBarSize();
  Edit::Scene& s = scene();
  setDisplayLayer(s.displayLayer, true);
  setDisplayFrame(s.displayFrame, true);
  applyFrameZoom(s.zoom);
  container.updateLayout();
}

void EditComponent::applyScrollBarSize() {
  const int32_t size = currentScrollBarSize();
  if (size == scrollBarSize) return;
  scrollBarSize = size;
  mainArea.layoutW = mainArea.layoutH = -size;
  bottomStrip.layoutY = bottomStrip.layoutW = -size;
  verticalBar.layoutX = -size;
  verticalBar.layoutW = size;
  horizontalBar.layoutY = -size;
  horizontalBar.layoutH = size;
}

void EditComponent::onCursorFrameChanged(int32_t frame) {
  if (frame == lastPaintedCursor) return;
  trackFrameRange(frame);
  const int32_t first = firstFrame();
  if (frame < first || frame > first + visibleFrames) {
    setDisplayFrame(frame - visibleFrames / 2, false);
    refresh(false, false, true, true, -1);
    return;
  }
  paintTogether(*this, [this] {
    horizontalBar.procPaint();
    ruler.procPaint();
    objectArea.procPaint();
  });
  lastPaintedCursor = frame;
}

void EditComponent::onSceneChanged(int32_t) {
  Edit::Scene& s = scene();
  applyFrameZoom(s.zoom);
  setDisplayLayer(s.displayLayer, true);
  setDisplayFrame(s.displayFrame, true);
  sceneButton.text = s.name;
  s.rangeAnchorFrame = s.cursorFrame;
  paintTogether(*this, [this] {
    zoomGauge.procPaint();
    horizontalBar.procPaint();
    verticalBar.procPaint();
    ruler.procPaint();
    layerHeaders.procPaint();
    objectArea.procPaint();
    sceneButton.procPaint();
  });
  lastPaintedCursor = s.cursorFrame;
}

void EditComponent::onFrameNotice(int32_t kind, int32_t frame) {
  if (kind != 2) return;
  const int32_t first = firstFrame();
  objectArea.playerCursorFrame = frame;
  if (frame < first || frame > first + visibleFrames) {
    setDisplayFrame(frame, false);
    refresh(false, false, true, true, -1);
  } else if (!objectArea.restoreSavedPixels()) {
    paintTogether(*this, [this] { objectArea.procPaint(); });
  }
  objectArea.drawPlayerCursor();
}

}  // namespace Component
