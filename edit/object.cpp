#include "edit/object.h"

#include <algorithm>

#include "edit/group.h"
#include "edit/point_values.h"
#include "effect/effect_base.h"
#include "effect/effect_event_param.h"
#include "effect/section_position.h"

namespace Edit {

Object::~Object() {
  if (group) group->members.erase(this);
}

int64_t Object::sectionFirstFrame(int section) const {
  if (section <= 0 || boundaries.empty()) return start;
  const auto index = std::min<std::size_t>(static_cast<std::size_t>(section), boundaries.size());
  return int64_t{start} + boundaries[index - 1];
}

int64_t Object::sectionDistance(int section) const {
  const int64_t length = int64_t{end} - start;
  if (boundaries.empty()) return length;
  const auto count = static_cast<int>(boundaries.size());
  if (section <= 0) return boundaries.front();
  if (section >= count) return length - boundaries.back();
  return int64_t{boundaries[section]} - boundaries[section - 1];
}

int Object::findSection(int frame) const {
  const int64_t offset = int64_t{frame} - start;
  return static_cast<int>(
      std::upper_bound(boundaries.begin(), boundaries.end(), offset,
                       [](int64_t value, int32_t boundary) { return value < boundary; }) -
      boundaries.begin());
}

bool Object::hasSplittableSection(int frame) const {
  for (int section = findSection(frame); section < sectionCount(); ++section)
    if (sectionDistance(section) > 1) return true;
  return false;
}

bool Object::canAddSectionAt(int frame) const {
  const int section = findSection(frame);
  const int64_t into = int64_t{frame} - sectionFirstFrame(section);
  return 0 < into && into < sectionDistance(section);
}

void Object::addSection(int frame, const SectionValueMap* values) {
  int section = findSection(frame);
  while (section < sectionCount() && sectionDistance(section) <= 1) ++section;
  if (section >= sectionCount()) return;
  const int64_t first = sectionFirstFrame(section);
  const int64_t distance = sectionDistance(section);
  int64_t at = frame;
  if (at <= first) at = first + 1;
  const auto boundary = static_cast<int32_t>(std::min(at, first + distance - 1) - start);
  boundaries.insert(boundaries.begin() + section, boundary);
  insertPointValues(*this, section, values);
}

void Object::deleteSection(int pointIndex) {
  if (pointIndex < 1 || pointIndex > static_cast<int>(boundaries.size())) return;
  // Every item is checked before anything changes, so a failure leaves the object whole.
  checkPointValues(*this);
  boundaries.erase(boundaries.begin() + (pointIndex - 1));
  erasePointValues(*this, pointIndex);
}

bool Object::split(int frame, Object& left, Object& right, Scene& scene) {
  if (!(start < frame && frame <= end)) return false;
  for (Object* piece : {&left, &right}) {
    piece->clipping = clipping;
    piece->camera = camera;
    piece->layer = layer;
    piece->start = start;
    piece->end = end;
    piece->boundaries = boundaries;
  }
  copyEffects(left);
  copyEffects(right);

  // The values at the cut: the left piece ends on the frame before it, the right one
  // starts on it.
  SectionValueMap leftValues;
  SectionValueMap rightValues;
  left.copySectionValues(leftValues, scene, left.shared_from_this(), frame - 1, true);
  right.copySectionValues(rightValues, scene, right.shared_from_this(), frame, true);
  setPointValues(left, left.pointCount() - 1, leftValues);
  setPointValues(right, 0, rightValues);

  for (int k = static_cast<int>(boundaries.size()); k >= 1; --k) {
    const int64_t boundary = int64_t{start} + boundaries[k - 1];
    if (boundary + 1 >= frame) left.deleteSection(k);
    if (boundary <= frame) right.deleteSection(k);
  }
  left.end = frame - 1;
  right.start = frame;
  for (int32_t& boundary : right.boundaries) boundary += start - frame;
  return true;
}

void Object::removeFromGroup() {
  if (group) group->members.erase(this);
  group.reset();
}

void Object::joinGroup(std::shared_ptr<Group> newGroup) {
  removeFromGroup();
  if (!newGroup) return;
  newGroup->members.insert(this);
  group = std::move(newGroup);
}

void Object::sendInputEffectEvent(Effect::EffectEventParam& event) {
  if (effects.empty() || !effects.front() ||
      effects.front()->effectType != Effect::EffectType::Input)
    return;
  event.object = this;
  event.effect = effects.front();
  event.effect->editEvent(event);
}

}  // namespace Edit
