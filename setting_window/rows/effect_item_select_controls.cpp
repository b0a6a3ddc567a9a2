#include "setting_window/rows/effect_item_select_controls.h"

#include "system/setting_service.h"
#include "ui/list_box.h"

namespace Component {
namespace {

// The value when the list holds it, else the list's first (smallest) value.
int32_t listedOrFirst(const Effect::EffectItemSelect::SharedList& list, int32_t value) {
  return list.entries.count(value) ? value : list.firstValue();
}

}  // namespace

EffectItemSelectControl::EffectItemSelectControl(Window::WindowControlContainer& parent,
                                                 ItemRowBlock& rowBlock,
                                                 Effect::EffectItem& selectItem)
    : EffectItemControl(parent, rowBlock, Setting::Style::settingItemHeightPlus2, selectItem),
      label(layout, 0, 0, headerWidth, 0, translatedName(*item), Control::TextControl::kLeft),
      valueButton(layout, headerWidth + marginWidth, 0, 0, 0,
                  Control::TextButtonControl::kDropDown) {
  valueButton.clickCallback = [this](Control::ButtonControl&) { showList(); };
  // The wheel walks the list only while this row's list is open.
  valueButton.wheelPredicate = [this](Control::TextButtonWheelControl&) {
    return Window::ListBox::isOpen() && Window::ListBox::ownerData() == this;
  };
  valueButton.wheelCallback = [](Control::TextButtonWheelControl&, int32_t delta) {
    Window::ListBox::moveSelection(delta < 0 ? 1 : -1);
  };
  updateValue();
}

void EffectItemSelectControl::showList() {
  Window::ListBox::initialize();
  int index = 0;
  for (const auto& [value, name] : item->list->entries) {
    Window::ListBox::addItem(Effect::getSelectItemName(item->list->entries, value),
                             [this, value = value] { selectIndex(value); });
    if (value == item->value) Window::ListBox::setCurrentSelection(index);
    ++index;
  }
  const Window::Rect& at = valueButton.fullRect;
  Window::ListBox::show(at.x, at.y, at.width, at.height, this);
}

void EffectItemSelectControl::selectIndex(int32_t value) {
  runEdit(true, [&](Edit::UpdateSection& scope) {
    item->value = listedOrFirst(*item->list, value);
    notifyItemChange(*block->effect, scope, *item);
    updateValue();
  });
}

void EffectItemSelectControl::updateValue() {
  valueButton.text = Effect::getSelectItemName(item->list->entries, item->value);
}

EffectItemSelectButtonControl::EffectItemSelectButtonControl(
    Window::WindowControlContainer& parent, ItemRowBlock& rowBlock, Effect::EffectItem& selectItem)
    : EffectItemControl(parent, rowBlock, Setting::Style::settingItemHeightPlus2, selectItem),
      button(layout, 0, 0, 0, 0, Control::TextButtonControl::kCentred) {
  leftFraction = item->start;
  rightFraction = item->end;
  // A row that starts inside the line takes no margin on its left.
  if (leftFraction > 0.0f) layout.layoutX = 0;
  updateValue();
}

void EffectItemSelectButtonControl::selectValue(int32_t value) {
  runEdit(true, [&](Edit::UpdateSection&) {
    item->value = listedOrFirst(*item->list, value);
    updateValue();
  });
}

void EffectItemSelectButtonControl::updateValue() {
  button.text = Effect::getSelectItemName(item->list->entries, item->value);
}

}  // namespace Component
