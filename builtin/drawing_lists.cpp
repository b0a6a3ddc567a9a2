#include "builtin/drawing_lists.h"

#include "gpu/resource/resource_service.h"

namespace Effect {

std::shared_ptr<EffectItemSelect::SharedList> transitionChoices() {
  if (const Resource::ResourceService* resources = Resource::ResourceService::instance())
    return resources->transitionList().choices();
  return EffectItemSelect::createSharedList();
}

}  // namespace Effect
