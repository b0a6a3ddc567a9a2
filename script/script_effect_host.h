#pragma once
// The scripting host as the effect framework sees it: it reads the header of every script
// registered as an effect into the prototype's items and gives every new effect of a
// script its own copies of them. Installed at start-up, before the effect registry is built.
//
// Movement headers and the runs of the script kinds are still the headless host's: a
// movement reads only its label and information, and the script kinds run nothing.
#include <string>

#include "effect/script_host.h"

namespace Plugin {

class ScriptEffectHost : public Effect::ScriptHost {
 public:
  void makeScriptParams(Effect::ScriptEffect& prototype, std::string* label,
                        const char* engine) override;
  using Effect::ScriptHost::makeScriptParams;
  void shareItems(Effect::ScriptEffect& effect, const Effect::ScriptEffect& prototype) override;
};

}  // namespace Plugin
