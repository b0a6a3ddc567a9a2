#pragma once
// A script engine: a named way to run script text, with the version it reports. The
// scripting host registers its engines by name in the script service.
#include <memory>
#include <string>

#include "effect/outer_types.h"

namespace Effect {
class EffectContext;
class EffectItemNumber;
class ScriptEffect;
class ScriptMovement;
struct SectionPosition;
}  // namespace Effect

namespace Plugin {

class ScriptPluginInstance;

class ScriptPlugin {
 public:
  virtual ~ScriptPlugin() = default;
  ScriptPlugin(const ScriptPlugin&) = delete;
  ScriptPlugin& operator=(const ScriptPlugin&) = delete;

  // One run of a movement script for the value of `item` in `section`.
  virtual std::unique_ptr<ScriptPluginInstance> createMovementInstance(
      const Effect::ScriptMovement& movement, const Effect::EffectItemNumber& item,
      const Effect::SectionPosition& section, const Effect::EffectContext& context) = 0;
  // One run of the script of `effect` on the object of `context`.
  virtual std::unique_ptr<ScriptPluginInstance> createEffectInstance(
      Effect::ScriptEffect& effect, Effect::EffectContext& context) = 0;

  std::string version;  // shown when the engine is registered
  std::string name;     // the registry key, matched exactly
  // The library the engine loads at its first run; a test may point it elsewhere before.
  std::string libraryFile;

 protected:
  ScriptPlugin(std::string versionText, std::string engineName, std::string library)
      : version(std::move(versionText)), name(std::move(engineName)),
        libraryFile(std::move(library)) {}
};

}  // namespace Plugin
