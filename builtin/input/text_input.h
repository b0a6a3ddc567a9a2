#pragma once
// "テキスト": laid-out text; script blocks in it run every frame, and it can be drawn as one
// object per character. It is a script effect, so that its blocks have an engine to run in.
// "文字装飾", "文字揃え", "B" and "I" share one row of the setting window.
#include <memory>

#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_number.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_text.h"
#include "effect/script_effect.h"

namespace Effect {

class TextInput : public ScriptEffect {
 public:
  static constexpr const char* kName = "テキスト";

  TextInput();
  std::shared_ptr<EffectBase> create() const override;

  EffectItemNumber size;
  EffectItemNumber spacing;
  EffectItemNumber lineSpacing;
  EffectItemNumber displaySpeed;
  EffectItemFontSelect font;
  EffectItemColor textColor;
  EffectItemColor shadowColor;
  EffectItemSelectButton decoration;
  EffectItemSelectButton alignment;
  EffectItemCheckButton bold;
  EffectItemCheckButton italic;
  EffectItemText text;
  EffectItemCheck perCharacter;
  EffectItemCheck alongPath;
  EffectItemCheck autoLength;
};

}  // namespace Effect
