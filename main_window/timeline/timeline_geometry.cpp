#include "main_window/timeline/timeline_geometry.h"

#include <algorithm>
#include <cstdio>

namespace Component::Timeline {
namespace {

constexpr int64_t kUnit = 10000;  // the zoom of one pixel per frame

// A zoom of 0 or less never comes from the zoom table; it is read as the smallest step's
// neighbour 1 so that no formula divides by zero.
int64_t safeZoom(int32_t zoom) { return std::max<int64_t>(zoom, 1); }

int32_t toInt(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t frameToPixel(int64_t frame, int64_t first, int32_t zoom) {
  return toInt(((frame - first) * zoom + kUnit / 2) / kUnit);
}

int32_t pixelToFrame(int64_t x, int64_t first, int32_t zoom) {
  return toInt(x * kUnit / safeZoom(zoom) + first);
}

int32_t pixelsToFrames(int64_t pixels, int32_t zoom) {
  return toInt(pixels * kUnit / safeZoom(zoom));
}

int32_t visibleLayerCount(int32_t rowBandHeight, int32_t layerHeight) {
  const int32_t count = rowBandHeight / std::max(layerHeight, 1) + 1;
  return std::max(count, 0);
}

int32_t visibleFrameCount(int32_t areaWidth, int32_t zoom) {
  const int32_t count = pixelsToFrames(areaWidth, zoom) + 1;
  return std::max(count, 0);
}

int32_t scrollRange(int32_t visible, int32_t lastUsed) {
  return std::max(visible, lastUsed + visible / 2);
}

int32_t clampStart(int32_t value, int32_t limit) {
  return std::clamp(value, 0, std::max(limit, 0));
}

FrameRange resolveFrameRange(FrameRange requested, FrameRange current, int32_t lastFrame) {
  FrameRange range = requested;
  if (range.start < 0 && range.end < 0) return range;
  if (range.start < 0)
    range.start = current.start >= 0 && current.start <= range.end ? current.start : 0;
  else if (range.end < 0)
    range.end = current.end >= 0 && current.end >= range.start ? current.end : lastFrame;
  if (range.start > range.end) std::swap(range.start, range.end);
  return range;
}

int32_t minorTickStep(int32_t spacingPixels, int32_t zoom) {
  return std::max(pixelsToFrames(spacingPixels, zoom), 1);
}

std::string timeLabel(int64_t frame, int32_t rate, int32_t scale) {
  const double seconds =
      rate > 0 ? static_cast<double>(frame) * scale / static_cast<double>(rate) : 0.0;
  const int64_t whole = static_cast<int64_t>(seconds);
  const int64_t hundredths = static_cast<int64_t>(seconds * 100.0) % 100;
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%02lld",
                static_cast<long long>(whole / 3600), static_cast<long long>(whole % 3600 / 60),
                static_cast<long long>(whole % 60), static_cast<long long>(hundredths));
  return text;
}

}  // namespace Component::Timeline
