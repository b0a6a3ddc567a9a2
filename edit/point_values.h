#pragma once
// The values that number items keep per point follow the points of their object: a new
// midpoint gets a value, a removed one loses its value, and a split writes the values at the
// cut onto the pieces' new end and start points. Only items whose movement keeps one value
// per point and that do not ignore midpoints take part.
#include "edit/effect_manager.h"

namespace Edit {

class Object;

// A value for the point that a new boundary inside section `section` made, in every
// per-point number item of the chain: the recorded one when `values` holds one for the
// item, else the item's default.
void insertPointValues(Object& object, int section, const SectionValueMap* values);
// Throws "item value index out of range." when a per-point number item holds no values, so
// that a boundary is never removed without its value.
void checkPointValues(const Object& object);
// Removes the value at point `pointIndex` from every per-point number item.
void erasePointValues(Object& object, int pointIndex);
// Writes the recorded value (or the default) at point `pointIndex` of every number item.
void setPointValues(Object& object, int pointIndex, const SectionValueMap& values);

}  // namespace Edit
