#include "edit/render_switches.h"

#include <atomic>

namespace Edit {
namespace {

class KeptSwitches : public RenderSwitches {
 public:
  void setCameraGrid(bool enable) override { cameraGrid = enable; }
  void setCameraFreeView(bool enable) override { cameraFreeView = enable; }
  void setVisibleClippingObject(bool enable) override { visibleClippingObject = enable; }
  bool isCameraFreeView() const override { return cameraFreeView; }
  bool isVisibleClippingObject() const override { return visibleClippingObject; }
  bool cameraGrid = true;
  bool cameraFreeView = false;
  bool visibleClippingObject = true;
};

KeptSwitches headless;
std::atomic<RenderSwitches*> installed{nullptr};

}  // namespace

void setRenderSwitches(RenderSwitches* switches) { installed.store(switches); }

RenderSwitches& renderSwitches() {
  RenderSwitches* switches = installed.load();
  return switches ? *switches : headless;
}

}  // namespace Edit
