#pragma once
// The Effect table of the translation service, as the effect framework sees it: effect
// names, movement names and choice names are shown translated while a language is active.
// The translation service installs the lookup when a language becomes active and removes
// it when none is; without it texts are shown as they are.
#include <string>
#include <string_view>

namespace Effect {

// Returns the translation of a text, or the text itself when the table has none.
using TranslateHook = std::string (*)(std::string_view text);
void setTranslateHook(TranslateHook hook);

// The text through the installed hook, or unchanged.
std::string translateEffectText(std::string_view text);

}  // namespace Effect
