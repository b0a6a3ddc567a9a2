// The commands that change object lengths and frames in bulk, split the sound of a movie off
// into an audio object, and open a media file as a new scene.
#include "edit/edit_command_length.h"

#include <algorithm>
#include <string>

#include "edit/edit_command_object.h"
#include "edit/edit_command_scope.h"
#include "edit/edit_limits.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_base.h"
#include "effect/effect_define.h"
#include "effect/effect_service.h"
#include "effect/media_file_probe.h"
#include "system/dialog.h"
#include "system/file.h"
#include "system/log.h"

namespace Edit::EditCommand {

namespace {

// The layer for the sound of `object`: its own layer or the first one below it with no
// object in its frames; -1 when there is none inside the table's limit.
int findSoundLayer(const Scene& scene, const Object& object) {
  for (int layer = std::max(object.layer, 0); layer < kLayerLimit; ++layer)
    if (!findNearestObject(scene.getLayerObjects(layer), object.start, object.end)) return layer;
  return -1;
}

}  // namespace

void insertNullFrame(int frame) {
  EditService* service = EditService::instance();
  const auto answer = editUi().askFrameLength("空のフレームを挿入", 0);
  if (!answer || *answer <= 0) return;
  const int length = *answer;
  const Scene& current = *service->currentScene();
  // Every object that moves must still end inside the frame range; otherwise nothing moves.
  for (int layer = 0; layer <= current.lastUsedLayer(); ++layer) {
    const LayerObjects& slot = current.getLayerObjects(layer);
    if (!slot.objects.empty() && slot.objects.back()->start >= frame &&
        !isValidFrame(int64_t{slot.objects.back()->end} + length)) {
      System::Log::warn("Edit::EditCommand::insertNullFrame", "frame out of range. length=%d",
                        length);
      return;
    }
  }
  System::Log::info("Edit::EditCommand::insertNullFrame", "insert null frame length=%d", length);

  CommandStep step(*service, Refresh::Layers | Refresh::SectionFromCursor | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    Scene& scene = *scope.scene;
    for (int layer = 0; layer <= scene.lastUsedLayer(); ++layer) {
      const LayerObjects& slot = scene.getLayerObjects(layer);
      for (std::size_t i = lowerBoundObjectEnd(slot, frame); i < slot.objects.size(); ++i) {
        const auto& object = slot.objects[i];
        // An object that begins before the frame stays, even when it reaches over it.
        if (object->start < frame) continue;
        service->undoService->pushObjectUpdate(object);
        object->start += length;
        object->end += length;
        scene.markSort(*object);
      }
    }
  });
}

void changeObjectLength() {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  const TargetObjects::List objects = targets.objects();
  const Object& first = *objects.front();
  const auto answer = editUi().askFrameLength("オブジェクトの長さを変更", first.end - first.start + 1);
  if (!answer) return;
  const int length = *answer < 2 ? 1 : *answer;
  System::Log::info("Edit::EditCommand::changeObjectLength",
                    "change object length num=%d length=%d", static_cast<int>(objects.size()),
                    length);

  CommandStep step(*service, Refresh::Layers | Refresh::SectionFromCursor | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    for (const auto& object : objects) {
      service->undoService->pushObjectUpdate(object);
      scope.scene->scaleObjectLength(*object, length);
    }
  });
}

bool canSeparateAudioObject() {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.size() != 1) return false;
  const Object& object = *targets.objects().front();
  if (object.effects.size() < 2 || !object.effects[0] || !object.effects[1]) return false;
  const Effect::EffectBase& input = *object.effects[0];
  return input.effectType == Effect::EffectType::Input && input.mediaType == 3 &&
         object.effects[1]->mediaType == 3 && input.canSeparateAudio(0);
}

void separateAudioObject() {
  if (!canSeparateAudioObject()) return;
  EditService* service = EditService::instance();
  const std::shared_ptr<Object> object = TargetObjects(*service->currentScene()).objects().front();
  const int soundLayer = findSoundLayer(*service->currentScene(), *object);
  if (soundLayer < 0) return;
  System::Log::info("Edit::EditCommand::separateAudioObject", "separate audio layer=%d",
                    object->layer);
  Undo::UndoService* undo = service->undoService;

  CommandStep step(*service, Refresh::Layers | Refresh::SettingWindows | Refresh::EditData,
                   object);
  step.run([&](UpdateSection& scope) {
    auto audio = scope.scene->createEmptyObject(soundLayer, object->start, object->end);
    audio->clipping = object->clipping;
    audio->camera = object->camera;
    audio->boundaries = object->boundaries;
    object->copyEffects(*audio);
    undo->pushObjectCreate(audio);
    undo->pushObjectEffect(object);
    // The picture stays with the source, the sound goes with the new object; both keep the
    // input's settings.
    object->setEffectByName("標準描画", nullptr);
    object->fitEffectsToInput();
    undo->pushObjectEffect(audio);
    audio->setEffectByName("音声再生", nullptr);
    audio->fitEffectsToInput();
  });
}

bool createSceneFromFile(const std::string& path) {
  EditService* service = EditService::instance();
  Effect::EffectService* registry = Effect::EffectService::instance();
  const char* effectName = registry ? registry->getFileEffectName(path) : nullptr;
  if (!effectName) {
    Dialog::postError("%s", "このファイルには対応していません");
    return false;
  }
  // A figure makes a 256 x 256 scene; media give their own size and rates.
  SceneSettings proposal{"", 256, 256, 1, 1, service->currentScene()->audioRate};
  if (std::string_view(effectName) != "図形") {
    const Effect::MediaFileProbe* probe = Effect::mediaFileProbe();
    const auto info = probe ? probe->probeMediaFile(path) : std::nullopt;
    if (!info) {
      Dialog::postError("%s", "このファイルには対応していません");
      return false;
    }
    proposal.width = 32;
    proposal.height = 32;
    if (info->hasVideo) {
      proposal.width = info->width;
      proposal.height = info->height;
      proposal.rate = info->rate;
      proposal.scale = info->scale;
    }
    if (info->hasAudio) proposal.audioRate = info->audioRate;
  }
  const std::string expanded = System::FileName::expandVariable(path);
  const std::size_t slash = expanded.find_last_of("/\\");
  std::string name = slash == std::string::npos ? expanded : expanded.substr(slash + 1);
  if (const std::size_t dot = name.find_last_of('.'); dot != std::string::npos) name.resize(dot);
  if (!service->createScene(name, proposal.width, proposal.height, proposal.rate, proposal.scale,
                            proposal.audioRate))
    return false;

  createObject(effectName, 0, 0, fileInitializer(path));
  return true;
}

bool importLegacyScene(const std::string& path) {
  const std::string expanded = System::FileName::expandVariable(path);
  System::Log::info("Edit::EditCommand::importLegacyScene", "import scene [%s]",
                    expanded.c_str());
  return EditService::instance()->importSceneFromKvo(expanded);
}

}  // namespace Edit::EditCommand
