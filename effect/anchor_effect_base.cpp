#include "effect/anchor_effect_base.h"

#include "effect/anchor_edit_access.h"
#include "effect/anchor_points.h"
#include "effect/anchor_render_access.h"
#include "system/exception.h"
#include "system/setting_service.h"

namespace Effect {

namespace {
constexpr Anchor::Color kWhite{1.0f, 1.0f, 1.0f, 1.0f};
}  // namespace

AnchorEffectBase::AnchorEffectBase(const char* name, uint8_t effectType, uint8_t mediaType,
                                   uint8_t targetType, const char* label)
    : EffectBase(name, effectType, mediaType, targetType, label) {}

bool AnchorEffectBase::isFocus(const EffectContext& context) {
  return context.object && anchorEditAccess().isFocusObject(context.scene, *context.object);
}

int AnchorEffectBase::hiddenUnlessStaticFocus(const EffectContext& context) const {
  return isFocus(context) && !anyItemMoves(positionItems) ? 0 : Anchor::Flag::Hidden;
}

void AnchorEffectBase::updateAnchor(EffectContext& context, int width, int height) {
  if (lock || !context.anchorList || !context.object) return;
  const AnchorEditAccess& edit = anchorEditAccess();
  if (edit.isLayerLocked(context.scene, context.layerIndex)) return;
  const EffectEntry entry = edit.findEffectEntry(*context.object, *this);
  if (!entry) return;
  if (isFilter() && !edit.isFocusObject(context.scene, *context.object)) return;
  // Sampling the trajectory and the points moves the context's time and view.
  const AnchorContextRestore restore(context);
  setAnchor(context, entry, width, height);
}

bool AnchorEffectBase::anchorEvent(Anchor::AnchorEvent& event) {
  AnchorEditAccess& edit = anchorEditAccess();
  switch (event.kind) {
    case Anchor::EventKind::Drag:
      moveAnchor(event);
      return true;
    case Anchor::EventKind::Press:
      if (event.id == Anchor::kClippingIconId)
        edit.toggleVisibleClippingObject();
      else if (event.id < Anchor::kCurrentPositionId)
        edit.setSettingFrame(anchorPointFrame(event.frames, event.id));
      return true;
    case Anchor::EventKind::DoubleClick:
      if (event.id < Anchor::kCurrentPositionId && (event.flags & Anchor::Flag::PointAnchor))
        edit.setCursorFrame(anchorPointFrame(event.frames, event.id));
      return true;
    default:
      return false;
  }
}

Anchor::AnchorItem& AnchorEffectBase::addAnchorCircle(Anchor::AnchorList& list,
                                                      const Anchor::ObjectRef& object,
                                                      const EffectEntry& entry, int id,
                                                      const XMath::Vector& point,
                                                      const XMath::Matrix& matrix, int flags) {
  if (isFilter()) return list.addMediumCircle(object, entry, id, point, matrix, flags);
  return list.addLargeCircle(object, entry, id, point, matrix, flags);
}

void AnchorEffectBase::setCurrentAnchor(EffectContext&, const EffectEntry&, int, int) {
  throw System::makeNotImplementedException("Effect::AnchorEffectBase::setCurrentAnchor");
}

void AnchorEffectBase::setSectionAnchor(EffectContext&, const EffectEntry&, int, int) {
  throw System::makeNotImplementedException("Effect::AnchorEffectBase::setSectionAnchor");
}

void AnchorEffectBase::addAnchorPoint(Anchor::AnchorList& list, const EffectEntry& entry,
                                      const XMath::Vector& point, const XMath::Matrix& matrix) {
  const XMath::Vector projected = XMath::transform3(point, matrix);
  if (isFilter())
    list.addPoint(entry, projected, getStyleColor("Anchor", kWhite));
  else
    list.addPoint(entry, projected, std::nullopt);
}

bool AnchorEffectBase::isAnchorEditable(const EffectContext& context) const {
  return Effect::isAnchorEditable(positionItems, context);
}

Anchor::Color getStyleColor(const char* key, const Anchor::Color& fallback) {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings) return fallback;
  const System::IniFile::VALUE& value = settings->color.findValue(key);
  if (value.text.empty()) return fallback;
  try {
    return value.toRGBA();
  } catch (const std::exception&) {
    return fallback;
  }
}

}  // namespace Effect
