#pragma once
// Reading the header directives of a script registered as an effect: every "--track",
// "--check", "--color", "--file", "--font", "--figure", "--value", "--select", "--dialog" and
// "--param" line becomes a parameter item of the prototype bound to a script variable;
// "--script", "--label" and "--information" choose the engine, the menu label and the
// information text.
#include <memory>
#include <string>
#include <string_view>

#include "effect/effect_item.h"

namespace Effect {
class ScriptEffect;
}

namespace Plugin {

// Reads the whole text of the prototype's record. A directive that cannot be read ends the
// reading at its line with the WARN line "script params load faild [%s]\n%s"; the items made
// before it stay. The engine is then the one "--script" named, else the one named `engine`
// (null: the default), whose absence throws "not found script plugin.".
void readScriptHeader(Effect::ScriptEffect& prototype, std::string* label, const char* engine);

// A value item: the text decides its kind (between double quotes a text, between braces a
// table, anything else an expression). Built under `label`, bound to `variable` and listed
// in the record.
Effect::EffectItem& makeValueItem(Effect::ScriptEffect& prototype, const std::string& variable,
                                  std::string_view label, std::string_view value);

// Takes a new item for the prototype: binds it and lists a copy in the record.
Effect::EffectItem& addDeclaredItem(Effect::ScriptEffect& prototype, const std::string& variable,
                                    std::unique_ptr<Effect::EffectItem> item);

}  // namespace Plugin
