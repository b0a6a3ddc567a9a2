#include "gpu/draw2d/direct2d_service.h"

#include <pango/pangocairo.h>

#include "gpu/hresult.h"
#include "system/exception.h"

namespace Media {
namespace {

constexpr const char* kPlace = "Media::Direct2DService::Direct2DService";

}  // namespace

void Direct2DService::FontMapDeleter::operator()(PangoFontMap* map) const { g_object_unref(map); }

Direct2DService& Direct2DService::Get() {
  Direct2DService* service = instance();
  if (!service)
    throw System::makeException("Media::Direct2DService::Get", "Direct2DService not created.");
  return *service;
}

Direct2DService::Direct2DService() {
  registerFont();
  // A map of its own (not the process default), so that its lifetime is the service's.
  fontMap_.reset(pango_cairo_font_map_new());
  if (!fontMap_) throw System::makeHresultException("pango_cairo_font_map_new", kPlace, Hresult::kFail);
}

Direct2DService::~Direct2DService() = default;

}  // namespace Media
