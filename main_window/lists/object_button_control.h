#pragma once
// One row of the object list: an object's kind icon and name, with a tick box that switches
// the object (a filter object's filter effect) on and off and a lock that keeps its handles
// still in the preview. A press focuses and selects the object.
#include <cstdint>
#include <memory>
#include <string>

#include "ui/controls/button_control.h"
#include "ui/controls/check_button_control.h"
#include "ui/controls/list_item_control.h"
#include "ui/controls/rect_control.h"

namespace Edit {
class Object;
}

namespace Component {

class ObjectListComponent;

// The kind icons and lock pictures, by resource id.
namespace ObjectIcon {
inline constexpr int kCamera = 138, kSpeaker = 142, kLock = 144, kUnlock = 145, kClipping = 147,
                     kMovie = 150, kPicture = 151, kLink = 152, kGear = 154, kSparkle = 155,
                     kText = 156;
}  // namespace ObjectIcon

// The icon of an object's kind, chosen by its first effect (gear without one).
int objectKindIcon(const Edit::Object& object);
// "Layer" (translated) and the layer number from 1, or the layer's own name.
std::string layerDisplayName(int32_t layer, const std::string& ownName);

class ObjectButtonControl : public Control::ButtonControl, public Control::ListItemBase {
 public:
  static constexpr int32_t kControlKey = 0x11;
  static constexpr const char* kLockTip = "プレビュー編集の操作をロック";
  static constexpr const char* kFilterEnableTip = "フィルタ効果の有効・無効";
  static constexpr const char* kObjectEnableTip = "オブジェクトの表示・非表示";

  ObjectButtonControl(ObjectListComponent& window, std::shared_ptr<Edit::Object> object);

  // Binds the row to the object: icon, the two checks, the tick box's tip and whether the
  // lock shows.
  void setObject(std::shared_ptr<Edit::Object> object);
  // Selected (or, with an empty selection, focused) rows are drawn as selected.
  const Media::Brush& getBodyBrush();

  void procContextMenu(int32_t x, int32_t y) override;
  void procMouseHover() override;
  // The end of the Ctrl watch or of the press: the selection stays only while it should.
  void procKeyRelease() override;
  void procCaptureCancel() override;
  void procPaint() override;
  void procMove() override;

  const std::shared_ptr<Edit::Object>& object() const { return object_; }
  int iconId() const { return iconId_; }

  Window::WindowControlContainer inner;
  Control::LayoutControl buttons;
  Control::CheckBitmapButtonControl lockButton;
  Control::CheckButtonControl enableButton;

 private:
  // Focus and select (without Ctrl), or add to the selection (with Ctrl).
  void click();
  // Adds the object to the selection; a row that added something watches the Ctrl key when
  // nobody does yet.
  void addToSelection(const std::shared_ptr<Edit::Object>& object);
  // Paints every control of the inner container.
  void paintButtons();

  ObjectListComponent* window_;
  std::shared_ptr<Edit::Object> object_;
  int iconId_ = ObjectIcon::kGear;
};

}  // namespace Component
