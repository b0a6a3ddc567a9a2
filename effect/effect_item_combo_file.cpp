#include "effect/effect_item_combo_file.h"

#include <stdexcept>

#include "effect/drawing_resources.h"
#include "effect/effect_item_file.h"
#include "effect/text_conversion.h"
#include "system/log.h"

namespace Effect {

EffectItemComboFile::EffectItemComboFile(EffectItemList& items, uint8_t code,
                                         std::string_view itemName,
                                         std::shared_ptr<SharedList> choices,
                                         const System::Filter* dialogFilter, int initial)
    : EffectItem(items, code, itemName),
      list(choices ? std::move(choices) : EffectItemSelect::createSharedList()),
      filter(dialogFilter ? dialogFilter : &EffectItemFile::allFileFilter()),
      id(initial) {}

void EffectItemComboFile::copyFrom(const EffectItem& other) {
  const auto& source = sameKind<EffectItemComboFile>(other);
  id = source.id;
  path = source.path;
}

bool EffectItemComboFile::equals(const EffectItem& other) const {
  const auto& source = sameKind<EffectItemComboFile>(other);
  return id == source.id && path == source.path;
}

std::unique_ptr<EffectItem> EffectItemComboFile::clone() const {
  return std::make_unique<EffectItemComboFile>(*this);
}

std::string EffectItemComboFile::toString() const {
  if (id == -1) return path;
  const auto found = list->entries.find(id);
  if (found == list->entries.end()) throw std::out_of_range("invalid map<K, T> key");
  return std::string(found->second);
}

void EffectItemComboFile::fromString(std::string_view text) {
  if (list->contains(text)) {
    selectIndex(list->getValue(text));
  } else if (text.find('.') != std::string_view::npos) {
    path = System::FileName::expandVariable(text);
    id = -1;
  }
}

void EffectItemComboFile::loadKvoParameter(std::string_view text, std::string_view key,
                                           std::string_view effectName, bool currentForm) {
  if (text.size() <= 2) {
    try {
      selectIndex(readInteger(text));
      return;
    } catch (const std::logic_error&) {
      // Not a number: read as a name or a path below.
    }
  }
  fromString(text);
}

const std::string* EffectItemComboFile::getFilePath() const { return &path; }

void EffectItemComboFile::setFilePath(std::string_view newPath) {
  if (newPath.empty()) return;
  path = System::FileName::expandVariable(newPath);
  id = -1;
}

ControlKind EffectItemComboFile::getControlKind() const { return ControlKind::ComboFile; }

void EffectItemComboFile::selectIndex(int wanted) {
  path.clear();
  if (list->entries.contains(wanted))
    id = wanted;
  else
    id = list->entries.empty() ? -1 : list->firstValue();
}

const System::Filter& EffectItemFigureSelect::figureFilter() {
  static const System::Filter filter = {{"SvgFile (*.svg)", "*.svg"}, {"AllFile (*.*)", "*.*"}};
  return filter;
}

EffectItemFigureSelect::EffectItemFigureSelect(EffectItemList& items, std::string_view itemName,
                                               const char* figure, uint8_t code)
    : EffectItemComboFile(items, code, itemName, getFigureList(), &figureFilter(), 1) {
  if (!figure) return;
  if (list->contains(figure)) {
    id = list->getValue(figure);
    return;
  }
  System::Log::warn("Effect::EffectItemFigureSelect::EffectItemFigureSelect",
                    "figure not found [%s]; using the first figure", figure);
  selectIndex(1);
}

std::unique_ptr<EffectItem> EffectItemFigureSelect::clone() const {
  return std::make_unique<EffectItemComboFile>(static_cast<const EffectItemComboFile&>(*this));
}

std::shared_ptr<EffectItemComboFile::SharedList> EffectItemFigureSelect::getFigureList() {
  const DrawingResources* resources = drawingResources();
  std::shared_ptr<SharedList> list = resources ? resources->figureList() : nullptr;
  return list ? list : EffectItemSelect::createSharedList();
}

}  // namespace Effect
