#pragma once
// The settings of one timeline layer. The record is shared: its slot in the layer table
// holds it, and the layer undo items keep the same record alive after the slot has been
// given a fresh one.
#include <cstdint>
#include <string>

namespace Edit {

class Layer {
 public:
  bool hidden = false;  // not rendered; its objects are not found by Scene::findObject
  std::string name;     // empty: shown with the default layer name
  bool locked = false;  // its objects cannot be selected
  // The slot's position in the layer table; -1 once the record was replaced.
  int32_t index = 0;
};

}  // namespace Edit
