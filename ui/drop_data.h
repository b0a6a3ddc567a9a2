#pragma once
// What a drag from the desktop carries over the window: the local files, and whether the
// target under the pointer takes them.
#include <string>
#include <vector>

namespace Window {

struct DropData {
  std::vector<std::string> files;  // UTF-8 paths
  bool accepted = false;
};

}  // namespace Window
