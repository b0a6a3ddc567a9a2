#pragma once
// A menu entry that can be put on the timeline: an effect kind or an alias file. The
// object-add and effect menus list these side by side, filter them by their type bytes and
// run one of them at a place of the timeline or on an object.
#include <cstdint>
#include <memory>

#include "effect/menu_define_base.h"

namespace Edit {
class Object;
}

namespace Effect {

class EffectBase;

// Effect types of the menu lists beyond those of the effect kinds (effect_base.h).
namespace EffectType {
inline constexpr uint8_t ObjectAlias = 100;  // a saved object
inline constexpr uint8_t EffectAlias = 101;  // a saved set of effects
}  // namespace EffectType

class EffectMenuDefine : public Menu::MenuDefineBase {
 public:
  // 1 input, 2 output, 3 filter, 4 control; 100 object alias, 101 effect alias.
  virtual uint8_t getEffectType() const = 0;
  // 1 video, 2 audio, 3 both, 4 camera; 0 when unknown.
  virtual uint8_t getMediaType() const = 0;
  // 1 video, 2 audio, 3 both, 4 camera, 5 scene change; 0 when unknown.
  virtual uint8_t getTargetType() const = 0;
  // Puts a new object made from this entry at `frame` on `layer` of the current scene.
  virtual void createObject(int layer, int frame) const = 0;
  // Adds this entry's effects to an object: behind `afterEffect` when one is given, in place
  // of the effect of the same place when `replace` is set.
  virtual void addEffect(const std::shared_ptr<Edit::Object>& object, EffectBase* afterEffect,
                         bool replace) const = 0;
  // Whether the effect is an instance of this entry's kind.
  virtual bool isDefineOf(const EffectBase& effect) const { return false; }

 protected:
  using MenuDefineBase::MenuDefineBase;
};

}  // namespace Effect
