#include "system/ui_bridge.h"

#include <atomic>

namespace System {
namespace {
std::atomic<UiBridge*> installedBridge{nullptr};
}

void setUiBridge(UiBridge* bridge) { installedBridge.store(bridge); }
UiBridge* uiBridge() { return installedBridge.load(); }

void stopPreviewPlayer() {
  if (UiBridge* bridge = installedBridge.load()) bridge->stopPlayer();
}

}  // namespace System
