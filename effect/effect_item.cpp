#include "effect/effect_item.h"

#include <atomic>
#include <utility>

#include "system/exception.h"

namespace Effect {

namespace {

std::atomic<ItemControlFactory*> installedFactory{nullptr};

}  // namespace

void setItemControlFactory(ItemControlFactory* factory) { installedFactory.store(factory); }

EffectItem::EffectItem(EffectItemList& items, uint8_t code, std::string_view itemName)
    : typeCode(code), name(itemName) {
  items.push_back(this);
}

EffectItem::~EffectItem() = default;

void EffectItem::fromScriptString(std::string_view text) { fromString(text); }

void EffectItem::loadKvoParameter(std::string_view text, std::string_view, std::string_view,
                                  bool) {
  fromString(text);
}

std::shared_ptr<Component::EffectItemBaseControl> EffectItem::createControl(
    Window::WindowControlContainer& parent, Component::EffectSetting& block) {
  const ControlKind kind = getControlKind();
  if (kind == ControlKind::None) return {};
  ItemControlFactory* factory = installedFactory.load();
  if (!factory) return {};
  return factory->createControl(kind, parent, block, *this);
}

const std::string* EffectItem::getFilePath() const { return nullptr; }

void EffectItem::setFilePath(std::string_view) {
  throw System::makeNotImplementedException("Effect::EffectItem::setFilePath");
}

ControlKind EffectItem::getControlKind() const { return ControlKind::None; }

bool EffectItem::forgetScene(int32_t) { return false; }

}  // namespace Effect
