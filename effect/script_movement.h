#pragma once
// A movement kind whose value a script computes: one per script of a .tra2 / .tra file.
// It starts offering no acceleration or deceleration, one value per point and no
// parameters; its header changes that when the scripting host reads it.
#include <string>

#include "effect/movement_base.h"
#include "effect/script_file_parser.h"
#include "effect/script_record.h"

namespace Effect {

class ScriptMovement : public MovementBase, public ScriptFileParser {
 public:
  explicit ScriptMovement(std::string name);

  // Runs the script through the host.
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext& context) const override;

  // On a new prototype: moves the entry's name and text into the record, stores the
  // script's folder, makes the record's name the movement's name, then reads the header.
  void loadScript(ScriptEntry& entry, std::string directory, std::string* label,
                  const char* engine);
  // Has the host read the header into the options (`label` receives its label directive).
  void makeScriptParams(std::string* label, const char* engine);
  // The entry's text replaces the script's text; the options stay as they were read.
  void replaceScriptText(ScriptEntry& entry);

  ScriptRecord record;
};

}  // namespace Effect
