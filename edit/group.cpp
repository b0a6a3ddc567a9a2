#include "edit/group.h"

#include <algorithm>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "edit/scene.h"

namespace Edit {

std::vector<std::shared_ptr<Object>> Group::getObjects(const std::shared_ptr<Group>& group,
                                                       const Scene& scene) {
  std::vector<std::shared_ptr<Object>> objects;
  if (!group) return objects;
  for (Object* member : group->members) {
    if (member->layer == -1) continue;
    const LayerObjects& slot = scene.getLayerObjects(member->layer);
    // The object that covers the member's start on its layer is the member itself while the
    // layer is sorted. Between a move and the next rebuild the slot is not (and may still
    // list a removed object there), so the member is then looked for in the whole slot; a
    // member the scene does not hold is not one of its objects.
    std::shared_ptr<Object> found = findNearestObject(slot, member->start, member->start);
    if (found.get() != member) {
      const auto listed =
          std::find_if(slot.objects.begin(), slot.objects.end(),
                       [member](const auto& object) { return object.get() == member; });
      found = listed == slot.objects.end() ? nullptr : *listed;
    }
    if (found) objects.push_back(std::move(found));
  }
  // The member set has no order: the result does not depend on where the members lie in
  // memory.
  std::sort(objects.begin(), objects.end(), [](const auto& a, const auto& b) {
    return a->layer != b->layer ? a->layer < b->layer : a->start < b->start;
  });
  return objects;
}

}  // namespace Edit
