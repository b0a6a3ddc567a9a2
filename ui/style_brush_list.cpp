#include "ui/style_brush_list.h"

#include <exception>
#include <memory>
#include <string>

#include "gpu/resource/style_brush.h"
#include "system/log.h"

namespace Window {
namespace {

constexpr const char* kPlace = "Window::StyleBrushList";
constexpr const char* kFooterProgressKey = "FooterProgress";

// Makes a brush through `make`, or through `fallback` after a WARN when the style's colour
// cannot be read: the interface is then drawn in grey instead of failing to draw at all.
template <class Brush, class Make, class Fallback>
std::unique_ptr<Brush> makeOr(const char* key, Make make, Fallback fallback) {
  try {
    return make();
  } catch (const std::exception& e) {
    System::Log::warn(kPlace, "style colour [Color]%s unusable, drawn in grey: %s", key,
                      e.what());
    return fallback();
  }
}

using SolidSlot = Media::ComResource<Media::SolidColorBrush>;
using GradientSlot = Media::ComResource<Media::LinearGradientBrush>;

void installSolid(SolidSlot& slot, const char* key) {
  slot.setGenerator([key](Media::ComResourcePtr<Media::SolidColorBrush>* out) {
    *out = makeOr<Media::SolidColorBrush>(
        key, [key] { return Resource::ColorBrush::create(key); },
        [] { return Resource::ColorBrush::create(StyleBrushList::kFallback); });
  });
}

// The key's colour at opacity 0.5, whatever opacity the style gives it.
void installHalf(SolidSlot& slot, const char* key) {
  slot.setGenerator([key](Media::ComResourcePtr<Media::SolidColorBrush>* out) {
    auto brush = makeOr<Media::SolidColorBrush>(
        key, [key] { return Resource::ColorBrush::create(key); },
        [] { return Resource::ColorBrush::create(StyleBrushList::kFallback); });
    Media::ColorF colour = brush->color();
    colour.a = 0.5f;
    brush->setColor(colour);
    *out = std::move(brush);
  });
}

void installGradient(GradientSlot& slot, const char* key) {
  slot.setGenerator([key](Media::ComResourcePtr<Media::LinearGradientBrush>* out) {
    *out = makeOr<Media::LinearGradientBrush>(
        key, [key] { return Resource::GradientBrush::create(key); },
        [] {
          return Resource::GradientBrush::create(StyleBrushList::kFallback,
                                                 StyleBrushList::kFallback);
        });
  });
}

void installFade(GradientSlot& slot, const char* key) {
  slot.setGenerator([key](Media::ComResourcePtr<Media::LinearGradientBrush>* out) {
    *out = makeOr<Media::LinearGradientBrush>(
        key, [key] { return Resource::GradientBrush::createAt(key, 0.0f); },
        [] {
          Media::ColorF clear = StyleBrushList::kFallback;
          clear.a = 0.0f;
          return Resource::GradientBrush::create(clear, StyleBrushList::kFallback);
        });
  });
}

void installProgress(SolidSlot& slot, std::size_t index) {
  slot.setGenerator([index](Media::ComResourcePtr<Media::SolidColorBrush>* out) {
    *out = makeOr<Media::SolidColorBrush>(
        kFooterProgressKey, [index] { return Resource::ColorBrush::createFooterProgress(index); },
        [] { return Resource::ColorBrush::create(StyleBrushList::kFallback); });
  });
}

}  // namespace

StyleBrushList::StyleBrushList() {
#define VELUMO_INSTALL_SOLID(member, key) installSolid(member, key);
#define VELUMO_INSTALL_HALF(member, key) installHalf(member, key);
#define VELUMO_INSTALL_GRADIENT(member, key) installGradient(member, key);
#define VELUMO_INSTALL_FADE(member, key) installFade(member, key);
#define VELUMO_INSTALL_PROGRESS(member, index) installProgress(member, index);
  VELUMO_STYLE_BRUSHES(VELUMO_INSTALL_SOLID, VELUMO_INSTALL_HALF, VELUMO_INSTALL_GRADIENT,
                       VELUMO_INSTALL_FADE, VELUMO_INSTALL_PROGRESS)
#undef VELUMO_INSTALL_SOLID
#undef VELUMO_INSTALL_HALF
#undef VELUMO_INSTALL_GRADIENT
#undef VELUMO_INSTALL_FADE
#undef VELUMO_INSTALL_PROGRESS
}

}  // namespace Window
