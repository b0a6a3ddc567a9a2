#include "gpu/text/glyph_painter.h"

#include <hb-ot.h>

#include <vector>

#include "gpu/draw2d/resource_surface.h"
#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::TextDraw::drawGlyph";

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};
struct BlobDeleter {
  void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};

// A context of the thread's own for building outlines and measuring, never drawn on.
cairo_t* scratchContext() {
  thread_local std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
  thread_local std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
  return context.get();
}

ColorF colorOf(hb_color_t color) {
  return {hb_color_get_red(color) / 255.0f, hb_color_get_green(color) / 255.0f,
          hb_color_get_blue(color) / 255.0f, hb_color_get_alpha(color) / 255.0f};
}

}  // namespace

void GlyphPainter::selectFont(cairo_t* context) const {
  cairo_set_font_face(context, face_.cairoFace());
  cairo_set_font_size(context, size_);
  // Exact outlines at any size: no hinting, no rounding of metrics.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(context, options);
  cairo_font_options_destroy(options);
}

std::unique_ptr<PathGeometry> GlyphPainter::outline(uint32_t glyphIndex) const {
  cairo_t* context = scratchContext();
  cairo_save(context);
  selectFont(context);
  cairo_new_path(context);
  const cairo_glyph_t glyph{glyphIndex, 0.0, 0.0};
  cairo_glyph_path(context, &glyph, 1);
  cairo_path_t* path = cairo_copy_path(context);
  cairo_new_path(context);
  cairo_restore(context);
  if (!path || path->status != CAIRO_STATUS_SUCCESS) {
    cairo_path_destroy(path);
    throw System::makeHresultException("font.get()->GetGlyphRunOutline", kPlace, Hresult::kFail);
  }
  return std::make_unique<PathGeometry>(path);
}

bool GlyphPainter::drawColorGlyph(RenderTargetDirect3D& target, uint32_t glyphIndex, float x,
                                  float y, const ColorF& textColor) const {
  return drawLayers(target, glyphIndex, x, y, textColor) || drawBitmap(target, glyphIndex, x, y);
}

bool GlyphPainter::drawLayers(RenderTargetDirect3D& target, uint32_t glyphIndex, float x, float y,
                              const ColorF& textColor) const {
  hb_face_t* face = face_.face();
  if (!hb_ot_color_has_layers(face)) return false;
  const unsigned layerCount = hb_ot_color_glyph_get_layers(face, glyphIndex, 0, nullptr, nullptr);
  if (layerCount == 0) return false;
  std::vector<hb_ot_color_layer_t> layers(layerCount);
  unsigned count = layerCount;
  hb_ot_color_glyph_get_layers(face, glyphIndex, 0, &count, layers.data());
  unsigned colourCount = hb_ot_color_palette_get_colors(face, 0, 0, nullptr, nullptr);
  std::vector<hb_color_t> colours(colourCount);
  hb_ot_color_palette_get_colors(face, 0, 0, &colourCount, colours.data());
  for (unsigned i = 0; i < count; ++i) {
    const unsigned index = layers[i].color_index;
    // 0xFFFF is the text colour's slot.
    const ColorF colour = index < colourCount ? colorOf(colours[index]) : textColor;
    const SolidColorBrush brush(colour);
    target.drawGeometry(*outline(layers[i].glyph), &brush, x, y, nullptr, 0.0f, nullptr);
  }
  return true;
}

bool GlyphPainter::drawBitmap(RenderTargetDirect3D& target, uint32_t glyphIndex, float x,
                              float y) const {
  if (!hb_ot_color_has_png(face_.face())) return false;
  const std::unique_ptr<hb_blob_t, BlobDeleter> png(
      hb_ot_color_glyph_reference_png(face_.designFont(), glyphIndex));
  if (hb_blob_get_length(png.get()) == 0) return false;

  // The bitmap's box from the face's metrics (Cairo measures no ink of colour bitmaps).
  hb_glyph_extents_t extents{};
  hb_font_get_glyph_extents(face_.designFont(), glyphIndex, &extents);
  const double scale = face_.scale();
  const double left = x + extents.x_bearing * scale;
  const double top = y - extents.y_bearing * scale;
  cairo_glyph_t glyph{glyphIndex, x, y};
  cairo_t* context = target.context(left, top, left + extents.width * scale,
                                    top - extents.height * scale);
  if (!context) return true;
  cairo_save(context);
  selectFont(context);
  cairo_set_source_rgba(context, 0, 0, 0, 1);
  cairo_show_glyphs(context, &glyph, 1);
  cairo_restore(context);
  return true;
}

}  // namespace Media
