#pragma once
// Effects whose work a script does: one kind per registered script, in four families by
// the file they come from: custom objects (inputs), animation effects (filters), camera
// effects (filters of the camera) and scene changes.
//
// The prototype of a script's kind holds the script's record (name, information, folder,
// text, engine, compiled form); every effect made from it shares that record, so a reload
// that replaces the text reaches them all. Reading the header and running the script are
// the scripting host's (effect/script_host.h).
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect_base.h"
#include "effect/script_file_parser.h"
#include "effect/script_record.h"

namespace Effect {

// A script variable: the name through which an item's value reaches the script ("@" first:
// an assignment in front of the script text; otherwise a field of the table obj).
struct ScriptVariable {
  std::string name;
  EffectItem* item;
};

class ScriptEffect : public EffectBase, public ScriptFileParser {
 public:
  using CommonResource = ScriptRecord;

  // Gives the prototype a new, empty record (at registration, before loadScript).
  void createResource() override;
  // Shares the prototype's record and takes the prototype's items through the host.
  // Throws std::bad_cast when the prototype is no script effect.
  void shareResource(const EffectBase& prototype) override;

  // On a new prototype: moves the entry's name and text into the record, stores the
  // script's folder, makes the record's name the effect's name, then has the host read the
  // header (`label` receives its label directive; `engine` null selects the default).
  void loadScript(ScriptEntry& entry, std::string directory, std::string* label,
                  const char* engine);
  // On a registered prototype: the entry's text replaces the script's text, and what was
  // compiled from the old text is dropped. The header is not read again.
  void replaceScriptText(ScriptEntry& entry);

  // The shared record; null before createResource or shareResource.
  const std::shared_ptr<ScriptRecord>& record() const { return record_; }

  // Takes a parameter item made for this effect (it joined the item list when it was
  // built) and binds it to the variable `name`, unless the name is bound already: a name
  // keeps its first item. True when the item was bound.
  bool addScriptItem(std::string name, std::unique_ptr<EffectItem> item);
  // The bound variables in the order they were declared.
  const std::vector<ScriptVariable>& scriptVariables() const { return scriptVariables_; }
  // The item bound to `name`, or null.
  EffectItem* findScriptVariable(std::string_view name) const;

 protected:
  // `mediaAndTargetType` sets both type bytes. The name is kept by the effect until the
  // record holds it.
  ScriptEffect(std::string_view name, uint8_t effectType, uint8_t mediaAndTargetType,
               const char* label);

 private:
  std::string ownName_;
  std::shared_ptr<ScriptRecord> record_;
  std::vector<std::unique_ptr<EffectItem>> scriptItems_;
  std::vector<ScriptVariable> scriptVariables_;
};

// The families' common part: a new effect of a script is one of its family under the
// prototype's name (shareResource then gives it the prototype's record).
template <class Family>
class ScriptFamily : public ScriptEffect {
 public:
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<Family>(name); }

 protected:
  using ScriptEffect::ScriptEffect;
};

// A custom object: its script makes the object's picture.
class ScriptInput : public ScriptFamily<ScriptInput> {
 public:
  static constexpr const char* kLabel = "カスタムオブジェクト";
  explicit ScriptInput(std::string_view name);
  OwnedImage inputVideo(EffectContext& context) override;
};

// An animation effect: its script changes the object's picture.
class ScriptFilter : public ScriptFamily<ScriptFilter> {
 public:
  static constexpr const char* kLabel = "アニメーション効果";
  explicit ScriptFilter(std::string_view name);
  OwnedImage filterVideo(EffectContext& context, OwnedImage image) override;
};

// A camera effect: its script moves the camera before the objects are drawn.
class CameraScript : public ScriptFamily<CameraScript> {
 public:
  static constexpr const char* kLabel = "カメラ効果";
  explicit CameraScript(std::string_view name);
  void preInputVideo(EffectContext& context) override;
};

// A scene change: its script draws the passage from the frame before into this one.
class SceneChangeScript : public ScriptFamily<SceneChangeScript> {
 public:
  static constexpr const char* kLabel = "シーンチェンジ";
  explicit SceneChangeScript(std::string_view name);
  // Has the picture before the object drawn, as the built-in scene change does.
  void preInputVideo(EffectContext& context) override;
  void controlVideo(EffectContext& context) override;
  // What the script draws goes through the context's own view.
  OutputView getOutputView(EffectContext& context) override;
};

}  // namespace Effect
