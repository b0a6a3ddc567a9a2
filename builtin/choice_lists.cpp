#include "builtin/choice_lists.h"

#include <initializer_list>
#include <utility>

#include "effect/output_effect_base.h"

namespace Effect {

namespace {

// The pairs in value order; a value given twice keeps its first name.
ChoiceList makeList(std::initializer_list<std::pair<int, const char*>> entries) {
  ChoiceList list = EffectItemSelect::createSharedList();
  for (const auto& [value, name] : entries) list->setItem(value, name);
  return list;
}

}  // namespace

ChoiceList BlendModeList() { return BasicOutput::blendModeList(); }

ChoiceList TextStyleList() {
  static const ChoiceList list = makeList({{0, "標準文字"},
                                           {1, "影付き文字"},
                                           {2, "影付き文字(薄)"},
                                           {3, "縁取り文字"},
                                           {4, "縁取り文字(細)"},
                                           {5, "縁取り文字(太)"},
                                           {6, "縁取り文字(角)"}});
  return list;
}

ChoiceList TextAlignList() {
  static const ChoiceList list = makeList({{0, "左寄せ[上]"},
                                           {1, "中央揃え[上]"},
                                           {2, "右寄せ[上]"},
                                           {3, "左寄せ[中]"},
                                           {4, "中央揃え[中]"},
                                           {5, "右寄せ[中]"},
                                           {6, "左寄せ[下]"},
                                           {7, "中央揃え[下]"},
                                           {8, "右寄せ[下]"},
                                           {9, "縦書 上寄[右]"},
                                           {10, "縦書 中央[右]"},
                                           {11, "縦書 下寄[右]"},
                                           {12, "縦書 上寄[中]"},
                                           {13, "縦書 中央[中]"},
                                           {14, "縦書 下寄[中]"},
                                           {15, "縦書 上寄[左]"},
                                           {16, "縦書 中央[左]"},
                                           {17, "縦書 下寄[左]"}});
  return list;
}

ChoiceList FlashCompositeList() {
  static const ChoiceList list =
      makeList({{0, "前方に合成"}, {1, "後方に合成"}, {2, "光成分のみ"}});
  return list;
}

ChoiceList GlowShapeList() {
  static const ChoiceList list = makeList({{0, "通常"},
                                           {1, "クロス(4本)"},
                                           {2, "クロス(6本)"},
                                           {3, "クロス(8本)"},
                                           {4, "クロス(10本)"},
                                           {5, "クロス(12本)"},
                                           {6, "ライン"}});
  return list;
}

ChoiceList LuminanceKeyModeList() {
  static const ChoiceList list = makeList({{0, "暗い部分を透過"},
                                           {1, "明るい部分を透過"},
                                           {2, "明暗部分を透過"},
                                           {3, "明暗部分を透過(補間無し)"},
                                           {4, "基準部分を透過"},
                                           {5, "基準部分を透過(補間無し)"}});
  return list;
}

ChoiceList DisplacementModeList() {
  static const ChoiceList list = makeList({{0, "移動変形"}, {1, "拡大変形"}, {2, "回転変形"}});
  return list;
}

ChoiceList NoiseCompositeList() {
  static const ChoiceList list = makeList({{0, "アルファ値と乗算"}, {1, "明るさと乗算"}});
  return list;
}

ChoiceList NoiseTypeList() {
  static const ChoiceList list = makeList(
      {{0, "Type1"}, {1, "Type2"}, {2, "Type3"}, {3, "Type4"}, {4, "Type5"}, {5, "Type6"}});
  return list;
}

ChoiceList ColorShiftTypeList() {
  static const ChoiceList list = makeList(
      {{0, "赤緑A"}, {1, "赤青A"}, {2, "緑青A"}, {3, "赤緑B"}, {4, "赤青B"}, {5, "緑青B"}});
  return list;
}

ChoiceList GradationShapeList() {
  static const ChoiceList list = makeList({{0, "線形"}, {1, "円形"}, {2, "矩形"}, {3, "凸形"}});
  return list;
}

ChoiceList DeinterlaceModeList() {
  static const ChoiceList list = makeList({{0, "奇数"}, {1, "偶数"}, {2, "二重化"}});
  return list;
}

ChoiceList ObjectFacingList() {
  static const ChoiceList list = makeList({{0, "標準"}, {3, "カメラの方を向く"}});
  return list;
}

const std::regex& scriptBlockPattern() {
  // [^\x00] rather than ".": a block may span lines.
  static const std::regex pattern(R"(<\?([^\x00]*?)\?>)", std::regex::ECMAScript);
  return pattern;
}

const std::regex& numberedFilePattern() {
  static const std::regex pattern(R"(^(.+?)([0-9]+)(\.[^.]+)$)", std::regex::ECMAScript);
  return pattern;
}

void prepareChoiceLists() {
  for (ChoiceList (*list)() :
       {BlendModeList, TextStyleList, TextAlignList, FlashCompositeList, GlowShapeList,
        LuminanceKeyModeList, DisplacementModeList, NoiseCompositeList, NoiseTypeList,
        ColorShiftTypeList, GradationShapeList, DeinterlaceModeList, ObjectFacingList})
    list();
  scriptBlockPattern();
  numberedFilePattern();
}

}  // namespace Effect
