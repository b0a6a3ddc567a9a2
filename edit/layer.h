#pragma once
// The settings of one timeline layer. The record is shared: its slot in the layer table
// holds it, and the layer undo items keep the same record alive after the slot has been
// given a fresh one.
#include <cstdint>
#include <string>

#include "system/ini_file.h"

namespace System {
class File;
}

namespace Edit {

class Layer {
 public:
  bool hidden = false;  // not rendered; its objects are not found by Scene::findObject
  std::string name;     // empty: shown with the default layer name
  bool locked = false;  // its objects cannot be selected
  // The slot's position in the layer table; -1 once the record was replaced.
  int32_t index = 0;

  // Whether the project file stores the layer: hidden, locked or named (a name that a line
  // break cuts to nothing counts as none).
  bool isModified() const {
    return hidden || locked || (!name.empty() && name.find_first_of("\r\n") != 0);
  }
  // The keys of the layer's project file section after the section line; load reads the
  // name and the flags (the index and the scene are the caller's).
  void save(System::File& file, int32_t sceneId, int32_t layerIndex) const;
  void load(const System::IniFile::SectionRef& section);
};

}  // namespace Edit
