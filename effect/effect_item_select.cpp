#include "effect/effect_item_select.h"

#include <stdexcept>

#include "effect/effect_translate.h"
#include "effect/text_conversion.h"

namespace Effect {

namespace {

std::string_view entryName(const std::map<int, std::string_view>& entries, int value) {
  const auto found = entries.find(value);
  if (found == entries.end()) throw std::out_of_range("invalid map<K, T> key");
  return found->second;
}

}  // namespace

void EffectItemSelect::SharedList::setItem(int value, std::string_view name) {
  entries.emplace(value, name);
  rebuildIndex();
}

void EffectItemSelect::SharedList::addItem(int value, std::string_view name) {
  ownedNames.emplace_back(name);
  setItem(value, ownedNames.back());
}

void EffectItemSelect::SharedList::rebuildIndex() {
  if (nameIndex.size() == entries.size()) return;
  // Built anew in value order, so that a name given to several values maps to the
  // smallest of them whatever order the values came in.
  nameIndex.clear();
  for (const auto& [value, name] : entries) nameIndex.try_emplace(std::string(name), value);
}

int EffectItemSelect::SharedList::getValue(std::string_view name) const {
  const auto found = nameIndex.find(std::string(name));
  if (found == nameIndex.end()) throw std::out_of_range("invalid unordered_map<K, T> key");
  return found->second;
}

bool EffectItemSelect::SharedList::contains(std::string_view name) const {
  return nameIndex.contains(std::string(name));
}

std::shared_ptr<EffectItemSelect::SharedList> EffectItemSelect::createSharedList() {
  return std::make_shared<SharedList>();
}

EffectItemSelect::EffectItemSelect(EffectItemList& items, std::string_view itemName, int initial,
                                   std::shared_ptr<SharedList> choices)
    : EffectItemSelect(items, ItemType::Select, itemName, initial, std::move(choices)) {}

EffectItemSelect::EffectItemSelect(EffectItemList& items, uint8_t code, std::string_view itemName,
                                   int initial, std::shared_ptr<SharedList> choices)
    : EffectItem(items, code, itemName),
      list(choices ? std::move(choices) : createSharedList()),
      value(initial) {}

void EffectItemSelect::copyFrom(const EffectItem& other) {
  value = sameKind<EffectItemSelect>(other).value;
}

bool EffectItemSelect::equals(const EffectItem& other) const {
  return value == sameKind<EffectItemSelect>(other).value;
}

std::unique_ptr<EffectItem> EffectItemSelect::clone() const {
  return std::make_unique<EffectItemSelect>(*this);
}

std::string EffectItemSelect::toString() const {
  return std::string(entryName(list->entries, value));
}

void EffectItemSelect::fromString(std::string_view text) {
  if (list->contains(text)) value = list->getValue(text);
}

void EffectItemSelect::loadKvoParameter(std::string_view text, std::string_view,
                                        std::string_view, bool) {
  if (text.size() <= 2) {
    try {
      const int legacy = readInteger(text);
      if (list->entries.contains(legacy))
        value = legacy;
      else if (!list->entries.empty())
        value = list->firstValue();
      return;
    } catch (const std::logic_error&) {
      // Not a number: read as a name below.
    }
  }
  fromString(text);
}

ControlKind EffectItemSelect::getControlKind() const { return ControlKind::Select; }

EffectItemSelectButton::EffectItemSelectButton(EffectItemList& items, std::string_view itemName,
                                               int initial, std::shared_ptr<SharedList> choices,
                                               float spanStart, float spanEnd)
    : EffectItemSelect(items, ItemType::SelectButton, itemName, initial, std::move(choices)),
      start(spanStart),
      end(spanEnd) {}

std::unique_ptr<EffectItem> EffectItemSelectButton::clone() const {
  return std::make_unique<EffectItemSelect>(static_cast<const EffectItemSelect&>(*this));
}

ControlKind EffectItemSelectButton::getControlKind() const { return ControlKind::SelectButton; }

std::string getSelectItemName(const std::map<int, std::string_view>& entries, int value) {
  return translateEffectText(entryName(entries, value));
}

}  // namespace Effect
