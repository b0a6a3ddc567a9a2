#include "edit/effect_command.h"

#include "edit/edit_command_scope.h"
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
  CommandStep step(*EditService::instance(), Refresh::SettingWindows | Refresh::EditData,
                   object);
  step.run([&](UpdateSection&) {
    Undo::UndoService::instance()->pushObjectEffect(object);
    object->removeEffect(effect);
  });
}

}  // namespace Edit::EditCommand
