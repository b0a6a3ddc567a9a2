#include "edit/project_prompts.h"

#include <string>

#include "edit/edit_ui.h"
#include "edit/scene.h"
#include "system/translate_service.h"

namespace Edit {
namespace {

constexpr const char* kConfirmCaption = "Velumo Kivrun2";

}  // namespace

bool confirmWithUser(const char* question) {
  return editUi().confirm(
      Translate::translateText(Translate::TranslateService::TextKind::Message, question),
      kConfirmCaption);
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
