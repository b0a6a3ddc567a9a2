#include "effect/effect_item_mask_select.h"

#include <stdexcept>

#include "effect/effect_context.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_combo_file.h"
#include "effect/mask_image_source.h"
#include "effect/drawing_resources.h"
#include "effect/media_input_host.h"
#include "system/file.h"
#include "system/log.h"

namespace Effect {

EffectItemMaskSelect::EffectItemMaskSelect(EffectItemList& items, std::string_view itemName,
                                           int initialFigure, const EffectItemCheck* fit)
    : EffectItem(items, ItemType::MaskSelect, itemName),
      list(EffectItemFigureSelect::getFigureList()),
      figure(initialFigure),
      fitLength(fit) {}

void EffectItemMaskSelect::copyFrom(const EffectItem& other) {
  const auto& source = sameKind<EffectItemMaskSelect>(other);
  figure = source.figure;
  scene = source.scene;
  path = source.path;
}

bool EffectItemMaskSelect::equals(const EffectItem& other) const {
  const auto& source = sameKind<EffectItemMaskSelect>(other);
  return figure == source.figure && scene == source.scene && path == source.path;
}

std::unique_ptr<EffectItem> EffectItemMaskSelect::clone() const {
  return std::make_unique<EffectItemMaskSelect>(*this);
}

std::string EffectItemMaskSelect::toString() const {
  if (choosesFile()) return path;
  if (scene < 0) {
    const auto found = list->entries.find(figure);
    if (found == list->entries.end()) throw std::out_of_range("invalid map<K, T> key");
    return std::string(found->second);
  }
  if (auto name = sceneNameOf(scene)) return *name;
  System::Log::warn("Effect::EffectItemMaskSelect::toString",
                    "mask scene (%d) no longer exists; written as no scene", scene);
  return {};
}

void EffectItemMaskSelect::fromString(std::string_view text) {
  if (text.empty()) return;
  if (list->contains(text)) {
    selectFigure(list->getValue(text));
  } else if (const auto id = findSceneByName(text)) {
    selectScene(*id);
  } else if (text.find('.') != std::string_view::npos || text.starts_with('*')) {
    path = System::FileName::expandVariable(text);
    figure = -1;
    scene = -1;
  }
}

const std::string* EffectItemMaskSelect::getFilePath() const { return &path; }

void EffectItemMaskSelect::setFilePath(std::string_view newPath) {
  if (newPath.empty()) return;
  path = System::FileName::expandVariable(newPath);
  figure = -1;
  scene = -1;
}

ControlKind EffectItemMaskSelect::getControlKind() const { return ControlKind::MaskSelect; }

bool EffectItemMaskSelect::forgetScene(int32_t sceneId) {
  if (scene < 0 || scene != sceneId) return false;
  System::Log::warn("Effect::EffectItemMaskSelect::forgetScene",
                    "mask scene (%d) deleted; the mask is the first figure now", sceneId);
  selectFigure(-1);
  return true;
}

void EffectItemMaskSelect::selectFigure(int index) {
  path.clear();
  scene = -1;
  if (list->entries.contains(index))
    figure = index;
  else
    figure = list->entries.empty() ? -1 : list->firstValue();
}

void EffectItemMaskSelect::selectScene(int32_t id) {
  if (id < 0 || !sceneNameOf(id)) {
    selectFigure(-1);
    return;
  }
  path.clear();
  scene = id;
  figure = -1;
}

double EffectItemMaskSelect::sceneSeconds(double time, const ObjectFrames& object,
                                          const MediaTime::Timing& timing, bool fit,
                                          const std::optional<EditAccess::SceneSpan>& maskScene) {
  if (!timing.isUsable()) return 0.0;
  const double elapsed = timing.seconds(time - object.start);
  if (!fit || !maskScene) return elapsed;
  const double length = timing.seconds(static_cast<double>(object.end) - object.start + 1.0);
  if (length <= 0.0 || !maskScene->timing.isUsable()) return 0.0;
  return maskScene->timing.seconds(maskScene->lastFrame) * elapsed / length;
}

double EffectItemMaskSelect::sceneSecondsAt(const EffectContext& context) const {
  const bool fit = fitLength && fitLength->value;
  return sceneSeconds(context.time, context.objectFrames, sceneTimingOf(context.scene), fit,
                      fit ? sceneSpanOf(scene) : std::nullopt);
}

void EffectItemMaskSelect::preload(const EffectContext& context) const {
  MaskImageSource* source = maskImageSource();
  if (!source) return;
  if (scene >= 0) {
    const double seconds = sceneSecondsAt(context);
    if (scene != 0) source->preloadSceneFrame(scene, seconds);
  } else if (choosesFile() && !path.empty() && !choosesNamedBuffer()) {
    source->preloadImage(path);
  }
}

OwnedImage EffectItemMaskSelect::getMaskImage(const EffectContext& context, unsigned width,
                                              unsigned height) const {
  if (figure >= 0) {
    const DrawingResources* resources = drawingResources();
    return resources ? resources->drawFigure(figure, width, height) : OwnedImage();
  }
  MaskImageSource* source = maskImageSource();
  if (!source) return {};
  if (scene >= 0) {
    const double seconds = sceneSecondsAt(context);
    return scene == 0 ? OwnedImage() : source->sceneFrameImage(scene, seconds);
  }
  if (choosesNamedBuffer()) {
    if (!context.resourceCache) return {};
    return source->namedBuffer(*context.resourceCache, path.substr(1));
  }
  return path.empty() ? OwnedImage() : source->fileImage(path);
}

}  // namespace Effect
