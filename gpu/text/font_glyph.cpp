#include "gpu/text/font_glyph.h"

#include <algorithm>
#include <memory>

namespace Resource {
namespace {

struct BufferDeleter {
  void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

// Scales the design metrics into the glyph's pixel advances and bearings.
void applyMetrics(FontGlyph& glyph, const FontFace& face) {
  const float scale = face.scale();
  const GlyphMetrics& m = glyph.metrics;
  glyph.advanceX = static_cast<float>(m.advanceWidth) * scale;
  glyph.advanceY = static_cast<float>(m.advanceHeight) * scale;
  glyph.leftBearing = static_cast<float>(m.leftSideBearing) * scale;
  glyph.rightBearing = static_cast<float>(m.rightSideBearing) * scale;
  glyph.topBearing = static_cast<float>(m.topSideBearing) * scale;
  glyph.bottomBearing = static_cast<float>(m.bottomSideBearing) * scale;
}

uint32_t nominalGlyph(const FontFace& face, uint32_t codePoint) {
  hb_codepoint_t glyph = 0;
  if (!hb_font_get_nominal_glyph(face.designFont(), codePoint, &glyph)) return 0;
  return glyph;
}

}  // namespace

GlyphMetrics designGlyphMetrics(const FontFace& face, uint32_t glyphIndex) {
  hb_font_t* font = face.designFont();
  GlyphMetrics m;
  const hb_position_t advance = hb_font_get_glyph_h_advance(font, glyphIndex);
  // HarfBuzz measures vertical advances downwards as negative.
  const hb_position_t advanceHeight = -hb_font_get_glyph_v_advance(font, glyphIndex);
  hb_position_t originX = 0, originY = 0;
  hb_font_get_glyph_v_origin(font, glyphIndex, &originX, &originY);
  hb_glyph_extents_t extents{};
  const bool hasInk = hb_font_get_glyph_extents(font, glyphIndex, &extents) &&
                      extents.width != 0 && extents.height != 0;
  // The ink box: x from xMin to xMax, y from yMin (below) to yMax (above the baseline).
  const int32_t xMin = hasInk ? extents.x_bearing : 0;
  const int32_t xMax = hasInk ? extents.x_bearing + extents.width : 0;
  const int32_t yMax = hasInk ? extents.y_bearing : 0;
  const int32_t yMin = hasInk ? extents.y_bearing + extents.height : 0;
  m.advanceWidth = static_cast<uint32_t>(std::max(advance, 0));
  m.advanceHeight = static_cast<uint32_t>(std::max(advanceHeight, 0));
  m.verticalOriginY = originY;
  if (hasInk) {
    m.leftSideBearing = xMin;
    m.rightSideBearing = advance - xMax;
    m.topSideBearing = originY - yMax;
    m.bottomSideBearing = advanceHeight - (originY - yMin);
  } else {
    // A glyph without ink (a space): the bearings span the whole advance box.
    m.leftSideBearing = 0;
    m.rightSideBearing = advance;
    m.topSideBearing = originY;
    m.bottomSideBearing = advanceHeight - originY;
  }
  return m;
}

uint32_t verticalGlyphVariant(const FontFace& face, uint32_t codePoint, uint32_t glyphIndex) {
  // Shaping the character alone top to bottom applies the face's vertical forms.
  std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
  hb_buffer_add_codepoints(buffer.get(), &codePoint, 1, 0, 1);
  hb_buffer_set_direction(buffer.get(), HB_DIRECTION_TTB);
  hb_buffer_guess_segment_properties(buffer.get());
  hb_shape(face.designFont(), buffer.get(), nullptr, 0);
  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
  return count == 1 ? infos[0].codepoint : glyphIndex;
}

void FontGlyph::setGlyph(const FontFace& face, uint32_t character) {
  codePoint = character;
  glyphIndex = nominalGlyph(face, character);
  metrics = designGlyphMetrics(face, glyphIndex);
  applyMetrics(*this, face);
  leftOverhang = std::max(0.0f, -leftBearing);
  rightOverhang = std::max(0.0f, -rightBearing);
  topOverhang = std::max(0.0f, -topBearing);
  bottomOverhang = std::max(0.0f, -bottomBearing);
  offsetX = 0.0f;
  offsetY = 0.0f;
}

void FontGlyph::setGlyphVertical(const FontFace& face, uint32_t character) {
  codePoint = character;
  glyphIndex = verticalGlyphVariant(face, character, nominalGlyph(face, character));
  metrics = designGlyphMetrics(face, glyphIndex);
  applyMetrics(*this, face);
  leftOverhang = rightOverhang = topOverhang = bottomOverhang = 0.0f;
  offsetX = advanceX * -0.5f;
  offsetY = static_cast<float>(metrics.verticalOriginY) * face.scale();
}

}  // namespace Resource
