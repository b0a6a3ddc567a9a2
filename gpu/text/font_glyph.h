#pragma once
// The glyph of one character and its metrics in pixels, for the text engine's layout.
//
// The metrics are the face's design metrics (HarfBuzz) times the face's scale: advances,
// the four side bearings (distance from the advance box to the ink; negative where ink
// reaches outside the box) and the overhangs, the ink outside the box.
#include <cstdint>

#include "gpu/text/font_face.h"

namespace Resource {

// A glyph's design metrics, in design units: the horizontal advance with its side bearings,
// the vertical advance with its side bearings, and the vertical origin's height above the
// baseline.
struct GlyphMetrics {
  int32_t leftSideBearing = 0;
  uint32_t advanceWidth = 0;
  int32_t rightSideBearing = 0;
  int32_t topSideBearing = 0;
  uint32_t advanceHeight = 0;
  int32_t bottomSideBearing = 0;
  int32_t verticalOriginY = 0;
};

struct FontGlyph {
  float advanceX = 0.0f;
  float advanceY = 0.0f;
  float offsetX = 0.0f;
  float offsetY = 0.0f;
  float leftBearing = 0.0f;
  float rightBearing = 0.0f;
  float topBearing = 0.0f;
  float bottomBearing = 0.0f;
  float leftOverhang = 0.0f;
  float rightOverhang = 0.0f;
  float topOverhang = 0.0f;
  float bottomOverhang = 0.0f;
  uint32_t codePoint = 0;
  uint32_t glyphIndex = 0;  // 0: the face has no glyph for the character
  GlyphMetrics metrics;

  // The upright glyph of the character, its origin on the baseline.
  void setGlyph(const FontFace& face, uint32_t codePoint);
  // The glyph for vertical text (the vertical variant where the face has one), centred on
  // the column with its origin at the top; overhangs stay 0.
  void setGlyphVertical(const FontFace& face, uint32_t codePoint);
};

// The design metrics of a glyph of the face.
GlyphMetrics designGlyphMetrics(const FontFace& face, uint32_t glyphIndex);
// The glyph of a character after the face's vertical substitutions.
uint32_t verticalGlyphVariant(const FontFace& face, uint32_t codePoint, uint32_t glyphIndex);

}  // namespace Resource
