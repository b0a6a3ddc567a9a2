#pragma once
// The fixed tables the built-in declarations use: the static choice lists (value -> name,
// shared by every item that offers the same choices), the two patterns of the text and
// image inputs, and the presets of the waveform display.
//
// Each list is made at its first use and never changes; prepareChoiceLists makes them all
// at once, so that the registry builds them on the UI thread before the first effect.
#include <array>
#include <memory>
#include <regex>

#include "effect/effect_item_select.h"

namespace Effect {

using ChoiceList = std::shared_ptr<EffectItemSelect::SharedList>;

// "合成モード" of the drawing outputs, the particle output, the basic output and the
// gradation: 0 "通常" ... 12 "差分". The very list of the standard output base.
ChoiceList BlendModeList();
// "文字装飾" of the text input: 0 "標準文字" ... 6 "縁取り文字(角)".
ChoiceList TextStyleList();
// "文字揃え" of the text input: 0 "左寄せ[上]" ... 8 "右寄せ[下]", then the vertical
// alignments 9 "縦書 上寄[右]" ... 17 "縦書 下寄[左]".
ChoiceList TextAlignList();
// "合成モード" of the flash: 0 "前方に合成", 1 "後方に合成", 2 "光成分のみ".
ChoiceList FlashCompositeList();
// "形状" of the glow: 0 "通常", 1 "クロス(4本)" ... 5 "クロス(12本)", 6 "ライン".
ChoiceList GlowShapeList();
// "モード" of the luminance key: 0 "暗い部分を透過" ... 5 "基準部分を透過(補間無し)".
ChoiceList LuminanceKeyModeList();
// "変形方法" of the displacement map: 0 "移動変形", 1 "拡大変形", 2 "回転変形".
ChoiceList DisplacementModeList();
// "合成モード" of the noise: 0 "アルファ値と乗算", 1 "明るさと乗算".
ChoiceList NoiseCompositeList();
// "ノイズの種類" of the noise: 0 "Type1" ... 5 "Type6".
ChoiceList NoiseTypeList();
// "色ずれの種類" of the colour shift: 0 "赤緑A" ... 5 "緑青B".
ChoiceList ColorShiftTypeList();
// "形状" of the gradation: 0 "線形", 1 "円形", 2 "矩形", 3 "凸形".
ChoiceList GradationShapeList();
// "解除方法" of the deinterlace: 0 "奇数", 1 "偶数", 2 "二重化".
ChoiceList DeinterlaceModeList();
// "オブジェクトの向き" of the camera option: 0 "標準" and 3 "カメラの方を向く" (the value the
// drawing under a camera reads; there is no 1 or 2).
ChoiceList ObjectFacingList();

// The script blocks of a text: "<?" script "?>"; the first group is the script.
const std::regex& scriptBlockPattern();
// A numbered file name: the shortest prefix, the digits right before the extension, and the
// extension with its point.
const std::regex& numberedFilePattern();

// One preset of the waveform display's preset button: the values it writes into
// "横解像度", "縦解像度", "横スペース", "縦スペース", "スペクトラム表示" and "ミラー表示".
struct WavePreset {
  const char* name;
  int columns;
  int rows;
  int columnSpace;
  int rowSpace;
  bool spectrum;
  bool mirror;
};

inline constexpr std::array<WavePreset, 5> WavePresetTable = {{
    {"Type1", 0, 0, 0, 0, false, false},
    {"Type2", 200, 100, 50, 50, false, false},
    {"Type3", 32, 40, 25, 25, true, false},
    {"Type4", 0, 0, 0, 0, true, false},
    {"Type5", 40, 40, 80, 0, true, true},
}};

// Makes every list and pattern above.
void prepareChoiceLists();

}  // namespace Effect
