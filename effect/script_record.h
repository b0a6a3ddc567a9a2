#pragma once
// What one registered script keeps for every effect made from it: shared by the prototype
// and its instances (a script movement embeds its own).
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Plugin {
class ScriptPlugin;  // a script engine, owned by the scripting host
}

namespace Effect {

class EffectItem;

// What the scripting host builds from a script's text on first use (its shaders); dropped
// when the text changes, so that it is built again from the new text.
class CompiledScript {
 public:
  virtual ~CompiledScript() = default;
};

struct ScriptRecord {
  std::string name;         // the registry key; instances' `name` points here
  std::string information;  // from the header; empty when it has none
  std::string directory;    // the script file's folder, without a trailing separator
  std::string text;         // UTF-8; replaced when the scripts are reloaded
  // The engine the header or the registration asked for; empty: the host's default.
  std::string engineName;
  // The engine the host bound; none until a host binds it.
  std::shared_ptr<Plugin::ScriptPlugin> engine;
  std::shared_ptr<CompiledScript> compiled;
  // The parameter items the header declared, in declaration order, each with the variable
  // it was bound to: copies of the prototype's items (values and settings), from which every
  // effect of the script builds its own.
  std::vector<std::pair<std::string, std::shared_ptr<const EffectItem>>> items;
};

}  // namespace Effect
