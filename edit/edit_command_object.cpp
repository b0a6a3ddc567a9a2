#include "edit/edit_command_object.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "edit/edit_command_scope.h"
#include "edit/edit_limits.h"
#include "edit/edit_service.h"
#include "edit/edit_ui.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_event_param.h"
#include "system/dialog.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"

namespace Edit {

namespace {

// Makes the object the focus inside the scope; the focus listeners hear of it at the close.
void focusInScope(UpdateSection& scope, const std::shared_ptr<Object>& object) {
  if (scope.scene->focusObject == object) return;
  scope.scene->focusObject = object;
  scope.notifyFocus = true;
}

// Pastes a block of copies at the first layer offset from `layerOffset` down where it fits.
void pasteBelow(ObjectClipboard& clipboard, int layerOffset, int frameOffset) {
  while (!clipboard.canPasteAt(frameOffset, layerOffset)) {
  }
  clipboard.paste(layerOffset, frameOffset);
}

}  // namespace

TargetObjects::TargetObjects(const Scene& scene) {
  if (!scene.selection.empty())
    selection_ = &scene.selection.objects;
  else if (scene.focusObject && scene.focusObject->layer != -1)
    own_.push_back(scene.focusObject);
}

namespace EditCommand {

ObjectInitializer fileInitializer(std::string path) {
  return [path = std::move(path)](Object* object, UpdateSection& scope) {
    scope.scene->update();
    Effect::EffectEventParam event;
    event.kind = Effect::EffectEventParam::FileSet;
    event.scope = &scope;
    event.datum = path;
    object->sendInputEffectEvent(event);
  };
}

int32_t defaultObjectLength(const Scene& scene) {
  const int32_t zoom = scene.zoom.zoom > 0 ? scene.zoom.zoom : FrameZoom::kDefault;
  return 800000 / zoom;
}

void createObject(std::string_view effectName, int layer, int frame,
                  const ObjectInitializer& initializer) {
  constexpr const char* place = "Edit::EditCommand::createObject";
  EditService* service = EditService::instance();
  const std::string name(effectName);
  // Refused before anything opens: the layer table would refuse it inside the scope.
  if (!isValidLayer(layer) || !isValidFrame(frame))
    throw System::makeFormattedException(place, "layer index out of range.", "layer=%d frame=%d",
                                         layer, frame);
  System::Log::info(place, "create object [%s] layer=%d frame=%d", name.c_str(), layer, frame);

  CommandStep step(*service, Refresh::Layers | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    Scene& scene = *scope.scene;
    int64_t start = frame;
    int64_t end = start + defaultObjectLength(scene);
    // A frame inside objects puts the new one right behind them (keeping its length); the
    // first object after it cuts it short.
    const LayerObjects& slot = scene.getLayerObjects(layer);
    for (std::size_t i = lowerBoundObjectEnd(slot, start); i < slot.objects.size(); ++i) {
      const Object& other = *slot.objects[i];
      if (other.start <= start) {
        const int64_t shift = int64_t{other.end} - start + 1;
        start += shift;
        end += shift;
        continue;
      }
      if (end >= other.start) end = int64_t{other.start} - 1;
      break;
    }
    auto object = scene.createObject(name, layer, clampFrame(start), clampFrame(end));
    if (initializer) initializer(object.get(), scope);
    service->undoService->pushObjectCreate(object);
    focusInScope(scope, object);
  });
}

void loadObject(const std::string& path, int layer, int frame) {
  constexpr const char* place = "Edit::EditCommand::loadObject";
  EditService* service = EditService::instance();
  System::Log::info(place, "load object [%s] layer=%d frame=%d", path.c_str(), layer, frame);
  auto fail = [] { Dialog::postError("%s", "エイリアスの読み込みに失敗しました"); };
  System::IniFile file;
  try {
    if (!System::File::exists(path))
      throw System::makeException(place, "failed to open file.", path);
    file.loadFile(path);
  } catch (const std::exception&) {
    fail();
    return;
  }
  // A scope that cannot open goes to the caller; a failure inside it is the file's.
  CommandStep step(*service, Refresh::Layers | Refresh::EditData);
  try {
    step.run([&](UpdateSection& scope) {
      Scene& scene = *scope.scene;
      const int64_t start = frame;
      const int64_t end = start + defaultObjectLength(scene);
      // The readers take the half-made object off again when they fail.
      auto object = System::FileName::getExtension(path) == "effect"
                        ? LayerObjectManager::loadObjectAliasFileEffect(
                              scene, file, layer, clampFrame(start), clampFrame(end))
                        : LayerObjectManager::loadObjectAliasFile(
                              scene, file, layer, clampFrame(start), clampFrame(end));
      service->undoService->pushObjectCreate(object);
      focusInScope(scope, object);
    });
    // Reading may have brought the file up to date: it is written back in its new form.
    if (file.isWriteBack()) {
      file.setWriteBack(false);
      System::IniFile::Save(file, path);
    }
  } catch (const std::exception&) {
    fail();
  }
}

void deleteObject() {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  System::Log::info("Edit::EditCommand::deleteObject", "delete object num=%d",
                    static_cast<int>(targets.size()));
  // The targets may be the selection itself, which is emptied below.
  const TargetObjects::List objects = targets.objects();

  CommandStep step(*service, Refresh::Layers | Refresh::EditData);
  step.run([&](UpdateSection& scope) {
    for (const auto& object : objects) {
      service->undoService->pushObjectDelete(object);
      scope.scene->removeObject(*object);
    }
    scope.scene->selection.clear();
  });
}

void copyObject() {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  System::Log::info("Edit::EditCommand::copyObject", "copy object num=%d",
                    static_cast<int>(targets.size()));
  service->clipboard.clear();
  for (const auto& object : targets) service->clipboard.addCopy(object);
}

void pasteObject(int layer, int frame) {
  EditService* service = EditService::instance();
  if (service->clipboard.empty()) return;
  System::Log::info("Edit::EditCommand::pasteObject", "paste object num=%d",
                    static_cast<int>(service->clipboard.objects.size()));
  service->clipboard.pasteAt(std::max(layer, 0), std::max(frame, 0));
}

void pasteObjectAt() {
  EditService* service = EditService::instance();
  ObjectClipboard& clipboard = service->clipboard;
  if (clipboard.empty()) return;
  System::Log::info("Edit::EditCommand::pasteObject", "paste object num=%d",
                    static_cast<int>(clipboard.objects.size()));
  const Scene& scene = *service->currentScene();
  if (const auto point = editUi().timelineMouse()) {
    const int32_t zoom = scene.zoom.zoom > 0 ? scene.zoom.zoom : FrameZoom::kDefault;
    const int64_t layer = int64_t{point->y} / std::max(point->layerHeight, 1) + scene.displayLayer;
    const int64_t frame = scene.displayFrame + int64_t{point->x} * 10000 / zoom;
    clipboard.pasteAt(static_cast<int>(std::clamp<int64_t>(layer, 0, kLayerLimit)),
                      clampFrame(frame));
    return;
  }
  ObjectRange range;
  LayerObjectManager::getObjectRange(range, clipboard.objects);
  const int cursor = scene.cursorFrame;
  // The copies keep their frames when the cursor lies within them, else they start there.
  const int frameOffset =
      cursor < range.minStart || cursor > range.maxEnd ? cursor - range.minStart : 0;
  pasteBelow(clipboard, range.maxLayer - range.minLayer, frameOffset);
}

void duplicateObject() {
  EditService* service = EditService::instance();
  const TargetObjects targets(*service->currentScene());
  if (targets.empty()) return;
  System::Log::info("Edit::EditCommand::duplicateObject", "duplicate object num=%d",
                    static_cast<int>(targets.size()));
  ObjectClipboard copies;
  for (const auto& object : targets) copies.addCopy(object);
  ObjectRange range;
  LayerObjectManager::getObjectRange(range, copies.objects);
  pasteBelow(copies, range.maxLayer - range.minLayer, 0);
}

}  // namespace EditCommand

}  // namespace Edit
