#include "builtin/input/wave_image_input.h"

#include <cmath>

#include "builtin/choice_lists.h"
#include "builtin/input/input_file_filters.h"
#include "builtin/input/media_cache_access.h"
#include "builtin/input/scene_sound_request.h"
#include "builtin/input/wave_image_draw.h"
#include "edit/edit_service.h"
#include "edit/undo_service.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_service.h"

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

namespace {

// A size item at the frame, rounded to whole pixels (halves away from zero).
int32_t pixelsAt(const EffectItemNumber& item, const EffectContext& context) {
  return static_cast<int32_t>(std::lround(item.getValue(context)));
}

}  // namespace

OwnedImage WaveImageInput::inputVideo(EffectContext& context) {
  OwnedAudio fileSound;
  std::shared_ptr<SceneSound> sceneSound;
  const Media::AudioBuffer* sound = nullptr;
  if (!file.path.empty()) {
    fileSound = inputFrameAudio(*this, file.path, context);
    sound = fileSound.get();
  } else {
    sceneSound = heldSceneSound(context);
    if (sceneSound) {
      sceneSound->done.wait();
      sound = sceneSound->audio.get();
    }
  }
  if (!sound || sound->sampleCount() <= 0) return {};

  WaveSettings settings;
  settings.width = pixelsAt(width, context);
  settings.height = pixelsAt(height, context);
  settings.rgb = color.rgb();
  settings.columns = columns.value;
  settings.rows = rows.value;
  settings.columnSpace = columnSpace.value;
  settings.rowSpace = rowSpace.value;
  settings.volume = volume.getValue(context);
  settings.spectrum = spectrum.value;
  settings.mirror = mirror.value;
  if (!resource_) createResource();
  return drawSound(*resource_, settings, *sound);
}

void WaveImageInput::preInputVideo(EffectContext& context) {
  if (!file.path.empty())
    preInputFrameAudio(*this, file.path, context);
  else
    requestSceneSound(context);
}

std::string WaveImageInput::getDisplayName() const {
  return fileDisplayName(file.path, EffectBase::getDisplayName());
}

bool WaveImageInput::editEvent(EffectEventParam& event) { return handleEditEvent(event); }

bool WaveImageInput::isSupportedFile(const std::string& path) const {
  auto* inputs = Plugin::InputService::instance();
  return inputs && inputs->getInputFile(path, InputMovieEffect::Audio) != nullptr;
}

void WaveImageInput::createResource() { resource_ = std::make_shared<CommonResource>(); }

void WaveImageInput::shareResource(const EffectBase& prototype) {
  resource_ = dynamic_cast<const WaveImageInput&>(prototype).resource_;
}

void WaveImageInput::applyPreset(const WavePreset& preset) {
  columns.value = preset.columns;
  rows.value = preset.rows;
  columnSpace.value = preset.columnSpace;
  rowSpace.value = preset.rowSpace;
  spectrum.value = preset.spectrum;
  mirror.value = preset.mirror;
}

void applyWavePreset(const std::shared_ptr<Edit::Object>& object,
                     const std::shared_ptr<WaveImageInput>& effect, const WavePreset& preset) {
  Edit::EditService* edit = Edit::EditService::instance();
  Undo::UndoService* undo = Undo::UndoService::instance();
  if (!edit || !effect) return;
  Edit::UpdateSection scope = edit->beginUpdate();
  scope.object = object;
  scope.notifyObject = true;
  scope.updateEffectSetting = true;
  scope.updateColorSetting = true;
  scope.beginUndo();
  if (undo) undo->pushEffectUpdate(effect);
  effect->applyPreset(preset);
  scope.close();
}

}  // namespace Effect
