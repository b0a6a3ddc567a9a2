#include "main_window/lists/object_button_control.h"

#include <QCursor>
#include <string_view>

#include "edit/edit_command_flag.h"
#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "main_window/lists/list_row_paint.h"
#include "main_window/lists/object_list_component.h"
#include "system/translate_service.h"
#include "ui/mouse_selection_input.h"
#include "ui/tool_tips.h"

namespace Component {
namespace {

constexpr int kCursorHeight = 32;

const Effect::EffectBase* firstEffect(const Edit::Object& object) {
  return object.effects.empty() ? nullptr : object.effects.front().get();
}

const Media::Bitmap* bitmapOf(Window::StyleBitmapList* bitmaps, int id) {
  if (!bitmaps) return nullptr;
  switch (id) {
    case ObjectIcon::kCamera: return bitmaps->Camera.get();
    case ObjectIcon::kSpeaker: return bitmaps->Speaker.get();
    case ObjectIcon::kLock: return bitmaps->Lock.get();
    case ObjectIcon::kUnlock: return bitmaps->Unlock.get();
    case ObjectIcon::kClipping: return bitmaps->Clipping.get();
    case ObjectIcon::kMovie: return bitmaps->Movie.get();
    case ObjectIcon::kPicture: return bitmaps->Picture.get();
    case ObjectIcon::kLink: return bitmaps->Link.get();
    case ObjectIcon::kSparkle: return bitmaps->Sparkle.get();
    case ObjectIcon::kText: return bitmaps->TextT.get();
    default: return bitmaps->Gear.get();
  }
}

Edit::Scene* currentScene() {
  Edit::EditService* edit = Edit::EditService::instance();
  return edit ? edit->currentScene().get() : nullptr;
}

}  // namespace

int objectKindIcon(const Edit::Object& object) {
  const Effect::EffectBase* first = firstEffect(object);
  if (!first) return ObjectIcon::kGear;
  const std::string_view name = first->name;
  switch (first->effectType) {
    case Effect::EffectType::Input:
      if (object.clipping) return ObjectIcon::kClipping;
      if (name == "動画ファイル" || name == "シーン") return ObjectIcon::kMovie;
      if (name == "テキスト") return ObjectIcon::kText;
      if (first->mediaType == Effect::MediaType::Audio) return ObjectIcon::kSpeaker;
      return ObjectIcon::kPicture;
    case Effect::EffectType::Control:
      if (name == "カメラ制御") return ObjectIcon::kCamera;
      if (name == "グループ制御" || name == "グループ制御(音声)") return ObjectIcon::kLink;
      return ObjectIcon::kGear;
    case Effect::EffectType::Filter:
      return first->mediaType == Effect::MediaType::Video ? ObjectIcon::kSparkle
                                                          : ObjectIcon::kGear;
    default: return ObjectIcon::kGear;
  }
}

std::string layerDisplayName(int32_t layer, const std::string& ownName) {
  if (!ownName.empty()) return ownName;
  return Translate::translateText(Translate::TranslateService::TextKind::Name, "Layer") +
         std::to_string(layer + 1);
}

ObjectButtonControl::ObjectButtonControl(ObjectListComponent& window,
                                         std::shared_ptr<Edit::Object> object)
    : ButtonControl(window.list.itemContainer, 0, 0, 0, listItemHeight() + 2),
      ListItemBase(window.list),
      inner(Window::WindowControlContainer{0, 0, priority + 1, &visibleRect, &fullRect, {}, {}}),
      buttons(inner, -(2 * listItemHeight() - 6), 3, 0, listItemHeight() - 6),
      lockButton(buttons, 0, 0, listItemHeight() - 6, listItemHeight() - 6),
      enableButton(buttons, listItemHeight() - 3, 0, listItemHeight() - 6, 0),
      window_(&window) {
  control = this;
  acceptsContextMenu = true;
  if (buttons.mouseService) buttons.mouseService->removeMouse(&buttons);
  lockButton.toolTipText = kLockTip;
  lockButton.checkedBitmap = bitmapOf(drawing.bitmaps, ObjectIcon::kLock);
  lockButton.uncheckedBitmap = bitmapOf(drawing.bitmaps, ObjectIcon::kUnlock);
  lockButton.bodyBrushProvider = [this] { return &getBodyBrush(); };
  lockButton.setCheckCallback([this](Control::ButtonControl&) {
    Edit::EditCommand::setLockClickedObject(object_, lockButton.checked);
  });
  enableButton.setCheckCallback([this](Control::ButtonControl&) {
    Edit::EditCommand::setEnableClickedObject(object_, enableButton.checked);
  });
  clickCallback = [this](Control::ButtonControl&) { click(); };
  setObject(std::move(object));
  inner.updateLayout();
}

void ObjectButtonControl::setObject(std::shared_ptr<Edit::Object> object) {
  if (!object) return;
  if (object != object_) {
    object_ = std::move(object);
    iconId_ = objectKindIcon(*object_);
  }
  const Effect::EffectBase* first = firstEffect(*object_);
  lockButton.checked = first && first->lock;
  enableButton.checked = first && !first->disable;
  const bool filter = first && first->effectType == Effect::EffectType::Filter;
  enableButton.toolTipText = filter ? kFilterEnableTip : kObjectEnableTip;
  lockButton.visible = !first || first->mediaType != Effect::MediaType::Audio;
}

const Media::Brush& ObjectButtonControl::getBodyBrush() {
  Window::StyleBrushList& brushes = *drawing.styleBrushes;
  if (const Edit::Scene* scene = currentScene()) {
    const bool chosen =
        scene->selection.empty() ? scene->focusObject == object_ : object_->selected;
    if (chosen) return *brushes.ButtonBodySelect.get();
  }
  return hovered ? *brushes.ButtonBodyHover.get() : *brushes.ButtonBody.get();
}

void ObjectButtonControl::addToSelection(const std::shared_ptr<Edit::Object>& object) {
  Edit::EditService* edit = Edit::EditService::instance();
  if (!edit || !object) return;
  // An object on a locked layer is refused by the selection.
  if (!edit->selectObject(object, true) || !object->selected) return;
  if (mouseService && !mouseService->keyWatchTarget())
    mouseService->setKeyWatch(this, kControlKey);
}

void ObjectButtonControl::click() {
  Edit::EditService* edit = Edit::EditService::instance();
  if (!edit) return;
  const std::shared_ptr<Edit::Object> object = object_;
  const bool control = mouseService && mouseService->isKeyDown(kControlKey);
  if (!control) {
    edit->setFocusObject(object);
    addToSelection(object);
    return;
  }
  const Edit::Scene& scene = *edit->currentScene();
  if (scene.selection.empty() && scene.focusObject) addToSelection(scene.focusObject);
  addToSelection(object);
}

void ObjectButtonControl::procContextMenu(int32_t x, int32_t y) {
  const Edit::Scene* scene = currentScene();
  const bool keep = mouseService && mouseService->isKeyDown(kControlKey) && scene &&
                    !scene->selection.empty();
  if (!keep) addToSelection(object_);
  window_->procContextMenu(x, y);
}

void ObjectButtonControl::procMouseHover() {
  const Edit::Scene* scene = currentScene();
  const Effect::EffectBase* first = firstEffect(*object_);
  if (!scene || !first) return;
  const Edit::LayerObjects& slot = scene->getLayerObjects(object_->layer);
  const std::string layerName =
      layerDisplayName(object_->layer, slot.index() >= 0 ? slot.layer->name : std::string());
  Window::ToolTips::show(QCursor::pos() + QPoint(0, kCursorHeight),
                         layerName + " : " + first->getDisplayName(), -1);
}

void ObjectButtonControl::procKeyRelease() {
  if (Edit::EditService* edit = Edit::EditService::instance())
    edit->clickOutsideSelection(Window::inputTargetOf(this));
}

void ObjectButtonControl::procCaptureCancel() {
  redraw();
  if (Edit::EditService* edit = Edit::EditService::instance())
    edit->clickOutsideSelection(Window::inputTargetOf(this));
}

void ObjectButtonControl::paintButtons() {
  const std::vector<Window::WindowControl*> children = inner.children;
  for (Window::WindowControl* child : children) child->procPaint();
}

void ObjectButtonControl::procPaint() {
  if (!Control::isPaintable(*this)) return;
  {
    Control::ControlDrawScope scope(*this);
    const Effect::EffectBase* first = firstEffect(*object_);
    paintListRow(scope, *this, getBodyBrush(), bitmapOf(drawing.bitmaps, iconId_),
                 first ? first->getDisplayName() : std::string(),
                 scope.width() - 3 * listItemHeight() + 6);
  }
  paintButtons();
}

void ObjectButtonControl::procMove() { inner.updateLayout(); }

}  // namespace Component
