#include "menu/edit_menu_actions.h"

#include <algorithm>
#include <vector>

#include "edit/edit_command_flag.h"
#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "effect/effect_service.h"
#include "gpu/image/image_buffer.h"
#include "gpu/render_buffer.h"
#include "media/input/input_service.h"
#include "render/cache_service.h"
#include "render/render_service.h"
#include "system/clipboard.h"

namespace Menu::EditMenuActions {
namespace {

// Request key of the renders whose picture leaves the program (export and clipboard).
constexpr int kCopyRequestKey = 3;

bool covers(const Edit::Object& object, int frame) {
  return object.start <= frame && frame <= object.end;
}

// The objects that still stand on the layer, in start order.
std::vector<std::shared_ptr<Edit::Object>> objectsOn(const Edit::Scene& scene, int layer) {
  std::vector<std::shared_ptr<Edit::Object>> objects;
  for (const auto& object : scene.getLayerObjects(layer).objects)
    if (object && object->layer == layer) objects.push_back(object);
  return objects;
}

Edit::Scene* currentScene() {
  auto* edit = Edit::EditService::instance();
  return edit && edit->currentScene() ? edit->currentScene().get() : nullptr;
}

// Focuses the object and moves the cursor to its start.
void focusAndMove(const std::shared_ptr<Edit::Object>& object) {
  if (!object) return;
  auto* edit = Edit::EditService::instance();
  edit->setFocusObject(object);
  edit->setCursorFrame(object->start);
}

}  // namespace

std::shared_ptr<Edit::Object> objectAtCursor(const Edit::Scene& scene) {
  const int layers = scene.lastUsedLayer() + 1;
  const int frame = scene.cursorFrame;
  const auto& focus = scene.focusObject;
  const int begin = focus && focus->layer >= 0 && covers(*focus, frame) ? focus->layer + 1 : 0;
  for (int step = 0; step < layers; ++step) {
    const int layer = (begin + step) % layers;
    for (const auto& object : objectsOn(scene, layer))
      if (covers(*object, frame)) return object;
  }
  return nullptr;
}

std::shared_ptr<Edit::Object> nextOnLayer(const Edit::Scene& scene) {
  const auto& focus = scene.focusObject;
  if (!focus || focus->layer < 0) return nullptr;
  for (const auto& object : objectsOn(scene, focus->layer))
    if (object->end >= focus->end + 1) return object;
  return nullptr;
}

std::shared_ptr<Edit::Object> previousOnLayer(const Edit::Scene& scene) {
  const auto& focus = scene.focusObject;
  if (!focus || focus->layer < 0) return nullptr;
  const auto objects = objectsOn(scene, focus->layer);
  const auto found = std::find_if(objects.begin(), objects.end(), [&](const auto& object) {
    return object->start >= focus->start;
  });
  if (found == objects.begin()) return nullptr;
  return *std::prev(found);
}

void focusAtCursor() {
  const Edit::Scene* scene = currentScene();
  if (!scene) return;
  if (auto object = objectAtCursor(*scene)) Edit::EditService::instance()->setFocusObject(object);
}

void focusNextOnLayer() {
  if (const Edit::Scene* scene = currentScene()) focusAndMove(nextOnLayer(*scene));
}

void focusPreviousOnLayer() {
  if (const Edit::Scene* scene = currentScene()) focusAndMove(previousOnLayer(*scene));
}

void toggleVisibility() {
  const Edit::Scene* scene = currentScene();
  if (!scene) return;
  const auto targets = scene->targetObjects();
  if (targets.empty()) return;
  // An object without effects shows nothing to switch: it counts as switched on.
  const auto& first = targets.front()->effects;
  const bool firstSwitchedOff = !first.empty() && first.front()->disable;
  Edit::EditCommand::setEnableObject(targets, firstSwitchedOff);
}

void moveToRangeStart() {
  const Edit::Scene* scene = currentScene();
  if (!scene) return;
  const bool ranged = scene->selectedFrameStart >= 0 && scene->selectedFrameEnd >= 0;
  Edit::EditService::instance()->setCursorFrame(ranged ? scene->selectedFrameStart : 0);
}

void moveToRangeEnd() {
  const Edit::Scene* scene = currentScene();
  if (!scene) return;
  const bool ranged = scene->selectedFrameStart >= 0 && scene->selectedFrameEnd >= 0;
  const int last = scene->lastFrame();
  const int frame = ranged ? std::min(scene->selectedFrameEnd, last) : last;
  Edit::EditService::instance()->setCursorFrame(std::max(frame, 0));
}

void discardCaches() {
  auto* edit = Edit::EditService::instance();
  if (!edit) return;
  // The scope stops playback and keeps the renderers away while the caches are emptied;
  // closing it has the setting windows and the preview read everything anew.
  auto scope = edit->beginUpdate();
  scope.rebuildEffectSetting = true;
  scope.updateTimeSetting = true;
  scope.updateColorSetting = true;
  scope.updateTextSetting = true;
  scope.notifyObject = true;
  if (auto* caches = Cache::CacheService::instance()) {
    caches->image().store().clear();
    caches->audio().store().clear();
  }
  if (auto* inputs = Plugin::InputService::instance()) inputs->clearFileCache();
  if (auto* effects = Effect::EffectService::instance()) effects->loadScripts();
  scope.close();
}

void copyPicture(bool withAlpha) {
  auto* render = Render::RenderService::instance();
  const Edit::Scene* scene = currentScene();
  if (!render || !scene) return;
  const int32_t format = withAlpha ? System::ClipboardImage::kFormatBgra
                                   : System::ClipboardImage::kFormatBgrx;
  render->video().requestRenderingFrame(
      kCopyRequestKey, scene->cursorFrame,
      [format](int, Media::RenderBuffer& frame, Anchor::AnchorList*) {
        // Runs on the render thread: only the clipboard itself needs the UI thread, which
        // borrows the image until sendImage returns.
        const auto image = frame.createImageBuffer(format, true);
        if (!image) return;
        System::ClipboardImage picture;
        picture.width = static_cast<int32_t>(image->width);
        picture.height = static_cast<int32_t>(image->height);
        picture.rowPitch = static_cast<int32_t>(image->pitch);
        picture.pixelFormat = static_cast<uint32_t>(format);
        picture.pixels = {image->data(), static_cast<std::size_t>(image->usedSize())};
        System::Clipboard::sendImage(picture);
      });
}

}  // namespace Menu::EditMenuActions
