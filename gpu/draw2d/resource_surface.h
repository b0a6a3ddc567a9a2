#pragma once
// 2-D drawing into GPU images.
//
// Cairo draws in main memory, so a surface on a GPU image is a transparent picture of the
// image's size in main memory: drawing goes there, and when the drawing ends the part that
// was drawn on is uploaded and laid over the image on the GPU (premultiplied "over"). Every
// drawing primitive paints "over" as well, and "over" is associative, so the image ends up
// as if each primitive had been drawn onto it directly, without the image ever coming back
// to main memory.
//
// A bracket, on any thread:
//     Media::ResourceBuffer::Surface surface(buffer);   // getSurface, lock, begin
//     surface.target().drawGeometry(...);
//     surface.endDraw();                                 // upload, unlock
// The lock is the 2-D service's multithread lock, held from before the target is set until
// the upload is done. An exception between begin and end ends the bracket the same way
// (the destructor).
#include <cairo.h>

#include <cstdint>
#include <mutex>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/draw2d/draw_resource.h"
#include "gpu/resource_buffer.h"

namespace Media {

class RenderTargetDirect3D {
 public:
  // A surface for the buffer's image; `drawable` false draws into no image (nothing is
  // uploaded). A picture that cannot be made throws "cairo_image_surface_create".
  RenderTargetDirect3D(ResourceBuffer& buffer, bool drawable);
  RenderTargetDirect3D(RenderTargetDirect3D&& other) noexcept;
  RenderTargetDirect3D& operator=(RenderTargetDirect3D&&) = delete;
  ~RenderTargetDirect3D();

  // Points the drawing context at the picture (null target: lays what was drawn over the
  // GPU image and drops the context). Per-primitive antialiasing; grayscale text.
  void setTarget();
  void clearTarget();
  void beginDraw();
  // Flushes the drawing; the result is the 32-bit code of what went wrong (0 when nothing).
  int32_t endDraw();

  // The geometry moved by (dx, dy): its outline first when a stroke brush is given with a
  // width above 0, then its fill, so the fill covers the inner half of the outline. A
  // failure throws "cairo_fill" or "cairo_stroke" at "Media::RenderTargetDirect3D::drawGeometry".
  void drawGeometry(const PathGeometry& geometry, const Brush* fillBrush, float dx, float dy,
                    const Brush* strokeBrush, float strokeWidth, const StrokeStyle* strokeStyle);

  // The drawing context for other drawing; everything counts as drawn on then.
  cairo_t* context();
  // The drawing context for drawing that stays inside the rectangle, which alone counts as
  // drawn on.
  cairo_t* context(double left, double top, double right, double bottom);
  // Marks a rectangle of the picture as drawn on (clipped to the picture).
  void addDrawnArea(double left, double top, double right, double bottom);

  uint32_t width() const { return width_; }
  uint32_t height() const { return height_; }

 private:
  void upload();

  ResourceBuffer* buffer_;
  bool drawable_;
  uint32_t width_;
  uint32_t height_;
  cairo_surface_t* bitmap_ = nullptr;
  cairo_t* context_ = nullptr;
  // Drawn-on area in pixels; empty while left >= right.
  int32_t drawnLeft_ = 0, drawnTop_ = 0, drawnRight_ = 0, drawnBottom_ = 0;
};

class ResourceBuffer::Surface {
 public:
  // getSurface, the multithread lock, the target set, BeginDraw.
  explicit Surface(ResourceBuffer& buffer);
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  // Ends the bracket when endDraw was not called; a failing upload is logged then.
  ~Surface();

  // EndDraw, the upload, the lock released, the picture dropped. A drawing that failed
  // (Cairo's status) throws "target->EndDraw" and uploads nothing.
  void endDraw();
  RenderTargetDirect3D& target() { return target_; }

 private:
  RenderTargetDirect3D target_;
  std::unique_lock<std::recursive_mutex> lock_;
  bool open_ = true;
};

}  // namespace Media
