#include "edit/edit_menu_predicates.h"

#include "edit/object.h"

namespace Edit {

ObjectPredicate canSplitAt(int frame) {
  return
      [frame](Object* object) { return object && object->start < frame && frame <= object->end; };
}

ObjectPredicate canAddSectionAt(int frame) {
  return [frame](Object* object) { return object && object->canAddSectionAt(frame); };
}

ObjectPredicate canAddSectionAtSectionStart(int frame) {
  return [frame](Object* object) {
    return object && object->sectionFirstFrame(object->findSection(frame)) == frame &&
           object->hasSplittableSection(frame);
  };
}

}  // namespace Edit
