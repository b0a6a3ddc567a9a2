// The context menu of the timeline rows: what can be done at the clicked layer and frame
// with nothing selected (paste, empty frames, selecting by the cursor), or with the selected
// objects (clipboard, split, length, sound, layer range, midpoints, groups), then the
// timeline's option menu.
#include <algorithm>
#include <cstdlib>

#include "edit/edit_command_length.h"
#include "edit/edit_command_object.h"
#include "edit/edit_command_section.h"
#include "edit/edit_command_split.h"
#include "edit/edit_menu_predicates.h"
#include "edit/object.h"
#include "main_window/timeline/edit_component.h"
#include "main_window/timeline/edit_layer_object_control.h"
#include "main_window/timeline/timeline_paint.h"
#include "ui/menu_popup.h"
#include "ui/mouse_selection_input.h"
#include "ui/virtual_key.h"

namespace Component {

void EditLayerObjectControl::selectAllObjects() {
  editService->currentScene()->forEachObject([this](Edit::Object& object) {
    editService->selectObject(object.shared_from_this(), false);
  });
  if (editService->currentScene()->selection.empty()) return;
  if (mouseService) mouseService->setKeyWatch(this, Window::VirtualKey::kControl);
  if (eventService) eventService->selectionChanged().fire();
}

void EditLayerObjectControl::procContextMenu(int32_t x, int32_t y) {
  Edit::Scene& scene = owner.scene();
  const bool control = mouseService && mouseService->isKeyDown(Window::VirtualKey::kControl);
  const int32_t layer = (y >= 0 ? y / layerHeight : -1) + owner.firstLayer();

  std::shared_ptr<Edit::Object> object;
  int32_t midpoint = -1;
  if (!control) {
    object = hitTest(x, y).object;
    if (object) {
      editService->clickSelectObject(Window::inputTargetOf(this), object,
                                     editService->settings.clickLayerObjectSelectGroup != 0);
      midpoint = findMidpointAt(*object, x);
    }
  }
  // Snapped after the click selected: the clicked object is no snap target of its own.
  const int32_t frame = snappedDropFrame(x);
  drawMarker(frame);
  const int32_t splitFrame =
      editService->settings.addSectionSplitByCursorFrame ? scene.cursorFrame : frame;
  const bool clipboardEmpty = editService->clipboard.empty();

  Window::PopupMenu menu;
  if (scene.selection.empty()) {
    menu.insertItem("貼り付け", [layer, frame] { Edit::EditCommand::pasteObject(layer, frame); })
        .setEnable([clipboardEmpty] { return !clipboardEmpty; });
    menu.insertItem("空のフレームを挿入", [frame] { Edit::EditCommand::insertNullFrame(frame); });
    menu.insertSeparator();
    {
      Window::BaseMenu select(menu, "オブジェクト選択");
      select.insertItem("全てのオブジェクトを選択", [this] { selectAllObjects(); });
      select.insertItem("現在のフレーム以降に開始するオブジェクトを選択",
                        [this] { selectObjectsFromCursor(); });
      select.insertItem("現在のフレーム以前に終了するオブジェクトを選択",
                        [this] { selectObjectsUntilCursor(); });
      if (!control) {
        const int position = menu.getSubMenuPosition(select);
        menu.handle()->actions().at(position)->setEnabled(false);
      }
    }
    menu.insertSeparator();
  } else {
    menu.insertItem("切り取り", [] { Edit::EditCommand::cutObject(); });
    menu.insertItem("コピー", [] { Edit::EditCommand::copyObject(); });
    menu.insertItem("貼り付け", [layer, frame] { Edit::EditCommand::pasteObject(layer, frame); })
        .setEnable([clipboardEmpty] { return !clipboardEmpty; });
    menu.insertItem("削除", [] { Edit::EditCommand::deleteObject(); });
    menu.insertSeparator();
    const bool splittable = scene.anyTargetObject(Edit::canSplitAt(splitFrame));
    menu.insertItem("分割", [splitFrame] { Edit::EditCommand::splitObject(splitFrame); })
        .setEnable([splittable] { return splittable; });
    menu.insertItem("長さを変更", [] { Edit::EditCommand::changeObjectLength(); });
    menu.insertSeparator();
    if (Edit::EditCommand::canSeparateAudioObject()) {
      const bool pointed = static_cast<bool>(object);
      menu.insertItem("音声を分離", [] { Edit::EditCommand::separateAudioObject(); })
          .setEnable([pointed] { return pointed; });
      menu.insertSeparator();
    }
    editService->appendLayerRangeMenu(menu);
    const bool canAdd = object && object->hasSplittableSection(splitFrame);
    menu.insertItem("中間点を追加",
                    [object, splitFrame] { Edit::EditCommand::createSection(object, splitFrame); })
        .setEnable([canAdd] { return canAdd; });
    const bool canDelete =
        object && midpoint >= 1 && midpoint <= static_cast<int32_t>(object->boundaries.size());
    menu.insertItem("中間点を削除",
                    [object, midpoint] { Edit::EditCommand::deleteSection(object, midpoint); })
        .setEnable([canDelete] { return canDelete; });
    menu.insertSeparator();
    editService->appendGroupMenu(menu);
    menu.insertSeparator();
  }
  owner.appendOptionMenu(menu);
  menu.show();

  // The selection the right click made stays only while Ctrl is held.
  if (mouseService && !mouseService->isKeyDown(Window::VirtualKey::kControl) &&
      mouseService->keyWatchTarget() == nullptr)
    editService->clickOutsideSelection(Window::inputTargetOf(this));
  restoreSavedPixels();
}

void EditLayerObjectControl::drawMarker(int32_t frame) {
  restoreSavedPixels();
  const int32_t first = owner.firstFrame();
  if (frame < first || frame > first + owner.visibleFrames || !Control::isPaintable(*this))
    return;
  const int32_t left = owner.frameToPixel(frame);
  const int32_t column = left + (owner.frameToPixel(static_cast<int64_t>(frame) + 1) - left) / 2;
  paintTogether(owner, [&] {
    savedPixels.pushImage(&fullRect.x, drawing.renderTarget, column, 0, 1, fullRect.height);
    pixelsSaved = true;
    Control::ControlDrawScope scope(*this);
    scope.target().drawLine(column, 1, column, fullRect.height, *scope.brushes().GuideLine.get(),
                            1, nullptr);
  });
}

}  // namespace Component
