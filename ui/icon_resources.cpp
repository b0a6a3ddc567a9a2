#include "ui/icon_resources.h"

namespace Window {

std::string_view findIconResource(int id) {
  for (const IconResource& resource : iconResources())
    if (resource.id == id) return resource.svg;
  return {};
}

}  // namespace Window
