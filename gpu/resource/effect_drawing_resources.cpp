#include "gpu/resource/effect_drawing_resources.h"

#include <algorithm>

#include "gpu/draw2d/direct2d_service.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"

namespace Resource {

std::vector<std::string> EffectDrawingResources::fontFamilies() const {
  std::vector<std::string> families;
  if (const Media::Direct2DService* service = Media::Direct2DService::instance())
    for (const Media::FontDefine* entry : service->getFontList())
      families.emplace_back(entry->getName());
  return families;
}

bool EffectDrawingResources::isFontInstalled(std::string_view family) const {
  const Media::Direct2DService* service = Media::Direct2DService::instance();
  return service && service->find(family) != nullptr;
}

std::shared_ptr<Effect::EffectItemSelect::SharedList> EffectDrawingResources::figureList() const {
  ResourceService* service = ResourceService::instance();
  return service ? service->figureList().choices() : nullptr;
}

Effect::OwnedImage EffectDrawingResources::drawFigure(int figure, unsigned width,
                                                      unsigned height) const {
  ResourceService* service = ResourceService::instance();
  if (!service || figure < 0) return {};
  const auto side = [](unsigned value) { return static_cast<int32_t>(std::min(value, 16384u)); };
  const Media::Color::Rgba white{1.0f, 1.0f, 1.0f, 1.0f};
  auto image = service->figureList().createImage(figure, side(width), side(height), white,
                                                 FigureList::kFilled, false, 0);
  return image ? Effect::adoptBuffer(std::move(image)) : Effect::OwnedImage();
}

}  // namespace Resource
