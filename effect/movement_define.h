#pragma once
// The registry's entry for one movement kind: its menu settings and the prototype that
// every number item using the kind points at.
#include <memory>
#include <string>
#include <string_view>

#include "effect/menu_define_base.h"

namespace Effect {

class MovementBase;

class MovementDefine : public Menu::MenuDefineBase {
 public:
  // `order` is the default menu position (the registration index); no default label.
  MovementDefine(std::shared_ptr<MovementBase> prototype, int32_t order);

  // The movement's name: the registry key and the name track texts carry.
  std::string_view getName() const override;
  // The name through the Effect table while a language is active.
  std::string getDisplayName() const override;

  const std::shared_ptr<MovementBase>& getPrototype() const { return prototype_; }

 private:
  std::shared_ptr<MovementBase> prototype_;
};

}  // namespace Effect
