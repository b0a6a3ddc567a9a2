#include "effect/anchor_edit_access.h"

#include <atomic>

namespace Effect {

namespace {
AnchorEditAccess headless;
std::atomic<AnchorEditAccess*> installed{nullptr};
}  // namespace

bool AnchorEditAccess::isFocusObject(const Edit::Scene*, const Edit::Object&) const {
  return false;
}

bool AnchorEditAccess::isLayerLocked(const Edit::Scene*, int) const { return false; }

std::shared_ptr<EffectBase> AnchorEditAccess::findEffectEntry(const Edit::Object&,
                                                              const EffectBase&) const {
  return nullptr;
}

std::shared_ptr<EffectBase> AnchorEditAccess::getFirstEffect(const Edit::Object&) const {
  return nullptr;
}

bool AnchorEditAccess::isClippingObject(const Edit::Object&) const { return false; }

AnchorSettings AnchorEditAccess::getSettings() const { return {}; }

int AnchorEditAccess::getSettingPointIndex() const { return 0; }

void AnchorEditAccess::setCursorFrame(int) {}

void AnchorEditAccess::setSettingFrame(int) {}

void AnchorEditAccess::toggleVisibleClippingObject() {}

void AnchorEditAccess::showRefusedCursor() {}

void setAnchorEditAccess(AnchorEditAccess* access) { installed.store(access); }

AnchorEditAccess& anchorEditAccess() {
  AnchorEditAccess* access = installed.load();
  return access ? *access : headless;
}

}  // namespace Effect
