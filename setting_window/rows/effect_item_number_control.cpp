#include "setting_window/rows/effect_item_number_control.h"

#include <algorithm>

#include "effect/movement_base.h"
#include "system/setting_service.h"
#include "system/text.h"

namespace Component {
namespace {

std::string labelText(Effect::EffectItemNumber& item) {
  std::string text = EffectItemBaseControl::translatedName(item);
  if (item.movement && !item.movement->defaultParams.empty()) {
    const std::vector<double>& params = item.getMovementParams();
    if (!params.empty()) text += " : " + System::formatNumber(params.front());
  }
  return text;
}

}  // namespace

EffectItemNumberControl::EffectItemNumberControl(Window::WindowControlContainer& parent,
                                                 ItemRowBlock& rowBlock,
                                                 Effect::EffectItem& numberItem)
    : EffectItemControl(parent, rowBlock, Setting::Style::settingItemHeightPlus2, numberItem),
      valueCount(0),
      displayIndex(0),
      label(layout, headerWidth, labelText(*item)),
      valueArea(layout, headerWidth + marginWidth, 0, 0, 0),
      startSlider(valueArea, 0, 0, 0),
      endSlider(valueArea, 0, 0, 0) {
    if (item->movement && item->movement->timeControl) {
    label.iconToolTipText = kTimeControlTip;
  } else if (item->movement && !item->movement->defaultParams.empty()) {
    label.iconToolTipText = kSettingsTip;
  }
  setUpSlider(startSlider, false);
  setUpSlider(endSlider, true);
  valueCount = static_cast<int32_t>(item->values.size());
  displayIndex = getDisplayIndex();
  updateValue();
}

void EffectItemNumberControl::setUpSlider(Control::SliderInputControl& slider, bool endValue) {
  const SettingRowOptions options = block->window ? block->window->options() : SettingRowOptions{};
  slider.valueCursor = options.sliderCursorHidden == 0;
  slider.hidePointerWhileDragging = options.slideMouseHidden != 0;
  slider.noStepButtons = options.sliderButtonHidden != 0;
  const double scale = item->scale;
  slider.setRange(item->defaultValue / scale, item->minimum / scale, item->maximum / scale,
                  1.0 / scale);
  if (item->zeroText) slider.zeroText = item->zeroText;
  slider.changeBeginCallback = [this](Control::SliderInputControl&) { beginDragStep(true); };
  slider.changeEndCallback = [this](Control::SliderInputControl&) { endDragStep(); };
  slider.valueChangedCallback = [this, endValue](Control::SliderInputControl& source) {
    const int32_t last = std::max(valueCount - 1, 0);
    const int32_t index = std::max(0, std::min(displayIndex + (endValue ? 1 : 0), last));
    setValue(index, static_cast<double>(source.value) / source.scale);
  };
}

bool EffectItemNumberControl::showsTwoValues() const {
  const int32_t mode = block->window ? block->window->options().sectionViewMode : 2;
  const auto count = static_cast<int32_t>(item->values.size());
  return (mode == 2 && count >= 2) || (mode == 1 && count == 2);
}

int32_t EffectItemNumberControl::getDisplayIndex() const {
  const auto count = static_cast<int32_t>(item->values.size());
  const int32_t lastStart = std::max(count - (showsTwoValues() ? 2 : 1), 0);
  const int32_t section = block->window ? block->window->displaySection() : 0;
  return std::min(lastStart, section);
}

void EffectItemNumberControl::updateValue() {
  const int32_t count = static_cast<int32_t>(item->values.size());
  const int32_t index = item->clampValueIndex(displayIndex);
  startSlider.setValue(item->getDisplayValue(index));
  startSlider.leftGrip = index == 0;
  startSlider.rightGrip = index + 1 == count;
  if (showsTwoValues()) {
    endSlider.setValue(item->getDisplayValue(std::min(index + 1, count - 1)));
    endSlider.leftGrip = false;
    endSlider.rightGrip = index + 2 == count;
  }
}

void EffectItemNumberControl::updateSection() {
  const int32_t index = getDisplayIndex();
  if (index == displayIndex) return;
  displayIndex = index;
  updateValue();
  if (!drawing.renderTarget) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, visibleRect.x, visibleRect.y,
                                       visibleRect.x + visibleRect.width,
                                       visibleRect.y + visibleRect.height, true);
  startSlider.procPaint();
  endSlider.procPaint();
}

void EffectItemNumberControl::procMove() {
  if (showsTwoValues()) {
    const int32_t column = fullRect.width - 3 * marginWidth - headerWidth;
    const int32_t width = column / 2 < 3 ? 1 : column / 2 - 1;
    startSlider.layoutX = 0;
    startSlider.layoutW = width;
    endSlider.layoutX = -width;
    endSlider.layoutW = width;
    endSlider.visible = true;
  } else {
    startSlider.layoutX = 0;
    startSlider.layoutW = 0;
    endSlider.visible = false;
  }
  EffectItemBaseControl::procMove();
}

void EffectItemNumberControl::setValue(int32_t index, double value) {
  runEdit(false, [&](Edit::UpdateSection& scope) {
    item->setValue(value, index);
    notifyItemChange(*block->effect, scope, *item);
    if (!editsLinkedObjects()) return;
    for (const auto& effect : getLinkedEffects()) {
      auto* linked = linkedItem<Effect::EffectItemNumber>(*effect);
      if (!linked || linked->movement != item->movement ||
          linked->values.size() != item->values.size() ||
          index >= static_cast<int32_t>(linked->values.size()))
        continue;
      linked->setValue(value, index);
    }
  });
}

}  // namespace Component
