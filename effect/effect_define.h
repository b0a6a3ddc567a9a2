#pragma once
// The registry's entry for one effect kind: its menu settings, the prototype every instance
// of the kind is made from, and the user's default values for new objects.
//
// The prototype is built once at start-up and builds the kind's shared resources (compiled
// shaders and the like); instances take them over instead of building their own. Its item
// values are the class defaults overlaid with the user's default-settings file
// %Default%/<name>.effect, read on first use; new objects copy them.
#include <memory>
#include <string>
#include <string_view>

#include "effect/effect_menu_define.h"

namespace Effect {

class EffectDefine : public EffectMenuDefine {
 public:
  // `order` is the default menu position (the registration index); the default label is
  // the prototype's category label.
  EffectDefine(std::shared_ptr<EffectBase> prototype, int32_t order);

  // The prototype's name: the registry key, which project files store as "effect.name".
  std::string_view getName() const override;
  // The name through the Effect table while a language is active.
  std::string getDisplayName() const override;
  uint8_t getEffectType() const override;
  uint8_t getMediaType() const override;
  uint8_t getTargetType() const override;
  void createObject(int layer, int frame) const override;
  void addEffect(const std::shared_ptr<Edit::Object>& object, EffectBase* afterEffect,
                 bool replace) const override;
  // True for every instance made from this prototype: they share its name text.
  bool isDefineOf(const EffectBase& effect) const override;

  // A new instance with the class defaults, sharing the prototype's resources.
  std::shared_ptr<EffectBase> createEffect() const;

  // %Default%/<name>.effect, expanded. Separators in the name become "_", so no name
  // reaches outside the folder.
  std::string getDefaultFilePath() const;
  // The prototype, with the default-settings file read into it the first time. A file that
  // does not read (a flag that is not a number, a damaged file) is logged and leaves the
  // class defaults; an item value it refuses is logged and that item keeps its default.
  EffectBase& loadDefaultFile();
  // Makes the effect's current item values the defaults of new objects: the file is written
  // whole or not at all. Nothing happens for an effect of another kind. A failure to write
  // throws, and the old file stays.
  void saveDefaultFile(const EffectBase& effect);
  // Removes the defaults file and puts the class defaults back into the prototype. Nothing
  // happens for an effect of another kind.
  void deleteDefaultFile(const EffectBase& effect);

  const std::shared_ptr<EffectBase>& getPrototype() const { return prototype_; }
  bool isDefaultLoaded() const { return defaultLoaded_; }

 private:
  // The item values of a fresh instance back into the prototype.
  void resetPrototype();

  std::shared_ptr<EffectBase> prototype_;
  bool defaultLoaded_ = false;
};

}  // namespace Effect
