#include "gpu/text/font_face.h"

#include <cairo-ft.h>
#include <hb-ot.h>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/hresult.h"
#include "system/exception.h"

namespace Resource {
namespace {

constexpr const char* kPlace = "Resource::FontFace::setFont";

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct BlobDeleter {
  void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};
hb_position_t metric(hb_font_t* font, hb_ot_metrics_tag_t tag) {
  hb_position_t position = 0;
  hb_ot_metrics_get_position_with_fallback(font, tag, &position);
  return position;
}

}  // namespace

void FontFace::setFont(std::string_view familyName, float size, bool bold, bool italic,
                       bool vertical) {
  Media::Font font = Media::Direct2DService::Get().getFont(familyName, bold, italic);
  const std::string file = font.file();
  std::unique_ptr<hb_blob_t, BlobDeleter> blob(
      file.empty() ? nullptr : hb_blob_create_from_file_or_fail(file.c_str()));
  if (!blob) throw System::makeHresultException("font->CreateFontFace", kPlace, Media::Hresult::kFail);
  std::unique_ptr<hb_face_t, FaceDeleter> face(
      hb_face_create(blob.get(), static_cast<unsigned>(font.faceIndex())));
  const unsigned unitsPerEm = hb_face_get_upem(face.get());
  if (hb_face_get_glyph_count(face.get()) == 0 || unitsPerEm == 0)
    throw System::makeHresultException("font->CreateFontFace", kPlace, Media::Hresult::kFail);

  // A font object at the design scale reads the metrics in design units.
  std::unique_ptr<hb_font_t, FontDeleter> designFont(hb_font_create(face.get()));
  // The listed face with the rendering settings of the system (embedded bitmaps, colour
  // glyphs, antialiasing) added, as Cairo needs them to draw every kind of glyph.
  std::unique_ptr<FcPattern, PatternDeleter> request(FcPatternCreate());
  FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
  FcDefaultSubstitute(request.get());
  std::unique_ptr<FcPattern, PatternDeleter> prepared(
      FcFontRenderPrepare(nullptr, request.get(), font.pattern.get()));
  std::unique_ptr<cairo_font_face_t, CairoFaceDeleter> cairoFace(
      cairo_ft_font_face_create_for_pattern(prepared ? prepared.get() : font.pattern.get()));
  if (cairo_font_face_status(cairoFace.get()) != CAIRO_STATUS_SUCCESS)
    throw System::makeHresultException("font->CreateFontFace", kPlace, Media::Hresult::kFail);
  const float ascent = static_cast<float>(metric(designFont.get(),
                                                 HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER));
  const float descent = -static_cast<float>(metric(designFont.get(),
                                                   HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER));
  const float lineGap = static_cast<float>(metric(designFont.get(),
                                                  HB_OT_METRICS_TAG_HORIZONTAL_LINE_GAP));

  font_ = std::move(font);
  face_ = std::move(face);
  designFont_ = std::move(designFont);
  cairoFace_ = std::move(cairoFace);
  size_ = size;
  vertical_ = vertical;
  scale_ = size / static_cast<float>(unitsPerEm);
  if (vertical) {
    ascent_ = size * 0.5f;
    lineHeight_ = size;
  } else {
    ascent_ = ascent * scale_;
    lineHeight_ = (ascent + lineGap + descent) * scale_;
  }
}

}  // namespace Resource
