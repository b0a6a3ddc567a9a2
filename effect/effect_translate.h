#pragma once
// The Effect table of the translation service, as the effect framework sees it: effect
// names, movement names and choice names are shown translated while a language is active.
#include <string>
#include <string_view>

namespace Effect {

// The text through the Effect table while a language is active, else unchanged.
std::string translateEffectText(std::string_view text);

}  // namespace Effect
