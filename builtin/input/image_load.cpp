#include "builtin/input/image_load.h"

#include <cmath>

#include "builtin/input/media_cache_access.h"
#include "edit/update_section.h"
#include "effect/effect_context.h"
#include "effect/effect_event_param.h"
#include "effect/media_input_host.h"
#include "effect/movement_registry.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service.h"
#include "render/cache_service.h"
#include "system/dialog.h"
#include "system/format.h"

#include "builtin/input/input_file_filters.h"

namespace Effect {

ImageLoad::ImageLoad()
    : EffectBase(kName, EffectType::Input, MediaType::Video, TargetType::Video),
      file(items, "ファイル", "", &InputFileFilters::image()),
      number(items, "表示番号", 0.0, 0.0, 10000.0, 1.0),
      sequence(items, "連番ファイル", false) {
  file.notify = sequence.notify = true;
}

std::shared_ptr<EffectBase> ImageLoad::create() const { return std::make_shared<ImageLoad>(); }

std::string ImageLoad::fileAt(const EffectContext& context) {
  if (file.path.empty() || !sequence.value) return file.path;
  // Without movement and with the value 0 the object's frames count through the sequence;
  // otherwise the value names the number.
  int64_t n = 0;
  if (number.movement == defaultMovement() && !number.values.empty() && number.values[0] == 0)
    n = int64_t{context.frame} - context.objectFrames.start;
  else
    n = std::llround(number.getValue(context));
  return sequenceFiles_.fileFor(file.path, n);
}

OwnedImage ImageLoad::inputVideo(EffectContext& context) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || file.path.empty()) return {};
  return uploadPicture(caches->image().getImage(fileAt(context)));
}

void ImageLoad::preInputVideo(EffectContext& context) {
  Cache::CacheService* caches = Cache::CacheService::instance();
  if (!caches || file.path.empty()) return;
  caches->image().preloadImage(fileAt(context));
}

std::string ImageLoad::getDisplayName() const {
  return fileDisplayName(file.path, EffectBase::getDisplayName());
}

bool ImageLoad::isSupportedFile(const std::string& path) const {
  auto* inputs = Plugin::InputService::instance();
  return inputs && inputs->getInputFile(path, 1) != nullptr;
}

void ImageLoad::updateItemState() { number.visible = sequence.value; }

bool ImageLoad::editEvent(EffectEventParam& event) {
  switch (event.kind) {
    case EffectEventParam::ItemChanged:
      sequenceFiles_.invalidate();
      if (event.item() == &sequence) {
        if (event.scope) event.scope->rebuildEffectSetting = true;
        return true;
      }
      if (isSupportedFile(file.path)) return true;
      file.path.clear();
      Dialog::postError("%s", "このファイルには対応していません");
      return false;
    case EffectEventParam::FileSet:
      sequenceFiles_.invalidate();
      if (const std::string* path = event.filePath()) file.fromString(*path);
      return true;
    case EffectEventParam::ShowInfo:
      return showInfo();
    default:
      return false;
  }
}

bool ImageLoad::showInfo() const {
  if (file.path.empty()) return false;
  std::string text = file.path;
  auto* inputs = Plugin::InputService::instance();
  if (auto opened = inputs ? inputs->getInputFile(file.path, 1) : nullptr) {
    text = System::formatString("%s\nImage: %d x %d \n", file.path.c_str(),
                                opened->description().width, opened->description().height);
    if (const Plugin::InputPlugin* owner = opened->owner()) text += "Plugin: " + owner->name();
  }
  if (MediaInputHost* host = mediaInputHost()) host->showToolTip(text);
  return true;
}

}  // namespace Effect
