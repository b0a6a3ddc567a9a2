#include "edit/project_prompts.h"

#include <string>

#include "edit/scene.h"
#include "system/translate_service.h"

namespace Edit {
namespace {

constexpr const char* kConfirmCaption = "Velumo Kivrun2";

// A text of a confirmation, through the Message table while a language is active.
std::string translateMessage(const char* text) {
  const auto* service = Translate::TranslateService::instance();
  if (!service || !Translate::isLanguageActive()) return text;
  return std::string(service->translate(Translate::TranslateService::TextKind::Message, text));
}

}  // namespace

bool confirmWithUser(const char* question) {
  ProjectDialogs* dialogs = projectDialogs();
  return dialogs && dialogs->confirm(translateMessage(question), kConfirmCaption);
}

void applySceneSettings(Scene& scene, const SceneSettings& settings) {
  scene.name = settings.name;
  if (settings.width > 0) scene.width = settings.width;
  if (settings.height > 0) scene.height = settings.height;
  if (settings.rate > 0) scene.rate = settings.rate;
  if (settings.scale > 0) scene.scale = settings.scale;
  if (settings.audioRate > 0) scene.audioRate = settings.audioRate;
}

}  // namespace Edit
