#pragma once
// The registry of everything that can be put on an object or on a number item by name: the
// effect kinds (built-in classes and scripts), the movement kinds, and the aliases (saved
// objects and effect sets in %Alias%).
//
// Each effect and movement kind is one prototype inside its definition; every effect an
// object carries is made from its kind's prototype. Registration gives every entry the next
// index of one counter shared by effects, movements and aliases, and that index is the
// entry's default menu position, so the fixed registration order below is the default menu
// order:
//   1. the movement kinds: "移動無し", "再生範囲", "直線移動", then the catalogue's others;
//   2. "移動無し" and "再生範囲" published as defaultMovement() and playbackRangeMovement()
//      (before any effect exists: every number item starts with the first);
//   3. the catalogue's first run of built-in effects;
//   4. the script files (or the catalogue's stand-in);
//   5. the catalogue's second run of built-in effects;
//   6. the aliases: object aliases, then effect aliases;
//   7. the movement presets, then the palettes and preset colours.
// A name registered twice is refused with an error box and the first entry stays; a kind
// whose class throws while it is made is reported the same way and left out. Either way the
// start goes on.
//
// Threads: the registry is built on the UI thread before any render worker exists, and its
// effect and movement tables never change afterwards, so workers may look kinds up and make
// instances without a lock. Aliases and menu settings change on the UI thread only.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <unordered_map>
#include <vector>

#include "effect/alias_define.h"
#include "effect/effect_base.h"
#include "effect/effect_define.h"
#include "effect/movement_base.h"
#include "effect/movement_define.h"
#include "effect/movement_preset_manager.h"
#include "effect/palette_manager.h"
#include "system/exception.h"
#include "system/service_holder.h"

namespace Effect {

class EffectService : public System::Service<EffectService> {
 public:
  // The movement presets and the palettes with their preset colours, read at the end of
  // the registration (declared first, so they outlive every definition).
  MovementParamsManager movementParams;
  PaletteManager palettes;

  // What the rest of the program registers at fixed points while the registry is built.
  // Each step registers its kinds with registerMovement / registerEffect in its own fixed
  // order. The built-in catalogue and the script host install theirs before the registry
  // is made; a step left empty registers nothing.
  struct Catalogue {
    // The built-in movement kinds after the framework's own three.
    std::function<void(EffectService&)> movements;
    // The first run of built-in effects, up to "振動".
    std::function<void(EffectService&)> firstEffects;
    // Registers kinds in place of the script files (tests). Empty: the script files are
    // read (loadScripts).
    std::function<void(EffectService&)> scripts;
    // The second run of built-in effects, from "スクリプト制御" to "音量調整".
    std::function<void(EffectService&)> lastEffects;
  };
  static void setCatalogue(Catalogue catalogue);

