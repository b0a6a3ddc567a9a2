#include "main_window/lists/object_list_component.h"

#include <QAction>

#include "edit/edit_command_object.h"
#include "edit/layer_objects.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/effect_base.h"
#include "main_window/lists/object_button_control.h"
#include "system/setting_service.h"
#include "ui/menu_popup.h"

namespace Component {
namespace {

// One option of the options sub-menu: its text and the option it flips.
struct OptionItem {
  const char* text;
  int32_t ObjectListComponent::Options::*option;
};
constexpr OptionItem kKindItems[] = {
    {"メディアオブジェクトを表示する", &ObjectListComponent::Options::media},
    {"フィルタオブジェクトを表示する", &ObjectListComponent::Options::filter},
    {"制御オブジェクトを表示する", &ObjectListComponent::Options::control},
};
constexpr OptionItem kMediaItems[] = {
    {"映像(画像)系のオブジェクトを表示する", &ObjectListComponent::Options::video},
    {"音声系のオブジェクトを表示する", &ObjectListComponent::Options::audio},
};

}  // namespace

ObjectListComponent::ObjectListComponent()
    : ListToolWindow(kTitle, kSection, Placement{0.8f, 0.0f, 1.0f, 0.3f, kRight, true}),
      binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  acceptsContextMenu = true;
  if (!eventService) return;
  const std::weak_ptr<void> alive = lifetime();
  auto update = [alive, this] {
    if (!alive.expired()) updateList();
  };
  auto repaintRows = [alive, this] {
    if (!alive.expired()) list.procPaint();
  };
  eventService->editDataChanged().add([update](const Event::ObjectReference&) { update(); });
  eventService->cursorFrameChanged().add([update](int) { update(); });
  eventService->sceneChanged().add([update](int) { update(); });
  eventService->selectionChanged().add(repaintRows);
  eventService->focusObjectChanged().add(
      [repaintRows](const Event::ObjectReference&) { repaintRows(); });
}

bool ObjectListComponent::isListed(const Edit::Object& object) const {
  if (object.effects.empty() || !object.effects.front()) return false;
  const Effect::EffectBase& first = *object.effects.front();
  switch (first.effectType) {
    case Effect::EffectType::Input:
      if (!options.media) return false;
      break;
    case Effect::EffectType::Control:
      if (!options.control) return false;
      break;
    case Effect::EffectType::Filter:
      if (!options.filter) return false;
      break;
    default: return false;
  }
  const bool video = first.mediaType == Effect::MediaType::Video ||
                     first.mediaType == Effect::MediaType::VideoAudio;
  return video ? options.video != 0 : options.audio != 0;
}

void ObjectListComponent::collectObjects() {
  objects_.clear();
  const Edit::Scene* scene = editService ? editService->currentScene().get() : nullptr;
  if (!scene) return;
  const int32_t frame = scene->cursorFrame;
  for (int32_t layer = 0; layer <= scene->lastUsedLayer(); ++layer) {
    // A layer beyond the table gives the empty slot.
    const Edit::LayerObjects& slot = scene->getLayerObjects(layer);
    const std::size_t position = Edit::lowerBoundObjectEnd(slot, frame);
    if (position >= slot.objects.size()) continue;
    const std::shared_ptr<Edit::Object>& object = slot.objects[position];
    if (object->start > frame || object->layer != layer || !isListed(*object)) continue;
    objects_.push_back(object);
  }
}

void ObjectListComponent::updateList() {
  collectObjects();
  if (objects_.size() == list.items.size()) {
    // Same number of rows: they keep their hover and press states.
    for (std::size_t i = 0; i < objects_.size(); ++i)
      static_cast<ObjectButtonControl&>(*list.items[i]).setObject(objects_[i]);
  } else {
    list.clearItems();
    for (const std::shared_ptr<Edit::Object>& object : objects_)
      list.items.push_back(std::make_unique<ObjectButtonControl>(*this, object));
  }
  relayoutRows();
}

void ObjectListComponent::buildContextMenu(Window::BaseMenu& menu) {
  Edit::EditService* edit = editService;
  if (edit && edit->currentScene()->selection.empty()) {
    menu.appendItem("貼り付け", [] { Edit::EditCommand::pasteObjectAt(); },
                    !edit->clipboard.empty());
  } else if (edit) {
    edit->appendEditMenu(menu);
    menu.insertSeparator();
    edit->appendLayerRangeMenu(menu);
    edit->appendGroupMenu(menu);
  }
  menu.insertSeparator();
  createPopupMenu(menu);
}

void ObjectListComponent::procContextMenu(int32_t, int32_t) {
  Window::PopupMenu menu;
  buildContextMenu(menu);
  menu.show();
}

void ObjectListComponent::createPopupMenu(Window::BaseMenu& menu) {
  {
    Window::BaseMenu optionMenu(menu, kOptionMenu);
    auto addItems = [&](const auto& items) {
      for (const OptionItem& entry : items) {
        const Window::MenuItem item = optionMenu.insertItem(entry.text, [this, &entry] {
          int32_t& value = options.*entry.option;
          value = value ? 0 : 1;
          updateList();
        });
        if (QAction* action = item.action()) {
          action->setCheckable(true);
          action->setChecked(options.*entry.option != 0);
        }
      }
    };
    addItems(kKindItems);
    optionMenu.insertSeparator();
    addItems(kMediaItems);
  }
  ListToolWindow::createPopupMenu(menu);
}

}  // namespace Component
