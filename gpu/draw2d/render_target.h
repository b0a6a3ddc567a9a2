#pragma once
// The drawing surface that windows and controls paint through, with nested draw scopes.
//
// A DrawTarget is a Cairo context on a surface (the top-level window's backing image, for
// one). Many RenderTargets share it: the top-level one is the root and counts the nesting of
// beginDraw/endDraw, so a frame is one bracket however many controls draw in it; every
// control's RenderTarget keeps its own clip rectangle and origin. A DrawScope opens a
// control's area: relative to the current one (children inside their parent) or absolute.
//
// Coordinates of the draw operations are integer pixels relative to the origin; outlines sit
// on pixel centres (x + 0.5), fills on pixel edges, so that 1-pixel lines are exact.
#include <cairo.h>

#include <cstdint>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/draw2d/draw_resource.h"

namespace Media {

// Stands for the shared drawing target: a Cairo context on a surface.
class DrawTarget {
 public:
  // Draws on the surface (a reference is taken).
  explicit DrawTarget(cairo_surface_t* surface);
  DrawTarget(const DrawTarget&) = delete;
  DrawTarget& operator=(const DrawTarget&) = delete;
  ~DrawTarget();

  // The frame's bracket: the state is saved at the start and restored at the end, and the
  // surface is flushed; the result is the 32-bit code of what went wrong (0 when nothing).
  void beginDraw();
  int32_t endDraw();
  void pushAxisAlignedClip(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void popAxisAlignedClip();

  cairo_t* context() const { return context_; }
  cairo_surface_t* surface() const { return surface_; }
  // How often each was called, for the frame statistics.
  uint32_t beginDrawCount() const { return beginDraws_; }
  uint32_t endDrawCount() const { return endDraws_; }
  uint32_t clipPushCount() const { return clipPushes_; }

 private:
  cairo_surface_t* surface_;
  cairo_t* context_;
  uint32_t beginDraws_ = 0;
  uint32_t endDraws_ = 0;
  uint32_t clipPushes_ = 0;
};

class RenderTarget : public Direct2DInstance {
 public:
  // A root target on `target` (not owned), its rectangle (0, 0, width, height).
  RenderTarget(DrawTarget* target, int32_t width, int32_t height);
  // A target that shares the root's drawing target and nesting count.
  explicit RenderTarget(RenderTarget& root);

  // On the root: the first begin starts the frame (BeginDraw); the last end ends it
  // (EndDraw), whose failure throws "target->EndDraw" at "Media::RenderTarget::endDraw".
  void beginDraw();
  void endDraw();

  class DrawScope {
   public:
    DrawScope(RenderTarget& renderTarget, int32_t left, int32_t top, int32_t right,
              int32_t bottom, bool absolute);
    DrawScope(const DrawScope&) = delete;
    DrawScope& operator=(const DrawScope&) = delete;
    // Pops the clip when one was pushed, restores the rectangle and origin, then ends the
    // draw (which may throw "target->EndDraw"; while another exception is on its way out,
    // the failure is logged instead).
    ~DrawScope() noexcept(false);

   private:
    RenderTarget& target_;
    int32_t savedX_, savedY_, savedWidth_, savedHeight_, savedOriginX_, savedOriginY_;
    int exceptions_;
    bool clipPushed_ = false;
  };

  void drawRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, const Brush& brush,
                     int32_t strokeWidth, const StrokeStyle* strokeStyle);
  void drawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const Brush& brush,
                int32_t strokeWidth, const StrokeStyle* strokeStyle);
  void fillRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom, const Brush& brush);
  // Points the brush across the rectangle, left to right at its middle height, then fills.
  void fillGradientRectangle(int32_t left, int32_t top, int32_t right, int32_t bottom,
                             LinearGradientBrush& brush);
  void drawBitmap(const Bitmap& bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  float opacity);
  // The closed outline through `count` points; a failure throws "cairo_stroke" at
  // "Media::RenderTarget::drawPath".
  void drawPath(const Point2F* points, int32_t count, const Brush& brush, float strokeWidth,
                const StrokeStyle* strokeStyle);
  // The triangle of the first three points; a failure throws "cairo_fill" at
  // "Media::RenderTarget::fillPath".
  void fillPath(const Point2F* points, const Brush& brush);
  // A line between points at any sub-pixel position (the preview's handles).
  void drawSegment(Point2F from, Point2F to, const Brush& brush, float strokeWidth,
                   const StrokeStyle* strokeStyle);
  // The circle's outline, and the filled disc.
  void drawCircle(Point2F center, float radius, const Brush& brush, float strokeWidth,
                  const StrokeStyle* strokeStyle);
  void fillCircle(Point2F center, float radius, const Brush& brush);

  int32_t clipX = 0, clipY = 0, clipWidth = 0, clipHeight = 0;
  int32_t originX = 0, originY = 0;
  int32_t drawCount = 0;  // only the root's is used
  DrawTarget* target = nullptr;
  RenderTarget* root = nullptr;

 private:
  void stroke(const Brush& brush, float strokeWidth, const StrokeStyle* strokeStyle,
              const char* place);
};

}  // namespace Media
