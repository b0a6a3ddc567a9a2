#pragma once
// The vector shapes of the built-in figures and wipes.
//
// A path is a list of commands in its own coordinates plus the box of those coordinates
// that is fitted onto the target rectangle, so one path draws at any size. Arcs sweep
// clockwise on the screen (y grows downwards).
#include <array>
#include <memory>
#include <vector>

#include <cairo.h>

#include "gpu/draw2d/draw_resource.h"

namespace Resource {

// Where commands add themselves: a path being built, and the mapping of path coordinates
// to pixels, (x, y) -> (x * scaleX + offsetX, y * scaleY + offsetY).
struct PathSink {
  cairo_t* context;
  double offsetX;
  double offsetY;
  double scaleX;
  double scaleY;

  double mapX(double x) const { return x * scaleX + offsetX; }
  double mapY(double y) const { return y * scaleY + offsetY; }
};

class PathCommand {
 public:
  virtual ~PathCommand() = default;
  virtual void addToSink(const PathSink& sink) const = 0;
};

// Starts a new filled figure at the point.
class PathCommandMoveTo : public PathCommand {
 public:
  PathCommandMoveTo(float x, float y) : x_(x), y_(y) {}
  void addToSink(const PathSink& sink) const override;

 private:
  float x_, y_;
};

class PathCommandLineTo : public PathCommand {
 public:
  PathCommandLineTo(float x, float y) : x_(x), y_(y) {}
  void addToSink(const PathSink& sink) const override;

 private:
  float x_, y_;
};

// An elliptical arc from the current point to (x, y), its radii scaled with the path,
// rotated by `rotation` degrees, the large or the small of the two possible arcs.
class PathCommandArcTo : public PathCommand {
 public:
  PathCommandArcTo(float x, float y, float radiusX, float radiusY, float rotation, bool largeArc,
                   bool clockwise = true)
      : x_(x), y_(y), radiusX_(radiusX), radiusY_(radiusY), rotation_(rotation),
        largeArc_(largeArc), clockwise_(clockwise) {}
  void addToSink(const PathSink& sink) const override;

 private:
  float x_, y_, radiusX_, radiusY_, rotation_;
  bool largeArc_, clockwise_;
};

// A quadratic curve to (x, y) pulled towards the control point.
class PathCommandBezier2To : public PathCommand {
 public:
  PathCommandBezier2To(float x, float y, float controlX, float controlY)
      : x_(x), y_(y), controlX_(controlX), controlY_(controlY) {}
  void addToSink(const PathSink& sink) const override;

 private:
  float x_, y_, controlX_, controlY_;
};

class PathCommandClosePath : public PathCommand {
 public:
  void addToSink(const PathSink& sink) const override;
};

class PathData {
 public:
  // The outline fitted so that the box covers exactly (x, y, width, height).
  std::unique_ptr<Media::PathGeometry> createPathGeometry(float x, float y, float width,
                                                          float height) const;

  float boxX = 0.0f;
  float boxY = 0.0f;
  float boxWidth = 1.0f;
  float boxHeight = 1.0f;
  // The diameter of the largest circle inside the shape over the box's shorter side; 0 for
  // a shape that is only ever filled.
  float inscribedRatio = 0.0f;
  std::vector<std::unique_ptr<PathCommand>> commands;
};

// The built-in paths, in their fixed order: circle, square, triangle, pentagon, hexagon,
// star, heart, diamond.
enum BuiltinPath { kCircle, kSquare, kTriangle, kPentagon, kHexagon, kStar, kHeart, kDiamond };
using BuiltinPaths = std::array<PathData, 8>;
void buildBuiltinPaths(BuiltinPaths& paths);

}  // namespace Resource
