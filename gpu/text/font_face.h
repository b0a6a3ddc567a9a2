#pragma once
// The face a text engine draws with and the metrics its layout uses.
//
// The design metrics are read from the font file with HarfBuzz; the glyphs themselves are
// laid out and drawn through Pango with the face's description.
#include <cairo.h>
#include <hb.h>

#include <memory>
#include <string_view>

#include "gpu/draw2d/font_manager.h"

namespace Resource {

class FontFace {
 public:
  // Replaces the face with the one the font table gives for (name, bold, italic) and
  // recomputes the metrics. A face whose file cannot be read throws "font->CreateFontFace"
  // at "Resource::FontFace::setFont".
  void setFont(std::string_view familyName, float size, bool bold, bool italic, bool vertical);

  const Media::Font& font() const { return font_; }
  hb_face_t* face() const { return face_.get(); }
  // The face at its design scale: metrics read through it are in design units.
  hb_font_t* designFont() const { return designFont_.get(); }
  // The face for Cairo, which draws outlines and colour glyphs.
  cairo_font_face_t* cairoFace() const { return cairoFace_.get(); }
  float size() const { return size_; }
  bool vertical() const { return vertical_; }
  // The distance between lines (columns when vertical).
  float lineHeight() const { return lineHeight_; }
  // From the top of a line to its baseline; from a column's right edge to its centre line.
  float ascent() const { return ascent_; }
  // Pixels per design unit.
  float scale() const { return scale_; }

 private:
  struct FaceDeleter {
    void operator()(hb_face_t* face) const { hb_face_destroy(face); }
  };
  struct FontDeleter {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
  };
  struct CairoFaceDeleter {
    void operator()(cairo_font_face_t* face) const { cairo_font_face_destroy(face); }
  };
  Media::Font font_;
  std::unique_ptr<hb_face_t, FaceDeleter> face_;
  std::unique_ptr<hb_font_t, FontDeleter> designFont_;
  std::unique_ptr<cairo_font_face_t, CairoFaceDeleter> cairoFace_;
  float size_ = 0.0f;
  bool vertical_ = false;
  float lineHeight_ = 0.0f;
  float ascent_ = 0.0f;
  float scale_ = 0.0f;
};

}  // namespace Resource
