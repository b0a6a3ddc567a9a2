#pragma once
// The Effect table of the translation service, as the effect framework sees it: effect
// names, movement names and choice names are shown translated while a language is active.
// They go through the translation service's Effect table; a hook, when one is installed,
// takes its place (tests use it to translate with a table of their own).
#include <string>
#include <string_view>

namespace Effect {

// Returns the translation of a text, or the text itself when the table has none.
using TranslateHook = std::string (*)(std::string_view text);
void setTranslateHook(TranslateHook hook);

// The text through the installed hook, else through the Effect table while a language is
// active, else unchanged.
std::string translateEffectText(std::string_view text);

}  // namespace Effect
