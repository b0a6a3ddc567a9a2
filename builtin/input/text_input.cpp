#include "builtin/input/text_input.h"

#include "builtin/choice_lists.h"

namespace Effect {

TextInput::TextInput()
    : ScriptEffect(kName, EffectType::Input, MediaType::Video, ""),
      size(items, "サイズ", 40.0, 1.0, 1000.0, 0.01),
      spacing(items, "字間", 0.0, -100.0, 100.0, 0.01),
      lineSpacing(items, "行間", 0.0, -100.0, 100.0, 0.01),
      displaySpeed(items, "表示速度", 0.0, 0.0, 100.0, 0.01),
      font(items, "フォント", nullptr),
      textColor(items, "文字色", 0xFFFFFF),
      shadowColor(items, "影・縁色", 0x000000),
      decoration(items, "文字装飾", 0, TextStyleList(), 0.0f, 0.4f),
      alignment(items, "文字揃え", 0, TextAlignList(), 0.4f, 0.8f),
      bold(items, "B", false, 0.8f, 0.9f),
      italic(items, "I", false, 0.9f, 1.0f),
      text(items, "テキスト", ""),
      perCharacter(items, "文字毎に個別オブジェクト", false),
      alongPath(items, "移動座標上に表示", false),
      autoLength(items, "オブジェクトの長さを自動調節", false) {
  displaySpeed.notify = text.notify = perCharacter.notify = autoLength.notify = true;
}

std::shared_ptr<EffectBase> TextInput::create() const { return std::make_shared<TextInput>(); }

}  // namespace Effect
