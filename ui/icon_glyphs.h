#pragma once
// Line-segment glyphs of the small icon buttons. Icons are drawn from vector data rather
// than images so that they stay sharp at every display scale. A glyph is an ordered list of
// straight strokes; coordinates are fractions of the icon box (0 left or top edge, 1 right
// or bottom edge) and the stroke width is a fraction of the box's height. A segment whose
// two ends coincide is a dot, so the drawing must use round or square caps.
//
// The lists are constant data, fixed at compile time; icons keep the returned span (which
// refers to static storage) and only read it.
#include <span>
#include <string_view>

namespace Window {

struct GlyphSegment {
  float x1;
  float y1;
  float x2;
  float y2;
  float width;
  bool operator==(const GlyphSegment&) const = default;
};

enum class IconGlyph {
  DoubleLeft,   // two chevrons pointing left (player: previous)
  DoubleRight,  // two chevrons pointing right (player: next)
  BarLeft,      // stem and a bar at the left, drawn with a triangle (player: to start)
  BarRight,     // mirror of BarLeft (player: to end)
  Pause,        // two vertical bars (preview: pause)
  Plus,         // plus sign (setting header: add a filter)
  ArrowLeft,    // explorer: back
  ArrowRight,   // explorer: forward
  ArrowUp,      // explorer: parent folder
  Folder,       // folder outline with a tab (explorer)
  List,         // three lines each with a dot before it (time-control header)
  SliderPlus,   // heavier plus set to the right (number slider: increase)
  SliderMinus,  // heavier minus set to the left (number slider: decrease)
  Close,        // diagonal cross (colour, text and time-control headers)
};

inline constexpr int kIconGlyphCount = static_cast<int>(IconGlyph::Close) + 1;

// The segments of a glyph, in drawing order. An out-of-range value gives an empty span.
std::span<const GlyphSegment> getIconGlyph(IconGlyph glyph);

// The glyph's name in lower-case words ("double left", "slider minus"); "" when out of range.
std::string_view getIconGlyphName(IconGlyph glyph);

// A segment placed in an icon box: pixel coordinates and a stroke width in pixels.
struct GlyphLine {
  float x1;
  float y1;
  float x2;
  float y2;
  float width;
  bool operator==(const GlyphLine&) const = default;
};

// Maps a segment into the box at (left, top) of the given size: x by the width, y and the
// stroke width by the height.
GlyphLine placeGlyphSegment(const GlyphSegment& segment, float left, float top, float width,
                            float height);

}  // namespace Window
