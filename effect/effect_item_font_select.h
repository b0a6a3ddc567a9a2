#pragma once
// The font family choice. Its list is the process-wide list of installed font families,
// which the drawing layer supplies; a family that is not installed falls back to the
// default family, as the text drawing does, so an effect whose default font is missing on
// this machine is still made.
#include <functional>
#include <string>
#include <vector>

#include "effect/effect_item_select.h"

namespace Effect {

class EffectItemFontSelect : public EffectItemSelect {
 public:
  // The installed families in the drawing layer's order.
  using FamilySource = std::function<std::vector<std::string>()>;
  // Whether a family is installed.
  using InstalledCheck = std::function<bool(std::string_view family)>;

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

  // Installed by the drawing layer. Setting a source makes the next getFontList build the
  // list anew; items keep the list they were made with. Without a source the list holds
  // the default family alone; without a check every family counts as installed.
  static void setFamilySource(FamilySource source);
  static void setInstalledCheck(InstalledCheck check);
};

}  // namespace Effect
