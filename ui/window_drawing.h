#pragma once
// The drawing part of everything drawn inside the manager window: the window's one render
// target, on which each element opens its own draw scope, the style brushes and the icons.
#include "gpu/draw2d/render_target.h"
#include "ui/style_bitmap_list.h"
#include "ui/style_brush_list.h"

namespace Window {

struct WindowDrawing {
  Media::RenderTarget* renderTarget = nullptr;  // the window's root target
  StyleBrushList* styleBrushes = nullptr;
  StyleBitmapList* bitmaps = nullptr;
};

// The drawing part of the current window service (empty without one).
WindowDrawing currentWindowDrawing();

}  // namespace Window
