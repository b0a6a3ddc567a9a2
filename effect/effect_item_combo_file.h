#pragma once
// Items that choose either an entry of a list or a file of the user's: the combo file
// item, and the figure choice over the figures of the drawing layer.
#include <functional>

#include "effect/effect_item_select.h"
#include "system/file.h"

namespace Effect {

class EffectItemComboFile : public EffectItem {
 public:
  using SharedList = EffectItemSelect::SharedList;

  // `filter` is borrowed and must outlive the item; null means the all-file filter. The id
  // is taken as given.
  EffectItemComboFile(EffectItemList& items, uint8_t typeCode, std::string_view name,
                      std::shared_ptr<SharedList> list, const System::Filter* filter, int id);
  EffectItemComboFile(const EffectItemComboFile&) = default;

  void copyFrom(const EffectItem& other) override;
  bool equals(const EffectItem& other) const override;
  std::unique_ptr<EffectItem> clone() const override;
  // The path when a file is chosen, else the entry's name (a missing entry throws
  // std::out_of_range "invalid map<K, T> key").
  std::string toString() const override;
  // A name of the list selects its entry; else a text holding a "." is taken as a path;
  // anything else changes nothing.
  void fromString(std::string_view text) override;
  // A text of at most two characters is an entry number; other texts as fromString.
  void loadKvoParameter(std::string_view text, std::string_view key, std::string_view effectName,
                        bool currentForm) override;
  const std::string* getFilePath() const override;
  // An empty path changes nothing; otherwise the path is chosen (variable expanded).
  void setFilePath(std::string_view path) override;
  ControlKind getControlKind() const override;

  // Chooses an entry and clears the path: the given id when the list has it, else the
  // smallest one (-1 for an empty list).
  void selectIndex(int id);

  std::shared_ptr<SharedList> list;
  const System::Filter* filter;  // of the open dialog
  int id;                        // an entry of the list, or -1 when a file is chosen
  std::string path;              // empty unless id is -1
};

// A figure: a figure of the drawing layer's list, or an SVG file.
class EffectItemFigureSelect : public EffectItemComboFile {
 public:
  // "SvgFile (*.svg)" with "*.svg", then "AllFile (*.*)" with "*.*".
  static const System::Filter& figureFilter();

  // `figure` null: the entry 1. A figure name the list lacks chooses the smallest entry,
  // with a WARN line, instead of failing the whole effect.
  EffectItemFigureSelect(EffectItemList& items, std::string_view name, const char* figure,
                         uint8_t typeCode = ItemType::FigureSelect);
  EffectItemFigureSelect(const EffectItemFigureSelect&) = default;

  // A plain combo file item.
  std::unique_ptr<EffectItem> clone() const override;

  // The drawing layer's figure list (effect/drawing_resources.h); empty without one.
  static std::shared_ptr<SharedList> getFigureList();
};

}  // namespace Effect
