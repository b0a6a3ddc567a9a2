// Clicks on objects and outside them: what they select or clear, what they tell the
// selection listeners, and when the clicked control takes the input capture.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "edit/edit_service.h"
#include "edit/group.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "edit/selection_input.h"
#include "edit_test_support.h"

namespace {

using TestSupport::EditServices;

// Two controls of the windows; the edit model only passes their handles on.
char controlStorage[2];
Edit::InputTarget* const clicked = reinterpret_cast<Edit::InputTarget*>(&controlStorage[0]);
Edit::InputTarget* const other = reinterpret_cast<Edit::InputTarget*>(&controlStorage[1]);

// The dispatcher's state as a test sets it; records the captures given.
class FakeInput : public Edit::SelectionInput {
 public:
  FakeInput() { Edit::setSelectionInput(this); }
  ~FakeInput() override { Edit::setSelectionInput(nullptr); }
  FakeInput(const FakeInput&) = delete;
  FakeInput& operator=(const FakeInput&) = delete;

  Edit::InputTarget* captureOwner() override { return owner; }
  int32_t captureMode() override { return owner ? mode : 0; }
  void giveCapture(Edit::InputTarget* target, int32_t newMode) override {
    owner = target;
    mode = newMode;
    ++captures;
  }
  bool isControlKeyDown() override { return control; }
  bool isMultiSelect() override { return multiSelect; }

  Edit::InputTarget* owner = nullptr;
  int32_t mode = 0;
  bool control = false;
  bool multiSelect = false;
  int captures = 0;
};

struct SelectionClick : ::testing::Test {
  EditServices services;
  FakeInput input;
  int selectionEvents = 0;
  std::shared_ptr<Edit::Object> lone, first, second;

  void SetUp() override {
    services.events().selectionChanged().add([this] { ++selectionEvents; });
    lone = TestSupport::place(0, 0, 9);
    first = TestSupport::place(1, 0, 9);
    second = TestSupport::place(2, 20, 29);
    auto group = std::make_shared<Edit::Group>();
    first->joinGroup(group);
    second->joinGroup(group);
  }
  Edit::EditService& edit() { return services.edit(); }
  Edit::Selection& selection() { return services.scene().selection; }
  std::vector<Edit::Object*> selected() {
    std::vector<Edit::Object*> objects;
    for (const auto& object : selection().objects) objects.push_back(object.get());
    return objects;
  }
};

TEST_F(SelectionClick, ClickOnAnObjectSelectsItOrItsGroupTellsOnceAndTakesAFreeCapture) {
  // Objects by index: 0 lone, 1 and 2 the group's members.
  struct Case {
    const char* name;
    int target;
    bool withGroup;
    bool heldByOther;  // another control holds the capture before the click
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"lone object", 0, false, false, {0}},
      {"lone object with group", 0, true, false, {0}},
      {"grouped object alone", 1, false, false, {1}},
      {"whole group", 1, true, false, {1, 2}},
      {"capture already held", 0, false, true, {0}},
      {"group, capture already held", 2, true, true, {1, 2}},
  };
  const std::shared_ptr<Edit::Object> objects[] = {lone, first, second};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit().clearSelection(false);
    selectionEvents = 0;
    input.owner = c.heldByOther ? other : nullptr;
    input.mode = c.heldByOther ? Edit::kCaptureUntilFocusLeaves : 0;
    input.captures = 0;

    edit().clickSelectObject(clicked, objects[c.target], c.withGroup);

    std::vector<Edit::Object*> expected;
    for (int index : c.expected) expected.push_back(objects[index].get());
    EXPECT_EQ(selected(), expected);
    EXPECT_EQ(selectionEvents, 1) << "one notice for the whole click";
    if (c.heldByOther) {
      EXPECT_EQ(input.captures, 0);
      EXPECT_EQ(input.owner, other);
      EXPECT_EQ(input.mode, Edit::kCaptureUntilFocusLeaves);
    } else {
      EXPECT_EQ(input.captures, 1);
      EXPECT_EQ(input.owner, clicked);
      EXPECT_EQ(input.mode, Edit::kCaptureUntilControlUp);
    }
  }
}

TEST_F(SelectionClick, ClickOnASelectedObjectDoesNothingMore) {
  for (bool withGroup : {false, true}) {
    SCOPED_TRACE(withGroup ? "with group" : "alone");
    edit().clearSelection(false);
    edit().selectObject(first, false);
    selectionEvents = 0;
    input.owner = nullptr;
    input.captures = 0;

    edit().clickSelectObject(clicked, first, withGroup);

    EXPECT_EQ(selected(), (std::vector<Edit::Object*>{first.get()}))
        << "the group is not completed by a click on a selected member";
    EXPECT_EQ(selectionEvents, 0);
    EXPECT_EQ(input.captures, 0);
  }
  edit().clickSelectObject(clicked, nullptr, false);
  EXPECT_EQ(input.captures, 0) << "no object, no capture";
}

