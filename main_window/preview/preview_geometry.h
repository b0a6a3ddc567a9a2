#pragma once
// The arithmetic of the preview picture: where the frame lies in the picture area at a zoom,
// whether it needs scroll bars, the zoom choices of system.conf, the zoom button's drag and
// the wheel's frame step. Pure functions, so the window's behaviour can be checked without
// a window.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "main_window/preview/anchor_layout.h"

namespace Component {

// Where the picture goes in an area, and the scroll bars it needs.
struct PicturePlacement {
  Anchor::PictureRect rect;
  bool scrollBars = false;
  int32_t contentWidth = 0;  // the scaled picture's size, when scroll bars are needed
  int32_t contentHeight = 0;
};

// The picture of w x h pixels in the area W x H at `zoom` (0 fits the area, n > 0 is n
// percent); `scrollX` and `scrollY` are the scroll bars' view starts, used for a side that
// is larger than the area. Without a picture (a side of 0) the rectangle is empty.
PicturePlacement placePicture(int32_t areaWidth, int32_t areaHeight, uint32_t pictureWidth,
                              uint32_t pictureHeight, int32_t zoom, int32_t scrollX,
                              int32_t scrollY);

// The entries of the PreviewZoom list that are 0 or more, in order; an entry that is not a
// number counts as -1 and is left out.
std::vector<int32_t> parseZoomList(std::string_view list);
// "WindowSize" for 0, else the percentage followed by "%".
std::string zoomText(int32_t zoom);

// The percentage that fits the picture into the area, or 100 without a picture.
int32_t fitZoomPercent(uint32_t pictureWidth, uint32_t pictureHeight, int32_t areaWidth,
                       int32_t areaHeight);
// The zoom button's drag: the zoom at the press changed by 1 % per 2 pixels up, at least one
// step per step moved, kept in 10 .. 4000. `startZoom` must not be 0 (replace fit first).
int32_t draggedZoom(int32_t startZoom, int32_t dy);
inline constexpr int32_t kMinDragZoom = 10;
inline constexpr int32_t kMaxDragZoom = 4000;

// The frame the wheel goes to: back one for a delta of 1 or more, forward one otherwise,
// kept in 0 .. lastFrame.
int32_t wheelFrame(int32_t cursor, int32_t delta, int32_t lastFrame);

}  // namespace Component
