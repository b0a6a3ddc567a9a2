#pragma once
// A saved strip of a window's drawing that can be drawn back: a control that draws a moving
// cursor line saves what lies under it first and puts it back when the cursor moves on.
#include <cairo.h>

#include <cstdint>
#include <memory>

namespace Media {

class RenderTarget;

class WindowTemporaryImage {
 public:
  // Saves the strip from (control x + x, control y) to (control x + x + width, control y +
  // height) of the window's drawing. The control's position is read through the pointer
  // again when the strip is drawn back. The fourth argument is not used: the strip always
  // starts at the top of the control.
  void pushImage(const int32_t* controlPosition, RenderTarget* renderTarget, int32_t x,
                 int32_t ignored, int32_t width, int32_t height);
  // Draws the saved strip back at the same place, inside the window's nested draw scope.
  // Nothing happens before the first pushImage.
  void popImage();

  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

 private:
  struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };

  const int32_t* controlPosition_ = nullptr;  // x, y of the control in its window
  RenderTarget* renderTarget_ = nullptr;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> saved_;
};

}  // namespace Media
