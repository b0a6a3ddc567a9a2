#include "effect/effect_item_file.h"

namespace Effect {

const System::Filter& EffectItemFile::allFileFilter() {
  static const System::Filter filter = {{"AllFile (*.*)", "*.*"}};
  return filter;
}

EffectItemFile::EffectItemFile(EffectItemList& items, std::string_view itemName,
                               std::string_view initial, const System::Filter* dialogFilter,
                               uint8_t code)
    : EffectItem(items, code, itemName),
      filter(dialogFilter ? dialogFilter : &allFileFilter()),
      path(System::FileName::expandVariable(initial)) {}

void EffectItemFile::copyFrom(const EffectItem& other) {
  path = sameKind<EffectItemFile>(other).path;
}

bool EffectItemFile::equals(const EffectItem& other) const {
  return path == sameKind<EffectItemFile>(other).path;
}

std::unique_ptr<EffectItem> EffectItemFile::clone() const {
  return std::make_unique<EffectItemFile>(*this);
}

std::string EffectItemFile::toString() const { return path; }

void EffectItemFile::fromString(std::string_view text) {
  path = System::FileName::expandVariable(text);
}

const std::string* EffectItemFile::getFilePath() const { return &path; }

void EffectItemFile::setFilePath(std::string_view newPath) {
  path = System::FileName::expandVariable(newPath);
}

ControlKind EffectItemFile::getControlKind() const { return ControlKind::File; }

}  // namespace Effect
