#pragma once
// The program's own small pictures: SVG drawings (ui/icons/) built into the library and
// found by their resource id. ui/CMakeLists.txt lists each file with its id.
#include <span>
#include <string_view>

namespace Window {

struct IconResource {
  int id = 0;
  const char* name = "";  // the file's name without ".svg"
  std::string_view svg;
};

// Every built-in icon, in the order of the list.
std::span<const IconResource> iconResources();

// The SVG text of the icon with that id; empty when the program has none.
std::string_view findIconResource(int id);

}  // namespace Window
