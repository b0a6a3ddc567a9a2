#pragma once
// The resources of 2-D drawing: colours, brushes, stroke styles, bitmaps and path
// geometries, as Cairo draws them.
//
// Colours are straight (not premultiplied) RGBA floats, as the program gives them; Cairo
// premultiplies when it paints. A linear gradient runs from its start point to its end
// point, which a fill may move (see RenderTarget::fillGradientRectangle). Each type names
// itself for the lazily made resources of com_resource.h.
#include <cairo.h>
#include <pango/pango.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "gpu/com_resource.h"

namespace Media {

struct ColorF {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;
};

struct Point2F {
  float x = 0.0f;
  float y = 0.0f;
};

class Brush {
 public:
  virtual ~Brush() = default;
  // Makes the brush the source of the context's next paint.
  virtual void setSource(cairo_t* context) const = 0;
};

class SolidColorBrush : public Brush {
 public:
  explicit SolidColorBrush(const ColorF& color) : color_(color) {}
  void setSource(cairo_t* context) const override;
  const ColorF& color() const { return color_; }
  void setColor(const ColorF& color) { color_ = color; }

 private:
  ColorF color_;
};

struct GradientStop {
  float position = 0.0f;
  ColorF color;
};

class LinearGradientBrush : public Brush {
 public:
  LinearGradientBrush(std::vector<GradientStop> stops, Point2F start, Point2F end)
      : stops_(std::move(stops)), start_(start), end_(end) {}
  void setSource(cairo_t* context) const override;
  void setStartPoint(Point2F point) { start_ = point; }
  void setEndPoint(Point2F point) { end_ = point; }
  Point2F startPoint() const { return start_; }
  Point2F endPoint() const { return end_; }
  const std::vector<GradientStop>& stops() const { return stops_; }

 private:
  std::vector<GradientStop> stops_;
  Point2F start_;
  Point2F end_;
};

enum class CapStyle : uint8_t { Flat = 0, Square = 1, Round = 2, Triangle = 3 };
enum class LineJoin : uint8_t { Miter = 0, Bevel = 1, Round = 2, MiterOrBevel = 3 };

class StrokeStyle {
 public:
  struct Properties {
    CapStyle startCap = CapStyle::Flat;
    CapStyle endCap = CapStyle::Flat;
    LineJoin lineJoin = LineJoin::Miter;
    float miterLimit = 10.0f;
    float dashOffset = 0.0f;
  };
  StrokeStyle() = default;
  // Dashes in multiples of the stroke width, as the program's dash styles give them.
  StrokeStyle(const Properties& properties, std::vector<float> dashes)
      : properties_(properties), dashes_(std::move(dashes)) {}
  // Sets the context's line from the style and the stroke width.
  void apply(cairo_t* context, float strokeWidth) const;
  const Properties& properties() const { return properties_; }
  // Dash and gap lengths in stroke widths; empty for a solid line.
  const std::vector<float>& dashes() const { return dashes_; }

 private:
  Properties properties_;
  std::vector<float> dashes_;
};

// A picture in main memory that drawing can paint (premultiplied ARGB).
class Bitmap {
 public:
  // A copy of `width` x `height` premultiplied BGRA pixels (rows `pitch` bytes apart).
  Bitmap(uint32_t width, uint32_t height, const void* pixels, uint32_t pitch);
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap();
  cairo_surface_t* surface() const { return surface_; }
  uint32_t width() const;
  uint32_t height() const;

 private:
  cairo_surface_t* surface_ = nullptr;
};

// An outline made of figures of lines and curves.
class PathGeometry {
 public:
  // Takes the path (null for an empty geometry).
  explicit PathGeometry(cairo_path_t* path);
  PathGeometry(const PathGeometry&) = delete;
  PathGeometry& operator=(const PathGeometry&) = delete;
  ~PathGeometry();

  // A closed figure through the points.
  static std::unique_ptr<PathGeometry> createPolygon(const Point2F* points, std::size_t count);
  // The outline of laid-out text, its top-left corner at (0, 0).
  static std::unique_ptr<PathGeometry> createFromLayout(PangoLayout* layout);

  // Appends the outline, moved by (dx, dy), to the context's path.
  void append(cairo_t* context, double dx, double dy) const;
  bool empty() const { return !path_ || path_->num_data == 0; }

 private:
  cairo_path_t* path_;
};

template <>
struct ComResourceTraits<SolidColorBrush> {
  static constexpr const char* name = "struct ID2D1SolidColorBrush";
  using Deleter = std::default_delete<SolidColorBrush>;
};
template <>
struct ComResourceTraits<LinearGradientBrush> {
  static constexpr const char* name = "struct ID2D1LinearGradientBrush";
  using Deleter = std::default_delete<LinearGradientBrush>;
};
template <>
struct ComResourceTraits<StrokeStyle> {
  static constexpr const char* name = "struct ID2D1StrokeStyle";
  using Deleter = std::default_delete<StrokeStyle>;
};
template <>
struct ComResourceTraits<Bitmap> {
  static constexpr const char* name = "struct ID2D1Bitmap";
  using Deleter = std::default_delete<Bitmap>;
};
template <>
struct ComResourceTraits<PathGeometry> {
  static constexpr const char* name = "struct ID2D1PathGeometry";
  using Deleter = std::default_delete<PathGeometry>;
};

}  // namespace Media
