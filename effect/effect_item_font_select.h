#pragma once
// The font family choice. Its list is the process-wide list of installed font families,
// which the drawing layer supplies (effect/drawing_resources.h); a family that is not
// installed falls back to the default family, as the text drawing does, so an effect whose
// default font is missing on this machine is still made.
#include <string>
#include <vector>

#include "effect/effect_item_select.h"

namespace Effect {

class EffectItemFontSelect : public EffectItemSelect {
 public:
  // `family` null: the default font. A family that is not installed (or not in the list)
  // is replaced by the default family, with a WARN line.
  EffectItemFontSelect(EffectItemList& items, std::string_view name, const char* family);
  EffectItemFontSelect(const EffectItemFontSelect&) = default;

  // A plain select.
  std::unique_ptr<EffectItem> clone() const override;
  ControlKind getControlKind() const override;

  // The list of installed families, built at the first call: family i has the value i. It
  // is never empty: without any family it holds the default family alone.
  static std::shared_ptr<SharedList> getFontList();
  // The value of the default family in the list (0 when the list lacks it).
  static int getDefaultFontValue();
  // The default family: style.conf's DefaultFamily, or "Yu Gothic UI" without settings.
  static std::string getDefaultFamily();

  // Makes the next getFontList build the list anew (the drawing resources changed).
  static void dropFontList();
};

}  // namespace Effect
