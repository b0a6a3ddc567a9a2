#pragma once
// Glyphs of a face at a size as Cairo draws them: the outline of a glyph (to fill and edge),
// and glyphs of colour fonts drawn in their own colours (layered colour glyphs, and the
// bitmap glyphs of emoji fonts).
#include <cstdint>
#include <memory>

#include "gpu/draw2d/draw_resource.h"
#include "gpu/text/font_face.h"

namespace Media {

class RenderTargetDirect3D;

class GlyphPainter {
 public:
  GlyphPainter(const Resource::FontFace& face, float size) : face_(face), size_(size) {}

  // The glyph's outline with its origin at (0, 0) on the baseline, y downwards. A face Cairo
  // cannot outline throws "font.get()->GetGlyphRunOutline" at "Media::TextDraw::drawGlyph".
  std::unique_ptr<PathGeometry> outline(uint32_t glyphIndex) const;
  // Draws the glyph at the baseline origin (x, y) when the face gives it colours of its own
  // and returns true; false for an ordinary glyph. Layers in the text colour's slot take
  // `textColor`.
  bool drawColorGlyph(RenderTargetDirect3D& target, uint32_t glyphIndex, float x, float y,
                      const ColorF& textColor) const;

 private:
  bool drawLayers(RenderTargetDirect3D& target, uint32_t glyphIndex, float x, float y,
                  const ColorF& textColor) const;
  bool drawBitmap(RenderTargetDirect3D& target, uint32_t glyphIndex, float x, float y) const;
  void selectFont(cairo_t* context) const;

  const Resource::FontFace& face_;
  float size_;
};

}  // namespace Media
