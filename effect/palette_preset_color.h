#pragma once
// A preset colour: a named cell of a palette as the menus list it. Like every menu entry it
// has a group label, an order and a hide flag, kept in the parameter store under
// "Color.<name>" (effect/menu_define_base.h).
#include <array>
#include <string>
#include <string_view>

#include "effect/menu_define_base.h"

namespace Effect {

class PresetColorDefine : public Menu::MenuDefineBase {
 public:
  // Listed without a label and shown by default; `order` is the default order. The colour is
  // a copy of the cell's.
  PresetColorDefine(std::string name, const std::array<float, 4>& color, int32_t order);

  std::string_view getName() const override { return name; }

  // Red, green, blue and alpha from 0 to 1.
  std::array<float, 4> color;
  std::string name;
};

}  // namespace Effect
