# Run as a script at build time (cmake -P): writes OUTPUT, a C++ source that keeps every file
# of ICONS ("id=path" entries separated by "|") as a byte array and lists them in
# Window::iconResources(). Each array ends in a zero byte that the table does not count, so
# that an empty file still gives a valid array.
string(REPLACE "|" ";" icons "${ICONS}")
set(arrays "")
set(entries "")
foreach(icon IN LISTS icons)
  string(FIND "${icon}" "=" split)
  string(SUBSTRING "${icon}" 0 ${split} id)
  math(EXPR start "${split} + 1")
  string(SUBSTRING "${icon}" ${start} -1 path)
  get_filename_component(name "${path}" NAME_WE)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char k_${name}[] = {${bytes}0x00};\n")
  string(APPEND entries "      {${id}, \"${name}\", text(k_${name}, sizeof(k_${name}))},\n")
endforeach()
file(WRITE "${OUTPUT}" "// Generated from ui/icons/*.svg by cmake/EmbedIcons.cmake.
#include <cstddef>
#include <string_view>

#include \"ui/icon_resources.h\"

namespace Window {
namespace {

${arrays}
std::string_view text(const unsigned char* bytes, std::size_t size) {
  return {reinterpret_cast<const char*>(bytes), size - 1};
}

}  // namespace

std::span<const IconResource> iconResources() {
  static const IconResource resources[] = {
${entries}  };
  return resources;
}

}  // namespace Window
")
