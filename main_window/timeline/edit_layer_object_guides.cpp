// The guides drawn on a timeline row under its objects: the layer ranges that control
// objects above act on, and the BPM grid.
#include <algorithm>

#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"

namespace Component {
namespace {

// Grid lines closer than this many pixels are not drawn.
constexpr double kMinimumGridSpacing = 6.0;

}  // namespace

void EditLayerObjectControl::drawLayerRange(Media::RenderTarget& target,
                                            Window::StyleBrushList& brushes, int32_t from,
                                            int32_t to, bool last, int64_t spanEnd) {
  const int32_t height = layerHeight;
  const int32_t left = owner.frameToPixel(from);
  const int32_t right = owner.frameToPixel(std::min<int64_t>(static_cast<int64_t>(to) + 1, spanEnd));
  const Media::Brush& frame = *brushes.LayerRangeFrame.get();
  target.fillRectangle(left, 0, right, height, *brushes.LayerRange.get());
  target.drawLine(left + 1, 0, left + 1, height, frame, 2, nullptr);
  target.drawLine(right - 1, 0, right - 1, height, frame, 2, nullptr);
  if (last) target.drawLine(left + 2, height - 1, right - 2, height - 1, frame, 2, nullptr);
}

void EditLayerObjectControl::drawTempoGrid(Media::RenderTarget& target,
                                           Window::StyleBrushList& brushes, int64_t from,
                                           int64_t to) {
  const Edit::Scene& scene = owner.scene();
  const TimelineSettings& grid = owner.settings;
  if (scene.rate <= 0 || scene.scale <= 0 || grid.tempoBeatPerMinute <= 0.0f) return;
  const double beat = scene.rate * 60.0 / (scene.scale * static_cast<double>(grid.tempoBeatPerMinute));
  const double origin = scene.rate * static_cast<double>(grid.tempoOffsetTime) / scene.scale;
  const double pixelsPerFrame = owner.zoom() / 10000.0;
  double step = 0.0;
  bool everyBeat = false;
  if (beat > 0.0 && beat * pixelsPerFrame >= kMinimumGridSpacing) {
    step = beat;
    everyBeat = true;
  } else if (grid.tempoBeatTime >= 2 && beat * grid.tempoBeatTime * pixelsPerFrame >= kMinimumGridSpacing) {
    step = beat * grid.tempoBeatTime;
  } else {
    return;
  }
  const Media::StrokeStyle* style = dashedStroke();
  const int64_t first = static_cast<int64_t>((from - origin) / step);
  const int64_t last = static_cast<int64_t>((to - origin) / step);
  for (int64_t i = first; i <= last; ++i) {
    const bool bar = !everyBeat || (grid.tempoBeatTime != 0 && i % grid.tempoBeatTime == 0);
    const int32_t x = owner.frameToPixel(static_cast<int64_t>(i * step + origin));
    target.drawLine(x, 1, x, layerHeight, bar ? *brushes.Border.get() : *brushes.GuideLine.get(),
                    1, style);
  }
}

}  // namespace Component
