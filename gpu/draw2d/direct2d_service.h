#pragma once
// The process-wide entry point of 2-D drawing and text.
//
// Shapes are drawn with Cairo and text is laid out with Pango over fontconfig; the service
// owns the font map that every text layout is made from. It also holds the lock that every
// drawing into GPU images takes for its whole bracket (multithread()): drawing may happen
// on any thread, and the font map and the upload of each drawing are shared.
//
// Its font part, the table of installed fonts, is filled once when the service is made.
#include <pango/pango.h>

#include <cstdint>
#include <memory>
#include <mutex>

#include "gpu/draw2d/font_manager.h"
#include "system/service_holder.h"

namespace Media {

class Direct2DService : public FontManager, public System::Service<Direct2DService> {
 public:
  // The service; throws when it has not been created.
  static Direct2DService& Get();

  // Fills the font table and makes the font map (fontconfig's fonts). A failure of the map
  // throws "pango_cairo_font_map_new" at "Media::Direct2DService::Direct2DService".
  Direct2DService();
  ~Direct2DService();
  Direct2DService(const Direct2DService&) = delete;
  Direct2DService& operator=(const Direct2DService&) = delete;

  // The font map (used under multithread()).
  PangoFontMap* fontMap() const { return fontMap_.get(); }
  // The lock of drawing into GPU images and of text layout, reentrant on one thread.
  std::recursive_mutex& multithread() { return multithread_; }

 private:
  struct FontMapDeleter {
    void operator()(PangoFontMap* map) const;
  };
  std::unique_ptr<PangoFontMap, FontMapDeleter> fontMap_;
  std::recursive_mutex multithread_;
};

// Gives its owner the service, taken when the owner is constructed.
class Direct2DInstance {
 public:
  Direct2DInstance() : Direct2D(&Direct2DService::Get()) {}
  Direct2DService* Direct2D;
};

}  // namespace Media
