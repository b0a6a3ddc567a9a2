#include "edit/color_setting_undo.h"

#include "edit/update_section.h"

namespace Component {

void ColorSettingUndoUpdate::capture(ColorSetting& setting, ColorSettingUndoUpdate& state) {
  state.colors = setting.colors;
}

bool ColorSettingUndoUpdate::compare(ColorSettingUndoUpdate& before,
                                     ColorSettingUndoUpdate& after) {
  for (std::size_t color = 0; color < before.colors.size(); ++color)
    for (std::size_t i = 0; i < before.colors[color].size(); ++i)
      if (!(before.colors[color][i] == after.colors[color][i])) return true;
  return false;
}

void ColorSettingUndoUpdate::restore(const std::shared_ptr<ColorSetting>& setting,
                                     const ColorSettingUndoUpdate& state,
                                     Edit::UpdateSection& scope) {
  scope.updateEffectSetting = true;
  scope.updateColorSetting = true;
  setting->colors = state.colors;
}

}  // namespace Component
