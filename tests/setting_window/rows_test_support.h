#pragma once
// What the item row tests share: the manager window with a plain container to host rows in,
// the style metrics of the rows, the edit services over the test effects, and a stand-in for
// the object setting window and for an effect block.
#include <memory>
#include <string>
#include <vector>

#include "edit/object.h"
#include "edit/scene.h"
#include "setting_window/rows/effect_item_base_control.h"
#include "tests/edit/edit_test_support.h"
#include "tests/ui/control_test_support.h"

namespace RowsTest {

// The setting window as the rows see it: the object and section the test sets.
class FakeSettingWindow : public Component::SettingWindowAccess {
 public:
  std::shared_ptr<Edit::Object> currentObject() const override { return object; }
  int32_t displaySection() const override { return section; }
  const Component::SettingRowOptions& options() const override { return rowOptions; }

  std::shared_ptr<Edit::Object> object;
  int32_t section = 0;
  Component::SettingRowOptions rowOptions;
};

class RowFixture : public ControlTest::ControlFixture {
 protected:
  RowFixture() { block.window = &settingWindow; }

  // An object on `layer` with a chain of the given effects, made from the registry.
  template <class... Effects>
  std::shared_ptr<Edit::Object> objectWith(int layer) {
    auto object = TestSupport::place(layer, 0, 99);
    (object->effects.push_back(std::make_shared<Effects>()), ...);
    return object;
  }
  void select(const std::shared_ptr<Edit::Object>& object) {
    services.scene().selection.add(object, services.scene());
  }
  // Shows the object's effect at `index` in the block.
  void showEffect(const std::shared_ptr<Edit::Object>& object, size_t index) {
    settingWindow.object = object;
    block.effect = object->effects.at(index);
  }
  size_t undoSteps() {
    Undo::UndoHistory* history = services.undo().history();
    return history ? history->steps.size() : 0;
  }
  // Lays the hosted rows out in the test area.
  void layOut() { container.updateLayout(); }

  ControlTest::ScopedSettings settings{"SettingItemHeaderWidth=100\r\nSettingItemMarginWidth=4\r\n"};
  TestSupport::EditServices services;
  FakeSettingWindow settingWindow;
  Component::ItemRowBlock block;
};

}  // namespace RowsTest
