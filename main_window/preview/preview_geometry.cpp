#include "main_window/preview/preview_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace Component {

PicturePlacement placePicture(int32_t areaWidth, int32_t areaHeight, uint32_t pictureWidth,
                              uint32_t pictureHeight, int32_t zoom, int32_t scrollX,
                              int32_t scrollY) {
  PicturePlacement placed;
  if (pictureWidth == 0 || pictureHeight == 0) return placed;
  if (zoom > 0) {
    const float sw = static_cast<float>(pictureWidth) * static_cast<float>(zoom) * 0.01f;
    const float sh = static_cast<float>(pictureHeight) * static_cast<float>(zoom) * 0.01f;
    int32_t left = (areaWidth - static_cast<int32_t>(sw)) / 2;
    int32_t top = (areaHeight - static_cast<int32_t>(sh)) / 2;
    if (left < 0 || top < 0) {
      placed.scrollBars = true;
      placed.contentWidth = static_cast<int32_t>(std::lround(sw));
      placed.contentHeight = static_cast<int32_t>(std::lround(sh));
      if (left < 0) left = -scrollX;
      if (top < 0) top = -scrollY;
    }
    placed.rect = {static_cast<float>(left), static_cast<float>(top),
                   static_cast<float>(left) + sw, static_cast<float>(top) + sh};
    return placed;
  }
  if (areaWidth <= 0 || areaHeight <= 0) return placed;
  // Fit: the products are taken in unsigned 64 bits so that large pictures cannot wrap.
  const uint64_t W = static_cast<uint32_t>(areaWidth);
  const uint64_t H = static_cast<uint32_t>(areaHeight);
  if (pictureWidth * H > pictureHeight * W) {
    const float fitted = static_cast<float>(pictureHeight * W) / static_cast<float>(pictureWidth);
    const float top = (static_cast<float>(H) - fitted) / 2.0f;
    placed.rect = {0.0f, top, static_cast<float>(W), top + fitted};
  } else {
    const float fitted = static_cast<float>(pictureWidth * H) / static_cast<float>(pictureHeight);
    const float left = (static_cast<float>(W) - fitted) / 2.0f;
    placed.rect = {left, 0.0f, left + fitted, static_cast<float>(H)};
  }
  return placed;
}

std::vector<int32_t> parseZoomList(std::string_view list) {
  std::vector<int32_t> zooms;
  while (true) {
    const std::size_t comma = list.find(',');
    std::string_view entry = list.substr(0, comma);
    while (!entry.empty() && (entry.front() == ' ' || entry.front() == '\t'))
      entry.remove_prefix(1);
    if (!entry.empty() && entry.front() == '+') entry.remove_prefix(1);
    int32_t value = -1;
    const auto [end, error] = std::from_chars(entry.data(), entry.data() + entry.size(), value);
    if (error != std::errc{}) value = -1;
    if (value >= 0) zooms.push_back(value);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return zooms;
}

std::string zoomText(int32_t zoom) {
  return zoom == 0 ? std::string("WindowSize") : std::to_string(zoom) + "%";
}

int32_t fitZoomPercent(uint32_t pictureWidth, uint32_t pictureHeight, int32_t areaWidth,
                       int32_t areaHeight) {
  if (pictureWidth == 0 || pictureHeight == 0) return 100;
  const uint64_t W = static_cast<uint32_t>(std::max(areaWidth, 0));
  const uint64_t H = static_cast<uint32_t>(std::max(areaHeight, 0));
  return static_cast<int32_t>(
      std::min(H * 100 / pictureHeight, W * 100 / pictureWidth));
}

int32_t draggedZoom(int32_t startZoom, int32_t dy) {
  const int32_t steps = -(dy / 2);
  const double scaled = static_cast<double>(startZoom) * std::pow(1.01, steps);
  // Far drags leave the limits anyway; clamping first keeps the conversion defined.
  int64_t zoom = static_cast<int64_t>(std::round(std::clamp(scaled, -1e9, 1e9)));
  if (zoom == startZoom && steps != 0) zoom += steps > 0 ? 1 : -1;
  return static_cast<int32_t>(std::clamp<int64_t>(zoom, kMinDragZoom, kMaxDragZoom));
}

int32_t wheelFrame(int32_t cursor, int32_t delta, int32_t lastFrame) {
  const int64_t next = static_cast<int64_t>(cursor) + (delta >= 1 ? -1 : 1);
  return static_cast<int32_t>(std::clamp<int64_t>(next, 0, std::max(lastFrame, 0)));
}

}  // namespace Component
