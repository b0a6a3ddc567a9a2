#include "builtin/control/scene_change.h"

#include <cmath>
#include <mutex>
#include <utility>

#include "edit/object.h"
#include "edit/update_section.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource_buffer.h"
#include "render/render_service.h"
#include "render/render_video_worker.h"
#include "system/log.h"

namespace Effect {
namespace {

constexpr const char* kControlPlace = "Effect::SceneChange::controlVideo";

// The pre-input slot's owner: its type tells the picture before apart from whatever else a
// step may leave in the untyped slot (std::get_deleter finds it only in a slot made here).
struct BeforeFrameHolder {
  std::shared_ptr<Render::PreInputBuffer> buffer;
  void operator()(void*) noexcept { buffer.reset(); }
};

// A number item at the frame, rounded to the nearest integer (halves away from zero).
int32_t roundedAt(const EffectItemNumber& item, const EffectContext& context) {
  return static_cast<int32_t>(std::lround(item.getValue(context)));
}

}  // namespace

SceneChange::SceneChange()
    : EffectBase(kName, EffectType::Control, MediaType::Video, TargetType::Video),
      kind(items, "種類", 0, getSceneChangeList()),
      angle(items, "角度", 0.0, 0.0, 360.0, 1.0),
      divisions(items, "分割数", 5.0, 2.0, 1000.0, 1.0),
      blur(items, "ぼかし", 2.0, 0.0, 100.0, 1.0),
      vertical(items, "縦方向", false),
      reverse(items, "反転", false),
      keepAspect(items, "縦横比固定", true) {
  kind.notify = true;
  label = "シーンチェンジ";
  targetType = TargetType::SceneChange;
}

std::shared_ptr<EffectBase> SceneChange::create() const { return std::make_shared<SceneChange>(); }

void SceneChange::preInputVideo(EffectContext& context) { prepareBeforeFrame(context); }

void SceneChange::prepareBeforeFrame(EffectContext& context) {
  context.preInputData.reset();
  Render::RenderService* render = Render::RenderService::instance();
  if (!render || !context.scene || !context.object) return;
  const int beforeStart = context.objectFrames.start - 1;
  std::shared_ptr<Render::PreInputBuffer> before = render->video().renderFrameBuffer(
      *context.scene, beforeStart, context.frame - beforeStart, context.object->layer - 1);
  Render::PreInputBuffer* raw = before.get();
  context.preInputData = std::shared_ptr<void>(raw, BeforeFrameHolder{std::move(before)});
}

Media::RenderBuffer* SceneChange::beforeFrame(const EffectContext& context) {
  const auto* holder = std::get_deleter<BeforeFrameHolder>(context.preInputData);
  const auto* rendering =
      holder ? dynamic_cast<const Render::RenderVideoWorker::RenderingBuffer*>(holder->buffer.get())
             : nullptr;
  return rendering ? rendering->buffer.get() : nullptr;
}

void SceneChange::controlVideo(EffectContext& context) {
  if (!context.preInputData) {
    System::Log::warn(kControlPlace, "no before frame buffer");
    return;
  }
  Media::RenderBuffer* before = beforeFrame(context);
  Media::RenderBuffer* frame = context.outputView.target;
  if (!before || !frame) {
    System::Log::warn(kControlPlace, "invalid before frame buffer");
    return;
  }
  // Nothing was drawn before the object: the frame has no texture to mix with.
  if (!before->texture() || !frame->texture()) {
    System::Log::warn(kControlPlace, "invalid before frame buffer");
    return;
  }
  if (!resource_) createResource();

  SceneChangeParams params;
  params.effect = this;
  params.resource = resource_.get();
  params.context = &context;
  params.before = before->createResourceBuffer(true);
  params.frame = frame;
  params.progress =
      sceneChangeProgress(context.frame, context.objectFrames.start, context.objectFrames.end);
  params.angle = roundedAt(angle, context);
  params.divide = roundedAt(divisions, context);
  params.blur = roundedAt(blur, context);
  params.vertical = vertical.value;
  params.inverse = reverse.value;
  params.keepAspect = keepAspect.value;

  const std::vector<SceneChangeDefine>& table = sceneChangeTable();
  const int value = kind.value;
  if (value >= static_cast<int>(table.size())) {
    sceneChangeWipe(params, value - kBuiltinCount);
    return;
  }
  const SceneChangeDefine* define =
      value >= 0 ? &table[static_cast<std::size_t>(value)] : nullptr;
  if (!define || !define->func) {
    System::Log::warn(kControlPlace, "no scene change func");
    return;
  }
  define->func(params, *define);
}

OutputView SceneChange::getOutputView(EffectContext& context) { return context.outputView; }

bool SceneChange::editEvent(EffectEventParam& event) {
  if (event.kind != EffectEventParam::ItemChanged) return false;
  if (event.scope) {
    event.scope->rebuildEffectSetting = true;
    event.scope->updateTimeSetting = true;
    event.scope->updateColorSetting = true;
    event.scope->updateTextSetting = true;
  }
  return true;
}

void SceneChange::updateItemState() {
  const std::vector<SceneChangeDefine>& table = sceneChangeTable();
  const int value = kind.value;
  const int32_t flags = value >= 0 && value < static_cast<int>(table.size())
                            ? table[static_cast<std::size_t>(value)].flags
                            : SceneChangeItem::kWipe;
  reverse.shown = (flags & SceneChangeItem::kReverse) != 0;
  angle.visible = (flags & SceneChangeItem::kAngle) != 0;
  divisions.visible = (flags & SceneChangeItem::kDivide) != 0;
  blur.visible = (flags & SceneChangeItem::kBlur) != 0;
  keepAspect.shown = (flags & SceneChangeItem::kKeepAspect) != 0;
  vertical.shown = (flags & SceneChangeItem::kVertical) != 0;
}

void SceneChange::createResource() { resource_ = std::make_shared<CommonResource>(); }

void SceneChange::shareResource(const EffectBase& prototype) {
  // Another class has no shaders of this kind: the current ones stay.
  if (const auto* same = dynamic_cast<const SceneChange*>(&prototype)) resource_ = same->resource_;
}

std::shared_ptr<EffectItemSelect::SharedList> SceneChange::getSceneChangeList() {
  // Kept with the resources it was built from: the list is built once per run, and anew
  // only when the shared drawing resources came or went since (a headless start, tests).
  static std::mutex mutex;
  static const Resource::ResourceService* source = nullptr;
  static std::shared_ptr<EffectItemSelect::SharedList> built;
  const Resource::ResourceService* resources = Resource::ResourceService::instance();
  std::lock_guard lock(mutex);
  if (built && source == resources) return built;
  auto list = EffectItemSelect::createSharedList();
  const std::vector<SceneChangeDefine>& table = sceneChangeTable();
  for (std::size_t value = 0; value < table.size(); ++value)
    list->setItem(static_cast<int>(value), table[value].name);
  // The list keeps its own copies of the wipe names.
  if (resources)
    for (const auto& [value, name] : resources->transitionList().choices()->entries)
      list->addItem(kBuiltinCount + value, name);
  source = resources;
  built = std::move(list);
  return built;
}

}  // namespace Effect
