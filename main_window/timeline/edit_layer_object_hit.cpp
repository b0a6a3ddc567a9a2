// What lies under the pointer on the timeline rows: the object nearest the pointer on its
// row and the part of it a press would grip, and the hover mark that follows it.
#include <cstdlib>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/timeline_paint.h"

namespace Component {
namespace {

// How near in pixels the pointer must be to grip an edge or a midpoint.
constexpr int32_t kReach = 8;
constexpr int32_t kControlKey = 0x11;

}  // namespace

int32_t EditLayerObjectControl::findMidpointAt(const Edit::Object& object, int32_t x) const {
  const int32_t count = static_cast<int32_t>(object.boundaries.size());
  if (count == 0) return -1;
  const auto boundary = [&](int32_t k) -> int64_t {
    if (k <= 0) return object.start;
    if (k > count) return static_cast<int64_t>(object.end) + 1;
    return static_cast<int64_t>(object.start) + object.boundaries[static_cast<std::size_t>(k - 1)];
  };
  const int64_t frame = owner.pixelToFrame(x);
  const int32_t section = object.findSection(static_cast<int>(frame));
  int32_t k = section == 0 ? 1 : section;
  if (section > 0 && section < count &&
      std::llabs(frame - boundary(section)) > std::llabs(frame - boundary(section + 1)))
    k = section + 1;
  const int64_t b = boundary(k);
  return owner.pixelToFrame(x - kReach) <= b && b <= owner.pixelToFrame(x + kReach) ? k : -1;
}

EditLayerObjectControl::Hit EditLayerObjectControl::hitTest(int32_t x, int32_t y) const {
  Hit hit;
  if (y < 0) return hit;
  const Edit::Scene& scene = owner.scene();
  const int32_t layer = y / layerHeight + owner.firstLayer();
  if (layer >= scene.layerCount()) return hit;
  const Edit::LayerObjects& slot = scene.getLayerObjects(layer);
  hit.object = Edit::findNearestObject(slot, owner.pixelToFrame(x - kReach),
                                       owner.pixelToFrame(x + kReach));
  if (!hit.object || (slot.layer && slot.layer->locked)) return hit;

  const Edit::Object& object = *hit.object;
  const int32_t midpoint = findMidpointAt(object, x);
  const int32_t fromStart = x - owner.frameToPixel(object.start);
  const int32_t toEnd = owner.frameToPixel(static_cast<int64_t>(object.end) + 1) - x;
  const auto gripMidpoint = [&] {
    hit.part = HitPart::Midpoint;
    hit.index = midpoint;
  };
  if (fromStart <= kReach || toEnd <= kReach) {
    const bool nearerStart = fromStart < toEnd;
    if (midpoint < 0) {
      hit.part = nearerStart ? HitPart::StartEdge : HitPart::EndEdge;
      return hit;
    }
    const int64_t b = static_cast<int64_t>(object.start) +
                      object.boundaries[static_cast<std::size_t>(midpoint - 1)];
    const int32_t toMidpoint = std::abs(owner.frameToPixel(b) - x);
    if (nearerStart && fromStart < toMidpoint)
      hit.part = HitPart::StartEdge;
    else if (!nearerStart && toEnd < toMidpoint)
      hit.part = HitPart::EndEdge;
    else
      gripMidpoint();  // a tie goes to the midpoint
  } else if (midpoint >= 0) {
    gripMidpoint();
  }
  return hit;
}

void EditLayerObjectControl::setHover(Hit hit) {
  if (hit.object == hover.object && hit.part == hover.part && hit.index == hover.index) return;
  const std::shared_ptr<Edit::Object> old = hover.object;
  hover = std::move(hit);
  if (old && old != hover.object && (!hover.object || old->layer != hover.object->layer))
    repaintRowOf(old);
  repaintRowOf(hover.object);
  if (hover.object) trackHover();
}

void EditLayerObjectControl::procMouseMove(int32_t x, int32_t y) {
  setHover(hitTest(x, y));
  if (mouseService && hover.object && hover.part != HitPart::Body &&
      !mouseService->isKeyDown(kControlKey))
    mouseService->setCursor(Window::MouseCursor::SizeWE);
}

void EditLayerObjectControl::procMouseLeave() { setHover({}); }

}  // namespace Component
