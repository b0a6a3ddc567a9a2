// Files dropped on the timeline rows (media become new objects, saved objects are loaded,
// one layer after another at the snapped frame), and the time tooltip of a gripped edge or
// midpoint.
#include <QCursor>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "edit/edit_command_object.h"
#include "edit/object.h"
#include "effect/effect_service.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/timeline_paint.h"
#include "system/dialog.h"
#include "system/file.h"
#include "system/text.h"
#include "ui/tool_tips.h"
#include "ui/window_service.h"

namespace Component {
namespace {

// How far below the pointer a tooltip goes: the height of the pointer.
constexpr int kCursorHeight = 20;

bool isSavedObject(const std::string& path) {
  return System::FileName::getExtension(path) == "object";
}

// Whether the program can make an object of the file.
bool isAccepted(const std::string& path) {
  if (isSavedObject(path)) return true;
  const Effect::EffectService* registry = Effect::EffectService::instance();
  return registry && registry->isObjectFile(path);
}

// "[-]mm:ss.cc" of a time relative to an object's start.
std::string relativeTime(double seconds) {
  const double magnitude = std::fabs(seconds);
  const long long hundredths = std::llround(magnitude * 100.0);
  char text[48];
  std::snprintf(text, sizeof text, "%s%02lld:%02lld.%02lld", seconds < 0 ? "-" : "",
                hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
  return text;
}

}  // namespace

int32_t EditLayerObjectControl::snappedDropFrame(int32_t x) const {
  const int32_t frame = owner.pixelToFrame(x);
  const int32_t threshold = 80000 / std::max(owner.zoom(), 1) + 1;
  int32_t distance = threshold;
  const int32_t correction = findSnapTarget(frame, distance);
  return std::abs(correction) < threshold ? frame + correction : frame;
}

bool EditLayerObjectControl::procDragOver(int32_t x, int32_t, Window::DropData& data) {
  if (data.files.empty() || !isAccepted(data.files.front())) return false;
  drawMarker(snappedDropFrame(x));
  Window::ToolTips::show(QCursor::pos() + QPoint(0, kCursorHeight), "レイヤーに追加", 0);
  return true;
}

bool EditLayerObjectControl::procDrop(int32_t x, int32_t y, Window::DropData& data) {
  const int32_t frame = snappedDropFrame(x);
  int32_t layer = (y >= 0 ? y / layerHeight : 0) + owner.firstLayer();
  for (const std::string& path : data.files) {
    if (isSavedObject(path)) {
      Edit::EditCommand::loadObject(path, layer++, frame);
      continue;
    }
    const Effect::EffectService* registry = Effect::EffectService::instance();
    const char* effectName = registry ? registry->getFileEffectName(path) : nullptr;
    if (!effectName) {
      Dialog::postError("%s", "このファイルには対応していません");
      return false;
    }
    Edit::EditCommand::createObject(effectName, layer++, frame,
                                    Edit::EditCommand::fileInitializer(path));
  }
  return true;
}

void EditLayerObjectControl::procDragLeave() {
  Window::ToolTips::hide();
  restoreSavedPixels();
}

std::string EditLayerObjectControl::timeTipText() const {
  const Edit::Object* object = hover.object.get();
  if (!object) return {};
  int64_t frame = object->start;
  if (hover.part == HitPart::EndEdge)
    frame = static_cast<int64_t>(object->end) + 1;
  else if (hover.part == HitPart::Midpoint && hover.index >= 1 &&
           hover.index <= static_cast<int32_t>(object->boundaries.size()))
    frame += object->boundaries[static_cast<std::size_t>(hover.index - 1)];
  const Edit::Scene& scene = owner.scene();
  const double secondsPerFrame =
      scene.rate > 0 ? static_cast<double>(scene.scale) / scene.rate : 0.0;
  return System::formatTime(frame * secondsPerFrame) + " ( " +
         relativeTime((frame - object->start) * secondsPerFrame) + " )";
}

void EditLayerObjectControl::showTimeTip(int32_t timeout) {
  const Edit::Object* object = hover.object.get();
  if (!object || object->layer < 0 || hover.part == HitPart::Body) return;
  if (timeout == 0 && !owner.settings.showMoveObjectTime) return;
  int64_t frame = object->start;
  if (hover.part == HitPart::EndEdge) frame = static_cast<int64_t>(object->end) + 1;
  const int32_t x = fullRect.x + owner.frameToPixel(frame);
  const int32_t y = fullRect.y + (object->layer - owner.firstLayer() + 1) * layerHeight + 3;
  Window::WindowService* service = Window::WindowService::instance();
  const QPoint point = service ? service->clientArea()->mapToGlobal(QPoint(x, y)) : QPoint(x, y);
  Window::ToolTips::show(point, timeTipText(), timeout);
}

void EditLayerObjectControl::procMouseHover() { showTimeTip(-1); }

}  // namespace Component
