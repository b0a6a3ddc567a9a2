#pragma once
// The drawing part of everything drawn inside the manager window: the window's one render
// target, on which each element opens its own draw scope, the frame brushes and the icons.
#include "gpu/draw2d/render_target.h"
#include "ui/frame_brushes.h"
#include "ui/style_bitmap_list.h"

namespace Window {

struct WindowDrawing {
  Media::RenderTarget* renderTarget = nullptr;  // the window's root target
  const FrameBrushes* brushes = nullptr;
  StyleBitmapList* bitmaps = nullptr;
};

// The drawing part of the current window service (empty without one).
WindowDrawing currentWindowDrawing();

}  // namespace Window
