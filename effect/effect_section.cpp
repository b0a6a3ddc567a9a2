// How one effect is stored in project, alias and default-settings files: its name, its
// flags when set, and one line per item with the item's text form.
#include <exception>
#include <string>

#include "effect/effect_base.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/log.h"

namespace Effect {

namespace {

// A value is one line of the file. A text with a line break (a string item can hold one)
// would end the value early and turn the rest into lines of their own, a section header
// among them; such a value is cut at its first line break.
std::string_view oneLine(std::string_view value, const EffectBase& effect, const EffectItem& item) {
  const auto lineBreak = value.find_first_of("\r\n");
  if (lineBreak == std::string_view::npos) return value;
  System::Log::warn("Effect::EffectBase::saveIniSectionParameter",
                    "line break in effect parameter cut. [%s] [%s]", effect.name ? effect.name : "",
                    item.name.c_str());
  return value.substr(0, lineBreak);
}

}  // namespace

void EffectBase::saveIniSectionParameter(System::File& file) const {
  System::IniFile::writeValueLine(file, "effect.name", name ? name : "");
  if (disable) System::IniFile::writeValueLine(file, "effect.disable", "1");
  if (hide) System::IniFile::writeValueLine(file, "display.hide", "1");
  if (lock) System::IniFile::writeValueLine(file, "display.lock", "1");
  for (const EffectItem* item : items) {
    const std::string text = item->toString();
    System::IniFile::writeValueLine(file, item->name, oneLine(text, *this, *item));
  }
}

void EffectBase::loadIniSectionParameter(const System::IniFile::SectionRef& section) {
  // Read all three before changing any, so that a flag that is not a number changes nothing.
  const bool newDisable = section.findValue("effect.disable").toInt(0) != 0;
  const bool newHide = section.findValue("display.hide").toInt(0) != 0;
  const bool newLock = section.findValue("display.lock").toInt(0) != 0;
  disable = newDisable;
  hide = newHide;
  lock = newLock;
  for (EffectItem* item : items) {
    if (!section.hasKey(item->name)) continue;
    const System::IniFile::VALUE& value = section.findValue(item->name);
    try {
      item->fromString(value.text);
    } catch (const std::exception& exception) {
      System::Log::warn("Effect::EffectBase::loadIniSectionParameter",
                        "ini file effect parameter invalid.(%s)\n%s", exception.what(),
                        value.getPlaceText().c_str());
    }
  }
}

void EffectBase::setItemData(const EffectBase& other) {
  constexpr const char* place = "Effect::EffectBase::setItemData";
  if (items.size() != other.items.size())
    throw System::makeException(place, "different number of items.");
  // Checked before anything is copied, so a mismatch leaves every value as it was.
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i]->typeCode != other.items[i]->typeCode)
      throw System::makeException(place, "different item type.");
  for (std::size_t i = 0; i < items.size(); ++i) items[i]->copyFrom(*other.items[i]);
}

}  // namespace Effect
