#pragma once
// A file path item. Paths are stored with their leading path variable expanded.
#include "effect/effect_item.h"
#include "system/file.h"

namespace Effect {

class EffectItemFile : public EffectItem {
 public:
  // The filter of script file items: "AllFile (*.*)" with the pattern "*.*".
  static const System::Filter& allFileFilter();

  // `filter` is borrowed and must outlive the item; null means allFileFilter().
  EffectItemFile(EffectItemList& items, std::string_view name, std::string_view path,
                 const System::Filter* filter = nullptr, uint8_t typeCode = ItemType::File);
  EffectItemFile(const EffectItemFile&) = default;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  std::string toString() const override;
  // Stores the text as the path and expands its variable.
  void fromString(std::string_view text) override;
  const std::string* getFilePath() const override;
  void setFilePath(std::string_view path) override;
  ControlKind getControlKind() const override;

  const System::Filter* filter;  // of the open dialog
  std::string path;
  bool clearOnCancel = false;  // a cancelled file dialog clears the path
};

}  // namespace Effect
