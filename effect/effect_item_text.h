#pragma once
// A multi-line text item. Its text form escapes backslashes and line breaks so that the
// value fits on one line of a project file; legacy object files store it as a hex dump of
// UTF-16.
#include "effect/effect_item.h"

namespace Effect {

class EffectItemText : public EffectItem {
 public:
  EffectItemText(EffectItemList& items, std::string_view name, std::string_view value);
  EffectItemText(const EffectItemText&) = default;

  // A snapshot with a prefix or suffix length rebuilds the value from the current one's
  // prefix, its own middle and the current one's suffix; any other source is copied whole.
  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  // Backslashes doubled; each line break ("\r\n", "\r" or "\n") written as "\n". The value
  // is written up to its first NUL.
  std::string toString() const override;
  // "\\" becomes one backslash and "\n" a line feed; any other backslash stays.
  void fromString(std::string_view text) override;
  // Under the legacy key "text", the value is a hex dump of UTF-16: each group of four
  // digits is one code unit, low byte first. A dump with a digit that is not hex throws
  // std::invalid_argument and keeps the value.
  void loadKvoParameter(std::string_view text, std::string_view key, std::string_view effectName,
                        bool currentForm) override;
  ControlKind getControlKind() const override;

  // Shrinks two snapshots of one text item (before and after a change) to the part that
  // differs: both keep the common prefix and suffix lengths and only their own middles.
  // The cut never splits a UTF-8 sequence.
  static void makeUndoDiff(EffectItemText& before, EffectItemText& after);

  std::string value;
  int prefixLength = 0;  // both 0 except in undo snapshots
  int suffixLength = 0;
};

}  // namespace Effect
