#pragma once
// The arithmetic every part of the timeline shares: where a frame lies in pixels at a zoom
// (10000 is one pixel per frame) and back, how many layers and frames fit, how a requested
// frame range is completed, the ruler's tick steps and its time labels.
//
// Frames and zooms are ints; products are taken in 64 bits so that a far frame at the
// largest zoom cannot overflow.
#include <cstdint>
#include <string>

namespace Component::Timeline {

// The pixel column of frame `frame` when `first` is the first displayed frame (rounded to
// the nearest column).
int32_t frameToPixel(int64_t frame, int64_t first, int32_t zoom);
// The frame under pixel column `x` (truncated toward zero).
int32_t pixelToFrame(int64_t x, int64_t first, int32_t zoom);
// How many frames `pixels` pixels span at the zoom (truncated toward zero).
int32_t pixelsToFrames(int64_t pixels, int32_t zoom);

// Layers of height `layerHeight` that fit into `rowBandHeight` pixels: a band lower than
// one row still shows one, a band more than a row too small none.
int32_t visibleLayerCount(int32_t rowBandHeight, int32_t layerHeight);
// Frames that fit into `areaWidth` pixels at the zoom; 0 when the area has no width.
int32_t visibleFrameCount(int32_t areaWidth, int32_t zoom);
// The scroll range a bar spans: at least the visible count, and far enough past the last
// used position to show half a view of empty space after it.
int32_t scrollRange(int32_t visible, int32_t lastUsed);
// `value` kept in 0 .. max(limit, 0).
int32_t clampStart(int32_t value, int32_t limit);

struct FrameRange {
  int32_t start = -1;
  int32_t end = -1;
  bool operator==(const FrameRange&) const = default;
};
// The range a request (start, end) selects, given the current range and the scene's last
// frame: -1, -1 clears it; a missing start or end is taken from the current range when that
// still fits, else 0 or the last frame; reversed ends are swapped.
FrameRange resolveFrameRange(FrameRange requested, FrameRange current, int32_t lastFrame);

// The ruler's minor tick step in frames for a tick spacing in pixels; at least one frame.
int32_t minorTickStep(int32_t spacingPixels, int32_t zoom);
// The ruler's label of a frame: "hh:mm:ss.cc" of frame × scale / rate seconds.
std::string timeLabel(int64_t frame, int32_t rate, int32_t scale);

}  // namespace Component::Timeline
