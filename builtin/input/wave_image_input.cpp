#include "builtin/input/wave_image_input.h"

#include "builtin/input/input_file_filters.h"

namespace Effect {

WaveImageInput::WaveImageInput()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      InputMovieEffect({position, speed, &file, nullptr, nullptr}, InputMovieEffect::Audio),
      width(items, "横幅", 800.0, 10.0, 4000.0, 1.0),
      height(items, "高さ", 400.0, 10.0, 4000.0, 1.0),
      position(items, "再生位置", 0.0, 0.0, 20000.0, 0.001),
      speed(items, "再生速度", 100.0, -2000.0, 2000.0, 0.01),
      volume(items, "音量", 100.0, 0.0, 1000.0, 0.01),
      file(items, "ファイル", "", &InputFileFilters::audio()),
      color(items, "波形の色", 0xFFFFFF),
      preset(items, "波形のプリセット", 0.0f, 0.333f),
      spectrum(items, "スペクトラム表示", false, 0.333f, 0.666f),
      mirror(items, "ミラー表示", false, 0.666f, 1.0f),
      columns(items, "横解像度", 0, 0, 4000, ItemType::Integer, "---"),
      rows(items, "縦解像度", 0, 0, 4000, ItemType::Integer, "---"),
      columnSpace(items, "横スペース", 0, 0, 100, ItemType::Integer, "---"),
      rowSpace(items, "縦スペース", 0, 0, 100, ItemType::Integer, "---") {
  file.notify = speed.notify = true;
  initPositionItem();
  label = "カスタムオブジェクト";
}

std::shared_ptr<EffectBase> WaveImageInput::create() const {
  return std::make_shared<WaveImageInput>();
}

}  // namespace Effect
