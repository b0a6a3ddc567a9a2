#include "ui/style_bitmap_list.h"

#include <cairo.h>

#include <exception>
#include <memory>
#include <string>

#include "gpu/svg/svg_document.h"
#include "system/exception.h"
#include "ui/icon_resources.h"

namespace Window {
namespace {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};

// The first line of an error's text: enough to say why, without a second message box
// layout inside the first.
std::string firstLine(const char* text) {
  const std::string all(text);
  return all.substr(0, all.find('\n'));
}

}  // namespace

Media::ComResourcePtr<Media::Bitmap> drawIconBitmap(int id, std::string_view svg) {
  if (svg.empty())
    throw System::makeFormattedException(StyleBitmapList::kPlace, "icon resource not found.",
                                         "resource id %d", id);
  constexpr int size = StyleBitmapList::kSize;
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size));
  std::unique_ptr<cairo_t, ContextDeleter> context(cairo_create(surface.get()));
  try {
    const Media::SvgDocument document(svg, "icon resource " + std::to_string(id));
    document.draw(context.get(), size, size);
  } catch (const std::exception& failure) {
    throw System::makeFormattedException(StyleBitmapList::kPlace,
                                         "icon resource can not be drawn.", "resource id %d : %s",
                                         id, firstLine(failure.what()).c_str());
  }
  context.reset();
  cairo_surface_flush(surface.get());
  return std::make_unique<Media::Bitmap>(size, size, cairo_image_surface_get_data(surface.get()),
                                         cairo_image_surface_get_stride(surface.get()));
}

StyleBitmapList::StyleBitmapList(ResourceReader reader)
    : reader_(reader ? std::move(reader) : ResourceReader(findIconResource)) {
  const auto install = [this](Media::ComResource<Media::Bitmap>& slot, int id) {
    slot.setGenerator([this, id](Media::ComResourcePtr<Media::Bitmap>* out) {
      if (!renderTarget)
        throw System::makeFormattedException(kPlace, "render target not set.", "resource id %d",
                                             id);
      *out = drawIconBitmap(id, reader_(id));
    });
  };
#define VELUMO_INSTALL_BITMAP(member, id) install(member, id);
  VELUMO_STYLE_BITMAPS(VELUMO_INSTALL_BITMAP)
#undef VELUMO_INSTALL_BITMAP
}

}  // namespace Window
