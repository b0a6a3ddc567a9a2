#include "setting_window/rows/effect_item_base_control.h"

#include <algorithm>

#include "edit/object.h"
#include "edit/scene.h"
#include "edit/undo_service.h"
#include "effect/effect_event_param.h"
#include "system/exception.h"
#include "system/setting_service.h"
#include "system/translate_service.h"
#include "ui/controls/inner_container.h"

namespace Component {
namespace {

// A [Layout] value of the style; the usual value while no settings are loaded.
int32_t styleLayout(const char* key, int32_t fallback) {
  Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings) return fallback;
  return settings->style.getOrCreateValue(settings->layout, key).toInt();
}

}  // namespace

int32_t settingItemHeaderWidth() { return styleLayout("SettingItemHeaderWidth", 100); }
int32_t settingItemMarginWidth() { return styleLayout("SettingItemMarginWidth", 4); }

LayoutControl::LayoutControl(Window::WindowControlContainer& container, int32_t x, int32_t y,
                             int32_t w, int32_t h)
    : WindowControlRenderTarget(container, x, y, w, h) {
  // Only the widgets inside take input.
  if (mouseService) mouseService->removeMouse(this);
}

LayoutControl::LayoutControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w,
                             int32_t h)
    : WindowControlRenderTarget(parent, x, y, w, h) {
  if (mouseService) mouseService->removeMouse(this);
}

EffectItemBaseControl::EffectItemBaseControl(Window::WindowControlContainer& parent,
                                             ItemRowBlock& rowBlock, int32_t height)
    : WindowControlRenderTarget(parent, 0, 0, 0, height),
      block(&rowBlock),
      headerWidth(settingItemHeaderWidth()),
      marginWidth(settingItemMarginWidth()),
      children(Control::innerContainer(*this)),
      layout(children, marginWidth, 0, -marginWidth, -2),
      undoService(Undo::UndoService::instance()) {}

EffectItemBaseControl::~EffectItemBaseControl() {
  hoverAction = nullptr;
  clickAction = nullptr;
}

void EffectItemBaseControl::updateFile(const std::string&) {
  throw System::makeNotImplementedException("Component::EffectItemBaseControl::updateFile");
}

void EffectItemBaseControl::updateLayout() {
  WindowControl::updateLayout();
  const Window::Rect full = fullRect;
  const auto left = full.x + static_cast<int32_t>(static_cast<float>(full.width) * leftFraction);
  const auto right =
      full.x + static_cast<int32_t>(static_cast<float>(full.width) * rightFraction);
  setRect(left, full.y, std::max(left, right), full.y + full.height);
}

void EffectItemBaseControl::procMove() { children.updateLayout(); }

void EffectItemBaseControl::procPaint() {
  if (!visible || fullRect.width <= 0 || fullRect.height <= 0) return;
  if (!drawing.renderTarget) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, visibleRect.x, visibleRect.y,
                                       visibleRect.x + visibleRect.width,
                                       visibleRect.y + visibleRect.height, true);
  if (clickAction && hovered && block->paintRowBody) block->paintRowBody(*this, true);
  // A copy: a child may go away while the others paint.
  const std::vector<Window::WindowControl*> list = children.children;
  for (Window::WindowControl* child : list) child->procPaint();
}

void EffectItemBaseControl::procMouseEnter() {
  if (!clickAction || !block->paintRowBody || !drawing.renderTarget) return;
  Media::RenderTarget::DrawScope scope(*drawing.renderTarget, visibleRect.x, visibleRect.y,
                                       visibleRect.x + visibleRect.width,
                                       visibleRect.y + visibleRect.height, true);
  block->paintRowBody(*this, hovered);
}

void EffectItemBaseControl::procLButtonDown(int32_t, int32_t) {
  if (!clickAction) return;
  if (mouseService && mouseService->pressedTarget()) mouseService->ownPress();
  // A copy: the action may rebuild the block and with it this row.
  Action action = clickAction;
  action();
}

void EffectItemBaseControl::procMouseHover() {
  if (!hoverAction) return;
  Action action = hoverAction;
  action();
}

bool EffectItemBaseControl::editsLinkedObjects() const {
  const auto& scene = editService ? editService->currentScene() : nullptr;
  return scene && scene->selection.objects.size() >= 2;
}

std::vector<std::shared_ptr<Effect::EffectBase>> EffectItemBaseControl::getLinkedEffects()
    const {
  std::vector<std::shared_ptr<Effect::EffectBase>> linked;
  const std::shared_ptr<Edit::Object> object =
      block->window ? block->window->currentObject() : nullptr;
  const auto& scene = editService ? editService->currentScene() : nullptr;
  if (!object || !scene || !block->effect) return linked;
  const auto& chain = object->effects;
  const auto found = std::find(chain.begin(), chain.end(), block->effect);
  if (found == chain.end()) return linked;
  const auto position = static_cast<size_t>(found - chain.begin());
  for (const auto& other : scene->selection.objects) {
    if (!other || other == object || other->effects.size() <= position) continue;
    const std::shared_ptr<Effect::EffectBase>& effect = other->effects[position];
    // Effects of one kind share their name, so the pointer tells the kind.
    if (effect && effect->name == block->effect->name) linked.push_back(effect);
  }
  return linked;
}

void EffectItemBaseControl::notifyItemChange(Effect::EffectBase& effect,
                                             Edit::UpdateSection& scope,
                                             Effect::EffectItem& item) {
  if (!item.notify) return;
  Effect::EffectEventParam param;
  param.kind = Effect::EffectEventParam::ItemChanged;
  param.scope = &scope;
  param.object = scope.object.get();
  param.effect = block->effect.get() == &effect ? block->effect : nullptr;
  param.datum = &item;
  effect.editEvent(param);
}

void EffectItemBaseControl::runEdit(bool ownUndoStep,
                                    const std::function<void(Edit::UpdateSection&)>& change) {
  Edit::UpdateSection scope = editService->beginUpdate();
  scope.notifyObject = true;
  scope.object = block->window ? block->window->currentObject() : nullptr;
  if (ownUndoStep) {
    scope.beginUndo();
    if (undoService && block->effect) undoService->pushEffectUpdate(block->effect);
  }
  change(scope);
  scope.close();
}

void EffectItemBaseControl::beginDragStep(bool linked) {
  if (!undoService) return;
  undoService->beginStep();
  if (block->effect) undoService->pushEffectUpdate(block->effect);
  if (linked && editsLinkedObjects())
    for (const auto& effect : getLinkedEffects()) undoService->pushEffectUpdate(effect);
}

void EffectItemBaseControl::endDragStep() {
  if (undoService) undoService->commit();
}

std::string EffectItemBaseControl::translated(const std::string& text) {
  if (!Translate::isLanguageActive() || !Translate::TranslateService::instance()) return text;
  return std::string(Translate::TranslateService::instance()->translate(
      Translate::TranslateService::TextKind::Effect, text));
}

std::string EffectItemBaseControl::translatedName(const Effect::EffectItem& item) {
  return translated(item.name);
}

}  // namespace Component
