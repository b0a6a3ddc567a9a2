#include "edit/edit_command_view.h"

#include "edit/edit_service.h"
#include "edit/render_switches.h"
#include "edit/update_section.h"
#include "system/log.h"

namespace Edit::EditCommand {
namespace {

// Opening the scope stops playback; its event makes the preview render again.
template <class Set>
void switchView(Set set) {
  EditService* service = EditService::instance();
  if (!service) return;
  UpdateSection scope = service->beginUpdate();
  scope.notifyObject = true;
  set(renderSwitches());
  scope.close();
}

}  // namespace

void setCameraGrid(bool enable) {
  System::Log::info("Edit::EditCommand::setCameraGrid", "set camera grid enable=%d", enable);
  switchView([&](RenderSwitches& switches) { switches.setCameraGrid(enable); });
}

void setCameraFreeView(bool enable) {
  System::Log::info("Edit::EditCommand::setCameraFreeView", "set camera free view enable=%d",
                    enable);
  switchView([&](RenderSwitches& switches) { switches.setCameraFreeView(enable); });
}

void setVisibleClippingObjectView(bool enable) {
  System::Log::info("Edit::EditCommand::setVisibleClippingObjectView",
                    "set visible clipping object enable=%d", enable);
  switchView([&](RenderSwitches& switches) { switches.setVisibleClippingObject(enable); });
}

}  // namespace Edit::EditCommand
