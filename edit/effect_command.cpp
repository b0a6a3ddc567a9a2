#include "edit/effect_command.h"

#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "system/log.h"

namespace Edit::EditCommand {

void removeEffect(const std::shared_ptr<Object>& object, const Effect::EffectBase* effect) {
  if (!object || !effect) return;
  System::Log::info("Edit::EditCommand::removeEffect", "remove effect [%s] layer=%d frame=%d",
                    effect->name ? effect->name : "", object->layer, object->start);
  auto scope = EditService::instance()->beginUpdate();
  scope.object = object;
  scope.rebuildEffectSetting = true;
  scope.updateTimeSetting = true;
  scope.updateColorSetting = true;
  scope.updateTextSetting = true;
  scope.notifyObject = true;
  scope.beginUndo();
  try {
    Undo::UndoService::instance()->pushObjectEffect(object);
    object->removeEffect(effect);
  } catch (...) {
    // The step keeps what was recorded: the scope closes (and commits) on the way out.
    scope.close();
    throw;
  }
  scope.close();
}

}  // namespace Edit::EditCommand
