// Feeds arbitrary bytes to the SVG reader, as figure files from anywhere may hold them. A
// document either parses or is refused with an error; a parsed one that counts as one
// colour, once recoloured, still counts as one colour in the new colour, and it draws (or
// refuses to draw with an error) into a small picture without the GPU.
#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "gpu/svg/svg_document.h"
#include "system/log.h"

namespace {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::unique_ptr<Media::SvgDocument> document;
  try {
    document = std::make_unique<Media::SvgDocument>(bytes, "fuzz.svg");
  } catch (const std::exception&) {
    return 0;
  }
  if (document->monochrome()) {
    const Media::Color::Rgba colour{0.25f, 0.5f, 0.75f, 1.0f};
    Media::SvgDocument::setColor(document->root(), colour);
    Media::SvgDocument::RecordedColor recorded;
    if (!Media::SvgDocument::checkMonochrome(document->root(), recorded))
      FuzzSupport::fail("a recoloured one-colour drawing has two colours");
  }
  if (document->explicitSize()) document->setRootSize(16.0f, 16.0f);
  const std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 16));
  const std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
  try {
    document->draw(context.get(), 16.0, 16.0);
  } catch (const std::exception&) {
  }
  return 0;
}
