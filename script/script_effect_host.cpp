#include "script/script_effect_host.h"

#include <stdexcept>

#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "effect/script_effect.h"
#include "script/script_header_reader.h"
#include "script/item_cast.h"
#include "system/exception.h"
#include "system/file.h"

namespace Plugin {

namespace {

using Effect::EffectItem;

// A new item of `effect` with the declared item's label and value.
std::unique_ptr<EffectItem> copyItem(Effect::ScriptEffect& effect, const EffectItem& declared) {
  Effect::EffectItemList& items = effect.items;
  const std::string& label = declared.name;
  switch (declared.typeCode) {
    case Effect::ItemType::Number: {
      // The declared item keeps its numbers in step units.
      const auto& number = itemAs<Effect::EffectItemNumber>(declared);
      const double scale = number.scale;
      return std::make_unique<Effect::EffectItemNumber>(
          items, label, number.defaultValue / scale, number.minimum / scale,
          number.maximum / scale, 1.0 / scale);
    }
    case Effect::ItemType::Check:
      return std::make_unique<Effect::EffectItemCheck>(
          items, label, itemAs<Effect::EffectItemCheck>(declared).value);
    case Effect::ItemType::String:
    case Effect::ItemType::ScriptString1:
    case Effect::ItemType::ScriptString2:
      return std::make_unique<Effect::EffectItemString>(
          items, label, itemAs<Effect::EffectItemString>(declared).value, declared.typeCode);
    case Effect::ItemType::File:
      return std::make_unique<Effect::EffectItemFile>(
          items, label,
          System::FileName::expandVariable(itemAs<Effect::EffectItemFile>(declared).path));
    case Effect::ItemType::Color:
    case Effect::ItemType::ColorOrNone: {
      const auto& color = itemAs<Effect::EffectItemColor>(declared);
      return std::make_unique<Effect::EffectItemColor>(
          items, label, color.none ? Effect::EffectItemColor::kNoColor : color.rgb(),
          declared.typeCode);
    }
    case Effect::ItemType::Select: {
      const auto& select = itemAs<Effect::EffectItemSelect>(declared);
      return std::make_unique<Effect::EffectItemSelect>(items, label, select.value, select.list);
    }
    case Effect::ItemType::FontSelect: {
      const auto& font = itemAs<Effect::EffectItemSelect>(declared);
      const auto list = font.list ? font.list : Effect::EffectItemFontSelect::getFontList();
      const auto face = list->entries.find(font.value);
      if (face == list->entries.end()) throw std::out_of_range("invalid map<K, T> key");
      return std::make_unique<Effect::EffectItemFontSelect>(items, label,
                                                            std::string(face->second).c_str());
    }
    case Effect::ItemType::FigureSelect: {
      // The figure's name, or the file chosen instead of a figure.
      const auto& figure = itemAs<Effect::EffectItemComboFile>(declared);
      if (figure.id < 0) {
        auto item = std::make_unique<Effect::EffectItemFigureSelect>(items, label, nullptr);
        item->setFilePath(figure.path);
        return item;
      }
      return std::make_unique<Effect::EffectItemFigureSelect>(items, label,
                                                              figure.toString().c_str());
    }
    default:
      throw System::makeNotImplementedException("Effect::ScriptEffect::shareResource");
  }
}

}  // namespace

void ScriptEffectHost::makeScriptParams(Effect::ScriptEffect& prototype, std::string* label,
                                        const char* engine) {
  if (prototype.record()) readScriptHeader(prototype, label, engine);
}

void ScriptEffectHost::shareItems(Effect::ScriptEffect& effect,
                                  const Effect::ScriptEffect& prototype) {
  if (!prototype.record()) return;
  for (const auto& [variable, declared] : prototype.record()->items)
    effect.addScriptItem(variable, copyItem(effect, *declared));
}

}  // namespace Plugin
