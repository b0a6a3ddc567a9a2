#pragma once
// The preview's view switches as edit commands: each opens an edit-update scope that asks
// for a redraw (no undo step) and sets the render engine's switch.
namespace Edit::EditCommand {

void setCameraGrid(bool enable);
void setCameraFreeView(bool enable);
void setVisibleClippingObjectView(bool enable);

}  // namespace Edit::EditCommand