  // Values of getEffectList's type filter beyond the effect types.
  static constexpr uint8_t kObjectKinds = 200;  // inputs, controls, object aliases
  static constexpr uint8_t kFilterKinds = 201;  // filters and effect aliases

  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
      return std::hash<std::string_view>{}(name);
    }
  };
  using EffectDefineMap = std::unordered_map<std::string, EffectDefine, NameHash, std::equal_to<>>;
  using MovementDefineMap =
      std::unordered_map<std::string, MovementDefine, NameHash, std::equal_to<>>;
  using AliasList = std::vector<std::unique_ptr<AliasDefine>>;
  using MovementListHook = std::function<void(std::vector<const MovementDefine*>& movements)>;

  // Builds the whole registry in the order above. Throws "not found movement." when
  // "移動無し" or "再生範囲" could not be registered.
  EffectService();
  // Destroys the aliases, the movements, then the effects; each writes its menu settings.
  ~EffectService();
  EffectService(const EffectService&) = delete;
  EffectService& operator=(const EffectService&) = delete;

  // Registers a kind made from T(args...) under the prototype's name; the prototype, or
  // empty when the name is taken or the class threw (both shown in an error box). Never
  // throws.
  template <class T, class... Args>
  std::shared_ptr<T> registerMovement(Args&&... args) {
    try {
      auto prototype = std::make_shared<T>(std::forward<Args>(args)...);
      if (!registerMovementPrototype(prototype)) return nullptr;
      return prototype;
    } catch (const std::exception& exception) {
      reportFailure(false, typeid(T), exception);
      return nullptr;
    }
  }
  template <class T, class... Args>
  std::shared_ptr<T> registerEffect(Args&&... args) {
    try {
      auto prototype = std::make_shared<T>(std::forward<Args>(args)...);
      if (!registerEffectPrototype(prototype)) return nullptr;
      return prototype;
    } catch (const std::exception& exception) {
      reportFailure(true, typeid(T), exception);
      return nullptr;
    }
  }
  // The same for a prototype the caller made: takes the next index, inserts the definition
  // (the effect's shared resources are built right after) and logs it; false when the name
  // is taken (error box). Throws what the prototype's resources or its definition throw,
  // and then leaves no entry behind.
  bool registerEffectPrototype(std::shared_ptr<EffectBase> prototype);
  bool registerMovementPrototype(std::shared_ptr<MovementBase> prototype);
  // Registers every file "%Alias%/*.<kind>" as an alias of that type, in listing order.
  void registerAlias(std::string_view kind, uint8_t type);
  // The script step: the catalogue's when it has one, else the script files
  // (script_registration.cpp): the bundles "%AppInstall%/script.obj2", .anm2, .cam2, .scn2
  // and .tra2, then "%Script%/", then each of its direct sub-folders. While the registry is
  // built every script becomes a kind; once it is (isInitialized(), the reload), the files
  // only refresh the texts of the scripts registered under their names.
  void loadScripts();
  // The script files of "%Script%/" (empty `subFolder`) or of one of its sub-folders: the
  // current extensions first (.obj2, .anm2, .cam2, .scn2, .tra2), then the legacy ones.
  void loadScriptFolder(std::string_view subFolder);
  // The scripts of one file as kinds of the script effect class K (ScriptInput,
  // ScriptFilter, CameraScript, SceneChangeScript) or as script movements. `folder` is the
  // sub-folder the file lies in (empty: none), whose name becomes the kinds' menu label;
  // `engine` names the engine (null: the host's default). On a reload a script replaces
  // the text of the kind of its name only when that kind is a script of the same class;
  // any other script kind under the name is kept and a WARN line says so.
  template <class K>
  void registerScriptEffect(const std::string& path, std::string_view folder, bool isBundle,
                            bool isLegacy, const char* engine);
  void registerScriptMovement(const std::string& path, std::string_view folder, bool isBundle,
                              bool isLegacy, const char* engine);
  // One row of the script information list: the script's information text (its name when
  // it has none) and the kind word.
  struct ScriptInfo {
    std::string text;
    std::string kind;
  };
  // The animation effects, custom objects, camera effects and movements whose scripts lie
  // in %Script%, pass by pass in that order.
  std::vector<ScriptInfo> getScriptInfoList() const;

  // The effect kind of that name (compared exactly, byte for byte); throws "not found
  // effect." with the name as note. Aliases are not searched.
  EffectDefine* findEffect(std::string_view name) const;
  // The same without an exception: null for a name that is not registered.
  EffectDefine* findEffectDefine(std::string_view name) const;
  // A new instance of the named kind, or empty when no kind has that name.
  std::shared_ptr<EffectBase> createEffect(std::string_view name) const;
  // findEffect for names of legacy object files: a name that is not registered is mapped
  // through the section "OldScript" of effect.conf first.
  EffectDefine* findLegacyEffect(std::string_view name) const;
  // Throws "not found movement.".
  MovementDefine* findMovement(std::string_view name) const;
  // The prototype of the effect class T (looked up by T::kName), for classes that reuse
  // another kind's routines. Throws "default effect not found" with the class's name.
  template <class T>
  T* getDefaultEffect() const {
    if (const EffectDefine* define = findEffectDefine(T::kName))
      if (auto* prototype = dynamic_cast<T*>(define->getPrototype().get())) return prototype;
    throw System::makeException("Effect::EffectService::getDefaultEffect",
                                "default effect not found", typeDisplayName(typeid(T)));
  }
  // The output effect that goes with an input effect, by the input's media type: "映像再生"
  // for video and audio, "標準描画" for video ("基本出力" for "フレームバッファ"), "音声再生"
  // for audio. Throws "invalid input effect type." for any other media type and "not found
  // effect." when the output is not registered.
  EffectDefine* getOutputEffect(const EffectDefine& input) const;

  // The effect and alias entries that pass the three filters (0 = any), sorted by menu
  // order. The type filter takes an effect type, or kObjectKinds or kFilterKinds. Hidden
  // entries are included: the menus skip them.
  std::vector<EffectMenuDefine*> getEffectList(uint8_t effectType, uint8_t mediaType,
                                               uint8_t targetType) const;
  // The distinct non-empty labels of the effects and aliases, in the menu order of the
  // first entry that carries each.
  std::vector<const std::string*> getEffectLabelList() const;
  // The movement kinds offered in menus, sorted by menu order; `hook` may change the list
  // before it is sorted (a media input adds the playback range).
  std::vector<const MovementDefine*> getMovementList(const MovementListHook& hook = {}) const;

  // Whether a dropped file can become an object: a figure, or a file whose extension an
  // input reader takes. Nothing is opened.
  bool isObjectFile(std::string_view path) const;
  // The input effect that carries a dropped file: "図形", "動画ファイル", "画像ファイル" or
  // "音声ファイル"; null when no reader opens the file.
  const char* getFileEffectName(std::string_view path) const;

  // Gives the first alias of that name the label; nothing when there is none.
  void setAliasLabel(std::string_view name, std::string_view label);
  // Destroys the aliases in [first, last) (each writes its menu settings) and removes them.
  void deleteAliasRange(AliasList::iterator first, AliasList::iterator last);
  // Destroys every alias and releases the list's storage.
  void clearAlias();
  // Reads the aliases again after an alias file was saved: the old entries go, the files
  // are registered anew (with fresh indexes) and `name` takes `label`.
  void reloadAlias(std::string_view name, std::string_view label);

  bool isInitialized() const { return initialized_; }
  // The index the next registration takes.
  int32_t getRegisterCount() const { return registerCount_; }
  const EffectDefineMap& getEffectDefines() const { return effectDefines_; }
  const MovementDefineMap& getMovementDefines() const { return movementDefines_; }
  AliasList& getAliasDefines() { return aliasDefines_; }
  const AliasList& getAliasDefines() const { return aliasDefines_; }

  // "class Effect::GlowFilter": the name error texts give a class.
  static std::string typeDisplayName(const std::type_info& type);

 private:
  // Hands movement lookups to this registry for its lifetime (movement_registry.h). A
  // member, declared last: attached before the constructor's body registers anything and
  // detached first when the registry goes, also when the constructor throws.
  class MovementTakeover {
   public:
    explicit MovementTakeover(EffectService* registry);
    MovementTakeover(const MovementTakeover&) = delete;
    MovementTakeover& operator=(const MovementTakeover&) = delete;
    ~MovementTakeover();

   private:
    EffectService* registry_;
  };

  // The script step without a catalogue: every script file in its order.
  void loadScriptFiles();
  static void reportFailure(bool effect, const std::type_info& type,
                            const std::exception& exception);
  // The movement presets, then the palettes and preset colours, are read here by their
  // managers, which join the registry as its first members.
  void loadPresetsAndPalettes();

  bool initialized_ = false;
  int32_t registerCount_ = 0;
  // Declared in this order so that they are destroyed as aliases, movements, effects.
  EffectDefineMap effectDefines_;
  MovementDefineMap movementDefines_;
  AliasList aliasDefines_;
  MovementTakeover takeover_{this};
};

}  // namespace Effect
