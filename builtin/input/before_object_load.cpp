#include "builtin/input/before_object_load.h"

#include "render/render_service.h"

namespace Effect {

BeforeObjectLoad::BeforeObjectLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video) {}

std::shared_ptr<EffectBase> BeforeObjectLoad::create() const {
  return std::make_shared<BeforeObjectLoad>();
}

}  // namespace Effect

namespace Effect {

OwnedImage BeforeObjectLoad::inputVideo(EffectContext&) {
  // The image the render engine kept from the object drawn just before, moved out of its
  // holder.
  Render::RenderService* render = Render::RenderService::instance();
  return render ? render->video().takeSpareImage() : OwnedImage();
}

}  // namespace Effect
