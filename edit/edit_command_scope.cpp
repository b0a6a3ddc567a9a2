#include "edit/edit_command_scope.h"

#include <utility>

#include "edit/edit_service.h"

namespace Edit::EditCommand {

namespace {

// Whether the refresh asks for any of `flags`.
bool asksFor(Refresh refresh, Refresh flags) {
  return (static_cast<unsigned>(refresh) & static_cast<unsigned>(flags)) != 0;
}

}  // namespace

CommandStep::CommandStep(EditService& service, Refresh refresh, std::shared_ptr<Object> object)
    : scope_(service.beginUpdate()) {
  scope_.updateLayer = asksFor(refresh, Refresh::Layers);
  scope_.resetSettingSection = asksFor(refresh, Refresh::SectionFromCursor);
  scope_.rebuildEffectSetting = asksFor(refresh, Refresh::SettingWindows);
  scope_.updateEffectSetting = asksFor(refresh, Refresh::SettingValues);
  scope_.updateTimeSetting =
      asksFor(refresh, Refresh::SectionFromCursor | Refresh::SettingWindows | Refresh::TimeCurve);
  scope_.updateColorSetting = asksFor(refresh, Refresh::SettingWindows | Refresh::SettingValues);
  scope_.updateTextSetting = asksFor(refresh, Refresh::SettingWindows);
  scope_.notifyObject = asksFor(refresh, Refresh::EditData);
  scope_.object = std::move(object);
  scope_.beginUndo();
}

}  // namespace Edit::EditCommand
