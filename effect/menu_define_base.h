#pragma once
// The common part of everything a menu lists by name: effects, movements, aliases, movement
// presets, preset colours and fonts.
//
// Every entry carries three user settings: the group label the menus list it under, its
// position among the entries and whether it is hidden. They are typed parameters of the
// parameter store (velumo2.ini), in a section named after the entry's kind and name
// ("Effect.ぼかし", "Movement.直線移動", "Effect.object.Intro"): read when the entry is made,
// written back when it is destroyed. Nothing stored means the defaults given at
// construction.
//
// An entry does not move once it is made (the registry hands out plain pointers to it and
// its parameters are bound to its own fields), so it cannot be copied or moved.
#include <cstdint>
#include <string>
#include <string_view>

#include "system/config.h"

namespace Menu {

class MenuDefineBase {
 public:
  MenuDefineBase(const MenuDefineBase&) = delete;
  MenuDefineBase& operator=(const MenuDefineBase&) = delete;
  // Writes label, order and hide back into the parameter store.
  virtual ~MenuDefineBase();

  // The key the entry is found by.
  virtual std::string_view getName() const = 0;
  // The text a menu shows; by default the name itself.
  virtual std::string getDisplayName() const;

  // "<kind>.<name>": the entry's section in the parameter store.
  const std::string& getSectionName() const { return config_.name(); }

  // The user settings; the menus and the menu settings dialog read and change them.
  std::string label;  // group label; empty: listed without a group
  int32_t order = 0;  // position among the entries, ascending
  int32_t hide = 0;   // non-zero: not shown

 protected:
  // `kind` is the entry's kind word ("Effect", "Movement", "Params", "Color", "Font").
  // The defaults are `order`, `defaultLabel` and 0 for hide when visible, else 1; what the
  // parameter store holds for the section overrides them key by key.
  MenuDefineBase(std::string_view kind, std::string_view name, int32_t order,
                 std::string_view defaultLabel, bool visible);

 private:
  System::Config::Section config_;
  System::Config::String labelParameter_;
  System::Config::Int orderParameter_;
  System::Config::Int hideParameter_;
  // Declared last: destroyed first, it saves the section while the parameters still exist.
  System::Config::Binding binding_;
};

}  // namespace Menu
