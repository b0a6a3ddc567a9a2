// The effect chain changed by name or from an effect alias file, and the movement of a
// number track with its options and settings.
#include "edit/edit_command_movement.h"

#include <utility>

#include "edit/edit_command_scope.h"
#include "edit/edit_command_section.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_item_number.h"
#include "effect/effect_translate.h"
#include "effect/movement_base.h"
#include "effect/movement_registry.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Edit::EditCommand {

namespace {

// The tracks that change together with `item`: its link group, or the item alone.
Effect::NumberItemList linkedItems(Effect::EffectItemNumber& item) {
  if (item.linkGroup && !item.linkGroup->empty()) return *item.linkGroup;
  return {&item};
}

// After the new effect went in: with `replace` it takes `after`'s place; then the chain
// drops what no longer suits its input.
void finishChain(Object& object, const Effect::EffectBase* after, bool replace) {
  if (replace && after) object.removeEffect(after);
  object.fitEffectsToInput();
}

}  // namespace

void setEffect(const std::shared_ptr<Object>& object, std::string_view name,
               const Effect::EffectBase* after, bool replace) {
  if (!object) return;
  EditService* service = EditService::instance();
  const std::string effectName(name);
  System::Log::info("Edit::EditCommand::setEffect", "set effect [%s] layer=%d frame=%d",
                    effectName.c_str(), object->layer, object->start);
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushObjectEffect(object);
    object->setEffectByName(effectName, after);
    finishChain(*object, after, replace);
  });
}

void loadEffect(const std::shared_ptr<Object>& object, const std::string& path,
                const Effect::EffectBase* after, bool replace) {
  if (!object) return;
  constexpr const char* place = "Edit::EditCommand::loadEffect";
  EditService* service = EditService::instance();
  System::Log::info(place, "load effect [%s] layer=%d frame=%d", path.c_str(), object->layer,
                    object->start);
  auto fail = [] { Dialog::postError("%s", "エイリアスの読み込みに失敗しました"); };
  System::IniFile file;
  try {
    if (!System::File::exists(path))
      throw System::makeException(place, "failed to open file.", path);
    file.loadFile(path);
  } catch (const std::exception&) {
    fail();
    return;
  }
  try {
    CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
    try {
      step.run([&](UpdateSection&) {
        service->undoService->pushObjectEffect(object);
        object->loadEffectAliasFile(file, after);
        finishChain(*object, after, replace);
      });
    } catch (const std::exception&) {
      fail();
      return;
    }
    // Reading may have brought the file up to date: it is written back in its new form.
    if (file.isWriteBack()) {
      file.setWriteBack(false);
      System::IniFile::Save(file, path);
    }
  } catch (const std::exception&) {
    fail();
  }
}

void setMovement(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                 std::string_view name) {
  if (!object) return;
  EditService* service = EditService::instance();
  const std::string movementName(name);
  System::Log::info("Edit::EditCommand::setMovement", "set move type [%s] layer=%d frame=%d",
                    movementName.c_str(), object->layer, object->start);
  const Effect::MovementBase* movement =
      Effect::MovementRegistry::instance().findMovement(movementName);
  if (movement == item.movement) return;

  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushObjectSection(object);
    const Effect::NumberItemList items = linkedItems(item);
    for (Effect::EffectItemNumber* linked : items) {
      linked->setMovement(*movement);
      linked->resizeValues(object->pointCount());
    }
    for (Effect::EffectItemNumber* linked : items) linked->updateMovementFlags(object->frames());
    if (movement->timeControl) editUi().showTimeControl(object, item);
  });
}

void toggleMovementFlag(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                        int flag) {
  if (!object) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::toggleMovementFlag",
                    "toggle move flag [%d] layer=%d frame=%d", flag, object->layer, object->start);
  CommandStep step(*service, Refresh::SettingWindows | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushObjectSection(object);
    // Only the tracks in the state the clicked one was in change, so the group ends alike.
    const int was = item.flags & flag;
    for (Effect::EffectItemNumber* linked : linkedItems(item)) {
      if ((linked->flags & flag) != was) continue;
      linked->flags ^= flag;
      linked->resizeValues(object->pointCount());
    }
  });
}

void setMovementSettings(const std::shared_ptr<Object>& object, Effect::EffectItemNumber& item,
                         const std::vector<double>& parameters) {
  if (!object) return;
  EditService* service = EditService::instance();
  System::Log::info("Edit::EditCommand::setMovementSettings",
                    "set movement settings layer=%d frame=%d", object->layer, object->start);
  // A copy: the list may be one of the tracks' own.
  const std::vector<double> copy = parameters;
  CommandStep step(*service, Refresh::TimeCurve | Refresh::EditData, object);
  step.run([&](UpdateSection&) {
    service->undoService->pushObjectSection(object);
    for (Effect::EffectItemNumber* linked : linkedItems(item)) linked->params = copy;
  });
}

void showMovementSettingsDialog(const std::shared_ptr<Object>& object,
                                Effect::EffectItemNumber& item) {
  if (!object || !item.movement) return;
  std::vector<double> parameters = item.getMovementParams();
  if (parameters.empty()) return;
  const auto value = editUi().askNumber(Effect::translateEffectText(item.movement->name), "設定値",
                                        parameters.front(), -2147483648.0, 2147483647.0);
  if (!value) return;
  parameters.front() = *value;
  setMovementSettings(object, item, parameters);
}

}  // namespace Edit::EditCommand
