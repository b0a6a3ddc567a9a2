#include "render/cache_keys.h"

#include <charconv>

#include "edit/edit_service.h"
#include "edit/scene.h"

namespace Cache {

std::string getSceneFileName(int sceneId) { return "*" + std::to_string(sceneId); }

bool isSceneFileName(const std::string& name) { return !name.empty() && name.front() == '*'; }

std::shared_ptr<Edit::Scene> getSceneFromFileName(const std::string& name) {
  if (!isSceneFileName(name)) return {};
  std::size_t at = 1;
  while (at < name.size() && (name[at] == ' ' || name[at] == '\t')) ++at;
  if (at < name.size() && name[at] == '+') ++at;
  int id = 0;
  const char* first = name.data() + at;
  const char* last = name.data() + name.size();
  if (std::from_chars(first, last, id).ec != std::errc() || id == 0) return {};
  const Edit::EditService* edit = Edit::EditService::instance();
  return edit ? edit->getScene(id) : nullptr;
}

}  // namespace Cache
