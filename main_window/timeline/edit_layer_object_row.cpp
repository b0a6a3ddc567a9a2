// Drawing one timeline row: its background, the shading after the scene's end, the object
// boxes with their names and midpoint marks, and the frame cursor.
#include <algorithm>

#include "edit/layer_objects.h"
#include "edit/object.h"
#include "effect/effect_base.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/timeline_geometry.h"
#include "main_window/timeline/timeline_paint.h"
#include "ui/controls/control_paint.h"

namespace Component {
namespace {

// The top of an object box: the row's first pixels show the midpoint marks.
constexpr int32_t kBoxTop = 6;

struct KindBrushes {
  Media::LinearGradientBrush* plain;
  Media::SolidColorBrush* selected;
};

KindBrushes brushesOfKind(Window::StyleBrushList& b, int kind) {
  using Type = Edit::EffectManager::ObjectType;
  switch (kind) {
    case Type::VideoObject:
    case Type::VideoAudioObject: return {b.ObjectVideo.get(), b.ObjectVideoSelect.get()};
    case Type::AudioObject: return {b.ObjectAudio.get(), b.ObjectAudioSelect.get()};
    case Type::VideoFilterObject:
    case Type::OtherFilterObject:
      return {b.ObjectVideoFilter.get(), b.ObjectVideoFilterSelect.get()};
    case Type::AudioFilterObject:
      return {b.ObjectAudioFilter.get(), b.ObjectAudioFilterSelect.get()};
    default: return {b.ObjectControl.get(), b.ObjectControlSelect.get()};
  }
}

// A filter object is off when all of its effects are; any other when its first effect is.
bool isSwitchedOff(const Edit::Object& object) {
  if (object.effects.empty()) return false;
  if (object.effects.front()->effectType != Effect::EffectType::Filter)
    return object.effects.front()->disable;
  return std::all_of(object.effects.begin(), object.effects.end(),
                     [](const auto& effect) { return effect->disable; });
}

// A movie with its sound: an input and a second effect of both media, whose sound the
// input could give to an object of its own.
bool hasSeparableSound(const Edit::Object& object) {
  const auto& effects = object.effects;
  return effects.size() >= 2 && effects[0]->effectType == Effect::EffectType::Input &&
         effects[0]->mediaType == Effect::MediaType::VideoAudio &&
         effects[1]->mediaType == Effect::MediaType::VideoAudio && effects[0]->canSeparateAudio(0);
}

}  // namespace

void EditLayerObjectControl::drawLayerRow(int32_t layer) {
  if (!owner.isLayerInView(layer) || !Control::isPaintable(*this)) return;
  const int32_t width = fullRect.width, height = layerHeight;
  const int32_t rowTop = (layer - owner.firstLayer()) * height;
  RowDrawScope scope(*this, rowTop, height);
  Media::RenderTarget& target = scope.paint.target();
  Window::StyleBrushList& brushes = scope.paint.brushes();

  const Edit::Scene& scene = owner.scene();
  const int32_t zoom = scene.zoom.zoom;
  const int32_t first = scene.displayFrame;
  const int64_t spanEnd = first + static_cast<int64_t>(Timeline::pixelsToFrames(width, zoom)) + 1;
  const auto x = [&](int64_t frame) { return owner.frameToPixel(frame); };
  const Edit::LayerObjects& slot = scene.getLayerObjects(layer);
  const bool hidden = owner.isLayerHidden(layer);
  target.fillRectangle(0, 0, width, height,
                       rowBackground(brushes, layer == owner.layerHeaders.hoveredLayer, hidden,
                                     *brushes.Layer.get()));

  if (owner.settings.displayLayerRange)
    scene.forEachLayerRange(layer, first, static_cast<int32_t>(std::min<int64_t>(spanEnd, INT32_MAX)),
                            [&](int32_t from, int32_t to, bool last) {
                              drawLayerRange(target, brushes, from, to, last, spanEnd);
                            });
  if (owner.settings.tempoGrid) drawTempoGrid(target, brushes, first, spanEnd);

  const int32_t sceneEnd = x(static_cast<int64_t>(scene.lastFrame()) + 1);
  if (sceneEnd <= width) {
    target.fillRectangle(std::max(sceneEnd, 0), 0, width, height, *brushes.LayerDisable.get());
    target.drawLine(sceneEnd, 0, sceneEnd, height, *brushes.GuideLine.get(), 1, nullptr);
  }
  target.drawLine(0, 0, width, 0, *brushes.Border.get(), 1, nullptr);

  int32_t shared = -100000;  // the column the last collapsed box took
  for (std::size_t i = Edit::lowerBoundObjectEnd(slot, first); i < slot.objects.size(); ++i) {
    const Edit::Object& object = *slot.objects[i];
    if (object.layer != layer || object.end < first) continue;
    if (object.start > spanEnd) break;
    int32_t left = x(object.start), right = x(static_cast<int64_t>(object.end) + 1);
    if (left < shared) {
      if (right <= shared) continue;
      left = shared;
    }
    if (left == right) shared = right = left + 1;

    // An object always has effects once made; one caught half-made is drawn as a control.
    const KindBrushes kind = brushesOfKind(
        brushes, object.effects.empty() ? Edit::EffectManager::ControlObject
                                        : object.getObjectType());
    if (object.selected)
      target.fillRectangle(left, kBoxTop, right, height, *kind.selected);
    else
      target.fillGradientRectangle(left, kBoxTop, right, height, *kind.plain);
    if (!object.selected) {
      if (hasSeparableSound(object))
        fillBandGradient(target, left, (height + 5) / 2 + 1, right, height,
                         *brushes.ObjectAudioFade.get());
      if (object.clipping)
        fillBandGradient(target, left, (3 * height + 15) / 4 + 1, right, height,
                         *brushes.ClippingObject.get());
    }

    int32_t nameLeft = left + 4;
    if (owner.settings.displayObjectNameFromHead) nameLeft = std::max(nameLeft, 1);
    if (right - nameLeft > 0 && !object.effects.empty()) {
      Control::MeasuredText name =
          Control::measureText(*font, object.effects.front()->getDisplayName());
      const bool dim = hidden || isSwitchedOff(object);
      AreaDrawScope clip(*this, nameLeft, rowTop, right, rowTop + height);
      scope.paint.drawLayout(name.layout.get(), 0, textOffset,
                       dim ? *brushes.TextDisable.get() : *brushes.Text.get());
    }

    if (right - left > 3) {
      for (const int32_t offset : object.boundaries) {
        const int64_t boundary = static_cast<int64_t>(object.start) + offset;
        const int32_t centre =
            static_cast<int32_t>(((boundary - first) * 2 + 1) * zoom / 20000);
        drawSectionMark(target, centre, left, right, *brushes.ObjectSection.get());
      }
    }
  }

  drawMarks(target, brushes, layer);

  const int32_t cursor = scene.cursorFrame;
  if (cursor >= first && cursor <= first + owner.visibleFrames) {
    const int32_t cursorLeft = x(cursor), cursorRight = x(static_cast<int64_t>(cursor) + 1);
    if (cursorRight - cursorLeft < 2)
      target.drawLine(cursorLeft, 1, cursorLeft, height, *brushes.FrameCursor.get(), 1, nullptr);
    else
      target.fillRectangle(cursorLeft, 1, cursorRight, height, *brushes.FrameCursorWide.get());
  }
  pixelsSaved = false;  // the row was drawn over them
}

void EditLayerObjectControl::drawMarks(Media::RenderTarget& target,
                                       Window::StyleBrushList& brushes, int32_t layer) {
  const int32_t height = layerHeight, width = fullRect.width;
  // The box of a marked object, one pixel wide at least; false when it lies out of view.
  const auto box = [&](const Edit::Object& object, int32_t& left, int32_t& right) {
    left = owner.frameToPixel(object.start);
    right = owner.frameToPixel(static_cast<int64_t>(object.end) + 1);
    if (right == left) ++right;
    return right >= 0 && left <= width;
  };
  int32_t left = 0, right = 0;
  if (const Edit::Object* object = hover.object.get();
      object && object->layer == layer && box(*object, left, right)) {
    const Media::Brush& select = *brushes.BorderSelect.get();
    if (!object->selected)
      target.drawRectangle(left, kBoxTop, right, height, *brushes.ObjectHover.get(), 2, nullptr);
    else if (mode == DragMode::ResizeStart)
      target.drawLine(left, kBoxTop, left, height, select, 2, nullptr);
    else if (mode == DragMode::ResizeEnd)
      target.drawLine(std::max(left, right - 1), kBoxTop, std::max(left, right - 1), height,
                      select, 2, nullptr);
    const int32_t index = hover.index;
    if (hover.part == HitPart::Midpoint && index >= 1 &&
        index <= static_cast<int32_t>(object->boundaries.size())) {
      const int64_t boundary = static_cast<int64_t>(object->start) +
                               object->boundaries[static_cast<std::size_t>(index - 1)];
      const int32_t centre = static_cast<int32_t>(
          ((boundary - owner.firstFrame()) * 2 + 1) * owner.zoom() / 20000);
      if (right - left >= 4) drawSectionMark(target, centre, left, right, select);
      if (mode == DragMode::MoveMidpoint && object->selected)
        target.drawLine(centre, kBoxTop, centre, height, select, 2, nullptr);
    }
  }
  if (const Edit::Object* focus = focusMark.get();
      focus && focus->layer == layer && !focus->selected && box(*focus, left, right))
    target.drawRectangle(left, kBoxTop, right, height, *brushes.BorderSelect.get(), 2,
                         dashedStroke());
}

void EditLayerObjectControl::drawSectionMark(Media::RenderTarget& target, int32_t centre,
                                             int32_t left, int32_t right,
                                             const Media::Brush& brush) {
  const Media::Point2F corners[3] = {
      {static_cast<float>(std::max(left, centre - 4)), 2.0f},
      {static_cast<float>(std::min(centre + 5, right)), 2.0f},
      {static_cast<float>(centre) + 0.5f, 6.0f}};
  target.fillPath(corners, brush);
}

}  // namespace Component
