#pragma once
// The colour window's state as the undo service sees it: its two colours, held by a shared
// pointer that the window and the undo items share, and the undo state over it
// (Undo::UndoItemTemplate<Component::ColorSetting, Component::ColorSettingUndoUpdate>).
#include <array>
#include <memory>

namespace Edit {
class UpdateSection;
}

namespace Component {

using ColorValue = std::array<float, 4>;

struct ColorSetting {
  std::array<ColorValue, 2> colors{};
};

struct ColorSettingUndoUpdate {
  std::array<ColorValue, 2> colors{};

  static void capture(ColorSetting& setting, ColorSettingUndoUpdate& state);
  // Any of the eight values differing counts; a NaN always differs.
  static bool compare(ColorSettingUndoUpdate& before, ColorSettingUndoUpdate& after);
  static void restore(const std::shared_ptr<ColorSetting>& setting,
                      const ColorSettingUndoUpdate& state, Edit::UpdateSection& scope);
};

}  // namespace Component
