#pragma once
// The tests with which menus decide whether the split and midpoint commands apply: each
// holds a frame (the cursor frame or the clicked frame, as the menu decides) and answers
// for one object. Menus apply them to the targets through Scene::anyTargetObject.
#include <functional>

namespace Edit {

class Object;

using ObjectPredicate = std::function<bool(Object*)>;

// A split applies: start < frame <= end.
ObjectPredicate canSplitAt(int frame);
// A midpoint can be added: the frame lies strictly inside its section.
ObjectPredicate canAddSectionAt(int frame);
// A midpoint can be added at a section's start: the frame is the first frame of the section
// holding it, and that section or a later one has room for a midpoint.
ObjectPredicate canAddSectionAtSectionStart(int frame);

}  // namespace Edit
