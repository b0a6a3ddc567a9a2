#pragma once
// Choice items: a value out of a list of named choices. The list is shared between every
// item that offers the same choices.
#include <list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "effect/effect_item.h"

namespace Effect {

class EffectItemSelect : public EffectItem {
 public:
  // A list of choices: value -> name, shown in value order. Names are borrowed texts that
  // outlive the list (string literals), or copies the list keeps (addItem).
  struct SharedList {
    std::map<int, std::string_view> entries;
    // name -> value; a name that occurs twice maps to its smaller value.
    std::unordered_map<std::string, int> nameIndex;
    std::list<std::string> ownedNames;  // a list: the texts must not move

    // Adds the entry unless the value is present (a present value keeps its name).
    void setItem(int value, std::string_view name);
    // Keeps a copy of the name, then setItem with the copy.
    void addItem(int value, std::string_view name);
    void rebuildIndex();
    // Throws std::out_of_range "invalid unordered_map<K, T> key" for an unknown name.
    int getValue(std::string_view name) const;
    bool contains(std::string_view name) const;
    // The smallest value; the list must not be empty.
    int firstValue() const { return entries.begin()->first; }
  };

  static std::shared_ptr<SharedList> createSharedList();

  EffectItemSelect(EffectItemList& items, std::string_view name, int value,
                   std::shared_ptr<SharedList> list);
  EffectItemSelect(const EffectItemSelect&) = default;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  // The name of the value in the list; a value the list lacks throws std::out_of_range
  // "invalid map<K, T> key".
  std::string toString() const override;
  // A name of the list selects its value; any other text leaves the value.
  void fromString(std::string_view text) override;
  // Legacy files store the value itself: a text of at most two characters is read as a
  // number (a number the list lacks selects the smallest value); other texts as names.
  void loadKvoParameter(std::string_view text, std::string_view key, std::string_view effectName,
                        bool currentForm) override;
  ControlKind getControlKind() const override;

  std::shared_ptr<SharedList> list;
  int value;

 protected:
  EffectItemSelect(EffectItemList& items, uint8_t typeCode, std::string_view name, int value,
                   std::shared_ptr<SharedList> list);
};

// A choice shown as a button over a share of its row.
class EffectItemSelectButton : public EffectItemSelect {
 public:
  EffectItemSelectButton(EffectItemList& items, std::string_view name, int value,
                         std::shared_ptr<SharedList> list, float start, float end);
  EffectItemSelectButton(const EffectItemSelectButton&) = default;

  // A plain select.
  std::unique_ptr<EffectItem> clone() const override;
  ControlKind getControlKind() const override;

  float start;  // fractions of the row's width
  float end;
};

// The name of a value as menus and controls show it: translated while a language is
// active. A value the entries lack throws std::out_of_range "invalid map<K, T> key".
std::string getSelectItemName(const std::map<int, std::string_view>& entries, int value);

}  // namespace Effect
