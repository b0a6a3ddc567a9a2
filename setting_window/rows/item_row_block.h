#pragma once
// What a row of an effect item needs of the object setting window and of its effect block.
// The window and the block fill these in; until they exist, a test (or any host) can make
// them itself and host the rows in a plain client.
#include <cstdint>
#include <functional>
#include <memory>

#include "ui/controls/edit_focus_group.h"

namespace Edit {
class Object;
}  // namespace Edit

namespace Effect {
class EffectBase;
}  // namespace Effect

namespace Component {

class EffectItemBaseControl;

// The options of the setting window the rows follow (its section "Setting").
struct SettingRowOptions {
  int32_t sectionViewMode = 2;     // 0 one value, 1 two for objects without midpoints, 2 two
  int32_t slideMouseHidden = 0;    // the pointer hides while a slider is dragged
  int32_t sliderButtonHidden = 0;  // sliders show no step buttons
  int32_t sliderCursorHidden = 0;  // number sliders show no value cursor
};

// The object setting window as its rows see it.
class SettingWindowAccess {
 public:
  virtual ~SettingWindowAccess() = default;
  // The object whose effects the window shows (null when none).
  virtual std::shared_ptr<Edit::Object> currentObject() const = 0;
  // The index of the section the window displays.
  virtual int32_t displaySection() const = 0;
  virtual const SettingRowOptions& options() const = 0;
};

// The block of one effect. It outlives its rows.
struct ItemRowBlock {
  // The block's effect; the rows never own it.
  std::shared_ptr<Effect::EffectBase> effect;
  SettingWindowAccess* window = nullptr;
  // The Tab order of the block's text fields, made when the first row joins it.
  std::shared_ptr<Control::EditFocusGroup::Members> focusGroup;
  // Paints the label column of a row that reacts to a press (hover colour while `hover`).
  std::function<void(EffectItemBaseControl& row, bool hover)> paintRowBody;

  // The shared focus list, made on first use.
  std::shared_ptr<Control::EditFocusGroup::Members> focusMembers() {
    if (!focusGroup) focusGroup = std::make_shared<Control::EditFocusGroup::Members>();
    return focusGroup;
  }
};

}  // namespace Component
