#pragma once
// The bounds of the edit model's coordinates, and the checks every outside value passes
// before it reaches the layer table or an object's frames.
#include <algorithm>
#include <cstdint>
#include <limits>

namespace Edit {

// Layers are numbered 0 .. kLayerLimit - 1. The layer items of the effects (the layer range
// of a group or camera control, the camera's target layer) reach 1000 layers, so the table
// never needs more; an index from a file, a script or a computation outside this range is
// refused before the table grows, so a damaged number can never allocate millions of slots.
inline constexpr int32_t kLayerLimit = 1000;

// Frames are 0 .. kMaxFrame. One below the 32-bit maximum, so that the frame after any
// object's end ("end + 1", where the next object may begin) is still a frame.
inline constexpr int32_t kMaxFrame = std::numeric_limits<int32_t>::max() - 1;

inline constexpr bool isValidLayer(int64_t layer) { return layer >= 0 && layer < kLayerLimit; }
inline constexpr bool isValidFrame(int64_t frame) { return frame >= 0 && frame <= kMaxFrame; }

// A frame computed in 64 bits (a sum or difference of frames, a cursor move) brought back
// into the valid frame range.
inline constexpr int32_t clampFrame(int64_t frame) {
  return static_cast<int32_t>(std::clamp<int64_t>(frame, 0, kMaxFrame));
}

}  // namespace Edit
