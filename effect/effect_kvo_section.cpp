// The effect sections of legacy object files: the old files name their parameters by the
// old keys, which the mapping tables of effect.conf translate to today's item names.
#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "effect/effect_base.h"
#include "system/log.h"
#include "system/setting_service.h"

namespace Effect {

void EffectBase::loadKvoSectionParameter(const System::IniFile::SectionRef& section) {
  disable = section.findValue("_disable").toInt(0) != 0;
  // The store keeps no order; the keys are handed on in the order of their lines, so that a
  // later key that names the same item as an earlier one wins as it did in the old editor.
  std::vector<std::pair<const std::string*, const System::IniFile::VALUE*>> keys;
  keys.reserve(section.keys().size());
  for (const auto& entry : section.keys()) keys.emplace_back(&entry.first, &entry.second);
  std::sort(keys.begin(), keys.end(),
            [](const auto& a, const auto& b) { return a.second->line < b.second->line; });
  for (const auto& [key, value] : keys) {
    if (*key == "_name") continue;
    EffectItem* found = nullptr;
    for (EffectItem* item : items) {
      if (item->name == *key) {
        found = item;
        break;
      }
    }
    try {
      // A table entry without a name is as bad as a value the item refuses: the key goes.
      if (!found) found = findOldScriptItem(*key);
      if (found) found->loadKvoParameter(value->text, *key, name, false);
    } catch (const std::exception&) {
      System::Log::warn("Effect::EffectBase::loadKvoSectionParameter",
                        "ini file effect parameter invalid. [%s](%s)", name, key->c_str());
    }
  }
}

EffectItem* EffectBase::findOldScriptItem(std::string_view key) const {
  const auto* settings = Setting::SettingService::instance();
  if (!settings) return nullptr;
  const System::IniFile::SectionRef table =
      settings->effect.getSection(std::string("OldScript.") + name);
  if (!table.hasKey(key)) return nullptr;
  const std::string itemName = table.getValue(key).toString();
  for (EffectItem* item : items)
    if (item->name == itemName) return item;
  return nullptr;
}

}  // namespace Effect
