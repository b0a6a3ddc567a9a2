#pragma once
// The scripting host as the effect framework sees it: it reads the header of every script
// registered as an effect into the prototype's items, gives every new effect of a script
// its own copies of them, and runs the scripts of the four kinds when they render.
// Installed at start-up, before the effect registry is built.
//
// Each run makes one instance of the script's engine, runs the script once and destroys
// the instance. A failed run is logged ("script exception: %s") at the kind's operation and
// hands no picture on: the object is not drawn for that frame.
//
// Movement headers and runs are still the headless host's: a movement reads only its label
// and information, and holds the value 0.
#include <string>

#include "effect/script_host.h"

namespace Plugin {

class ScriptEffectHost : public Effect::ScriptHost {
 public:
  void makeScriptParams(Effect::ScriptEffect& prototype, std::string* label,
                        const char* engine) override;
  using Effect::ScriptHost::makeScriptParams;
  void shareItems(Effect::ScriptEffect& effect, const Effect::ScriptEffect& prototype) override;

  // A custom object: the picture its script made (none when it made none or drew it).
  Effect::OwnedImage inputVideo(Effect::ScriptEffect& effect,
                                Effect::EffectContext& context) override;
  // An animation effect: the script works on the object's picture and hands it on.
  Effect::OwnedImage filterVideo(Effect::ScriptEffect& effect, Effect::EffectContext& context,
                                 Effect::OwnedImage image) override;
  // A camera effect runs its script; a scene change has the picture before its object
  // drawn, as the built-in scene change does.
  void preInputVideo(Effect::ScriptEffect& effect, Effect::EffectContext& context) override;
  // A scene change: the script gets a copy of the picture before the object and the
  // progress through the object, and draws into the frame.
  void controlVideo(Effect::ScriptEffect& effect, Effect::EffectContext& context) override;
  // A script block of a text object: run in an instance of the text's engine (the default
  // one when the text names none) and answered with what it printed with `mes`.
  std::string runTextBlock(Effect::ScriptEffect& effect, Effect::EffectContext* context,
                           const std::string& script) override;
};

}  // namespace Plugin
