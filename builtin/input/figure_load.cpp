#include "builtin/input/figure_load.h"

#include <cmath>

#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "gpu/svg/svg_document.h"

namespace Effect {

FigureLoad::FigureLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      figure(items, "図形の種類", nullptr, kFigureItemType),
      size(items, "サイズ", 100.0, 0.0, 4000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      lineWidth(items, "ライン幅", 4000.0, 0.0, 4000.0, 1.0),
      color(items, "色", 0xFFFFFF),
      roundCorners(items, "角を丸くする", false) {
  figure.notify = true;
}

std::shared_ptr<EffectBase> FigureLoad::create() const { return std::make_shared<FigureLoad>(); }

}  // namespace Effect

namespace Effect {

OwnedImage FigureLoad::inputVideo(EffectContext& context) {
  const float side = static_cast<float>(size.getValue(context));
  const float a = static_cast<float>(aspect.getValue(context));
  float width = side;
  float height = side;
  if (a > 0.0f) width = side * ((100.0f - a) * 0.01f);
  if (a < 0.0f) height = side * ((a + 100.0f) * 0.01f);
  if (width < 1.0f || height < 1.0f) return {};
  const auto w = static_cast<int32_t>(std::ceil(width));
  const auto h = static_cast<int32_t>(std::ceil(height));
  const Media::Color::Rgba colour{color.red / 255.0f, color.green / 255.0f, color.blue / 255.0f,
                                  1.0f};
  std::unique_ptr<Media::ResourceBuffer> image;
  if (figure.id < 0) {
    if (figure.path.empty()) return {};
    image = Media::SvgDocument::setSize(figure.path, w, h, colour, 0);
  } else {
    image = Resource::ResourceService::Get().figureList().createImage(
        figure.id, w, h, colour, static_cast<float>(lineWidth.getValue(context)),
        roundCorners.value, 0);
  }
  return image ? adoptBuffer(std::move(image)) : OwnedImage();
}

}  // namespace Effect
