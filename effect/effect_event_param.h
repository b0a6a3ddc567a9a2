#pragma once
// The record an effect receives in editEvent: what happened to its object or its items.
#include <memory>
#include <string>
#include <variant>

#include "effect/outer_types.h"

namespace Effect {

class EffectBase;
class EffectItem;

struct EffectEventParam {
  enum Kind : int {
    ItemChanged = 1,  // an item of the effect changed; datum: the item
    FileSet = 2,      // a file was set on the effect; datum: the path
    ObjectSplit = 3,  // the object was split at a frame; datum: the object before the split
    StartCut = 4,     // the object's start was cut; datum: the former start frame
    EndCut = 5,       // the object's end was cut; datum: the former end frame
    ShowInfo = 100,   // the user asked for the effect's information
  };

  int kind = 0;
  // The open edit-update scope, through which the effect may mark further changes.
  Edit::UpdateSection* scope = nullptr;
  Edit::Object* object = nullptr;
  std::shared_ptr<EffectBase> effect;
  std::variant<std::monostate, EffectItem*, std::string, const Edit::Object*, int> datum;

  // The datum of the record's kind, or nothing when it holds another.
  EffectItem* item() const {
    const auto* value = std::get_if<EffectItem*>(&datum);
    return value ? *value : nullptr;
  }
  const std::string* filePath() const { return std::get_if<std::string>(&datum); }
  const Edit::Object* objectBeforeSplit() const {
    const auto* value = std::get_if<const Edit::Object*>(&datum);
    return value ? *value : nullptr;
  }
  const int* formerFrame() const { return std::get_if<int>(&datum); }
};

}  // namespace Effect
