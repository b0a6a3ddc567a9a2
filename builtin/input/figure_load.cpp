#include "builtin/input/figure_load.h"

namespace Effect {

FigureLoad::FigureLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      figure(items, "図形の種類", nullptr, kFigureItemType),
      size(items, "サイズ", 100.0, 0.0, 4000.0, 1.0),
      aspect(items, "縦横比", 0.0, -100.0, 100.0, 0.01),
      lineWidth(items, "ライン幅", 4000.0, 0.0, 4000.0, 1.0),
      color(items, "色", 0xFFFFFF),
      roundCorners(items, "角を丸くする", false) {
  figure.notify = true;
}

std::shared_ptr<EffectBase> FigureLoad::create() const { return std::make_shared<FigureLoad>(); }

}  // namespace Effect
