#pragma once
// What script effects and script movements ask of the scripting host, which lies above the
// effect framework: reading a script's header when the script is registered, giving a new
// effect of a script its parameter items, and running scripts. The scripting host
// implements it and the program installs it at start-up.
//
// This base is also the headless host used until one is installed (tests, a run without
// script engines): of a header it reads only the label and information lines, it gives
// effects no items, and it runs nothing. An input then yields no picture, a filter passes
// its picture on unchanged, a script movement holds the value 0, and a script block of a
// text prints nothing.
#include <string>

#include "effect/owned_buffer.h"

namespace Effect {

class EffectContext;
class EffectItemNumber;
class ScriptEffect;
class ScriptMovement;
struct SectionPosition;

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // Reads the header of a newly registered script effect (its text is in its record):
  // builds its items, stores its information text, writes its label directive to `label`
  // when one is given, and selects the engine named `engine` (null: the default). Logs
  // what it cannot read; throws only when no engine at all can be had.
  virtual void makeScriptParams(ScriptEffect& prototype, std::string* label,
                                const char* engine);
  // The same for a script movement: its options, default parameters, information, label
  // and engine.
  virtual void makeScriptParams(ScriptMovement& movement, std::string* label,
                                const char* engine);
  // A new effect of a script, already sharing its prototype's record, takes fresh items
  // with the prototype's defaults.
  virtual void shareItems(ScriptEffect& effect, const ScriptEffect& prototype);

  // The processing runs of the script kinds (render workers).
  virtual OwnedImage inputVideo(ScriptEffect& effect, EffectContext& context);
  virtual OwnedImage filterVideo(ScriptEffect& effect, EffectContext& context,
                                 OwnedImage image);
  virtual void preInputVideo(ScriptEffect& effect, EffectContext& context);
  virtual void controlVideo(ScriptEffect& effect, EffectContext& context);
  virtual double getValue(const ScriptMovement& movement, const EffectItemNumber& track,
                          const SectionPosition& position, const EffectContext& context);
  // Runs one script block of a text object (UTF-8) in an instance bound to the effect and
  // the context (null while the text is only measured) and gives back what the block
  // printed. Throws what the run throws. The headless host runs nothing, so the block
  // leaves nothing in the text.
  virtual std::string runTextBlock(ScriptEffect& effect, EffectContext* context,
                                   const std::string& script);
};

// Installs the host (nullptr puts the headless one back). At start-up, before the registry
// is built, and not while anything runs a script.
void setScriptHost(ScriptHost* host);
// The installed host, or the headless one.
ScriptHost& scriptHost();

}  // namespace Effect
