#pragma once
// The brushes of the window frame (background, borders, separators, footer), in the colours
// of style.conf [Color]. A key the style does not set keeps the frame's own colour, so a
// short or old style file still gives a usable window.
#include <memory>

#include "gpu/draw2d/draw_resource.h"

namespace Window {

struct FrameBrushes {
  // Reads the colours once; without the settings service every brush has its own colour.
  FrameBrushes();

  std::unique_ptr<Media::SolidColorBrush> background;       // Background
  std::unique_ptr<Media::SolidColorBrush> windowBorder;     // WindowBorder
  std::unique_ptr<Media::SolidColorBrush> windowSeparator;  // WindowSeparator
  std::unique_ptr<Media::SolidColorBrush> borderFocus;      // BorderFocus
  std::unique_ptr<Media::SolidColorBrush> footer;           // Footer
  std::unique_ptr<Media::SolidColorBrush> text;             // Text
  std::unique_ptr<Media::SolidColorBrush> footerProgress[2];  // FooterProgress: bar, done part
};

}  // namespace Window