TEST_F(SelectionClick, ClickOnAnObjectOfALockedLayerStillTellsAndTakesTheCapture) {
  services.scene().getLayerObjects(0).layer->locked = true;
  edit().clickSelectObject(clicked, lone, false);
  EXPECT_TRUE(selection().empty());
  EXPECT_EQ(selectionEvents, 1);
  EXPECT_EQ(input.owner, clicked);
}

TEST_F(SelectionClick, ClickOutsideKeepsTheSelectionWhileCtrlOrTheMultiSelectModeHoldsIt) {
  constexpr int32_t kCtrl = Edit::kCaptureUntilControlUp;
  constexpr int32_t kFocus = Edit::kCaptureUntilFocusLeaves;
  struct Case {
    const char* name;
    bool control, multiSelect;
    Edit::InputTarget* owner;  // who holds the capture before the press
    int32_t mode;
    bool kept;
    Edit::InputTarget* ownerAfter;
    int32_t modeAfter;
  };
  const Case cases[] = {
      {"nothing held", false, false, nullptr, 0, false, nullptr, 0},
      {"Ctrl, free capture", true, false, nullptr, 0, true, clicked, kCtrl},
      {"Ctrl, held until Ctrl up", true, false, other, kCtrl, true, other, kCtrl},
      {"Ctrl, held until the focus leaves", true, false, other, kFocus, false, other, kFocus},
      {"Ctrl and mode, held until the focus leaves", true, true, other, kFocus, true, other,
       kFocus},
      {"mode, free capture", false, true, nullptr, 0, true, clicked, kFocus},
      {"mode, held until Ctrl up", false, true, other, kCtrl, false, other, kCtrl},
      {"Ctrl up, held until Ctrl up", false, false, other, kCtrl, false, other, kCtrl},
      {"Ctrl first: both on, free capture", true, true, nullptr, 0, true, clicked, kCtrl},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    edit().clearSelection(false);
    edit().selectObject(lone, false);
    selectionEvents = 0;
    input.control = c.control;
    input.multiSelect = c.multiSelect;
    input.owner = c.owner;
    input.mode = c.mode;

    edit().clickOutsideSelection(clicked);

    EXPECT_EQ(selected(), c.kept ? std::vector<Edit::Object*>{lone.get()}
                                 : std::vector<Edit::Object*>{});
    EXPECT_EQ(lone->selected, c.kept);
    EXPECT_EQ(selectionEvents, c.kept ? 0 : 1);
    EXPECT_EQ(input.owner, c.ownerAfter);
    EXPECT_EQ(input.captureMode(), c.modeAfter);
  }
}

TEST_F(SelectionClick, ClickOutsideAnEmptySelectionDoesNothing) {
  input.control = true;
  edit().clickOutsideSelection(clicked);
  EXPECT_EQ(input.captures, 0);
  EXPECT_EQ(selectionEvents, 0);
}

// Ctrl-clicks add to the selection; when the dispatcher finds Ctrl up it ends the capture and
// the control asks again, which clears the selection at the next plain press.
TEST_F(SelectionClick, CtrlClicksAddUntilCtrlGoesUp) {
  input.control = true;
  edit().clickSelectObject(clicked, lone, false);
  edit().clickOutsideSelection(clicked);  // a Ctrl-press on empty space
  edit().clickSelectObject(clicked, first, true);
  EXPECT_EQ(selected(), (std::vector<Edit::Object*>{lone.get(), first.get(), second.get()}));
  EXPECT_EQ(input.captures, 1) << "the control keeps the capture it took first";

  input.control = false;
  input.owner = nullptr;  // the watch ends before the control is told
  edit().clickOutsideSelection(clicked);
  EXPECT_TRUE(selection().empty());
  EXPECT_FALSE(first->selected);
  EXPECT_EQ(selectionEvents, 3);
}

TEST(SelectionClickHeadless, WithoutWindowsClicksSelectAndPressesOutsideClear) {
  EditServices services;
  Edit::EditService& edit = services.edit();
  auto object = TestSupport::place(0, 0, 9);
  edit.clickSelectObject(clicked, object, true);
  EXPECT_TRUE(object->selected);
  edit.clickOutsideSelection(clicked);
  EXPECT_FALSE(object->selected);
  EXPECT_TRUE(services.scene().selection.empty());
}

}  // namespace
