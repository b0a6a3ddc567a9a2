// The dialogs built from a template, run modally with a driver in place of the user: their
// layout, where they open, how they confirm and cancel, and how each field kind refuses
// what it cannot take.
#include "ui/dialogs/dialog_template.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QApplication>

#include "system/exception.h"
#include "system/ui_bridge.h"
#include "ui/tool_tips.h"

namespace {

using Dialog::DialogTemplate;

QPushButton* findButton(QDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

void pressKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
}

QLineEdit* edit(const Dialog::DialogItem* item) { return qobject_cast<QLineEdit*>(item->hwnd.data()); }

class CountingBridge : public System::UiBridge {
 public:
  System::DesktopMetrics desktopMetrics() override { return {}; }
  void showErrorBox(const std::string&, const std::string&) override {}
  void stopPlayer() override { ++stops; }
  int stops = 0;
};

class DialogTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    System::setUiBridge(&bridge_);
    Window::ToolTips::hide();
  }
  void TearDown() override {
    System::setUiBridge(nullptr);
    Window::ToolTips::hide();
  }
  CountingBridge bridge_;
};

TEST_F(DialogTemplateTest, OffscreenWithoutADriverTheDialogIsCancelledAfterStoppingPlayback) {
  DialogTemplate dialog("Name");
  auto* name = dialog.addNameInput("kept", true);
  EXPECT_FALSE(dialog.create(0));
  EXPECT_EQ(name->text, "kept");
  EXPECT_EQ(bridge_.stops, 1);
}

// Which form the dialog takes: its own "OK" button (Enter does nothing, centred) or none
// (Enter confirms, at the pointer).
TEST_F(DialogTemplateTest, TheFieldsAndTheButtonModeChooseTheOkButtonForm) {
  struct Case {
    const char* name;
    int fields;
    int buttonMode;
    int presetHeight;
    bool okButton;
  };
  const Case cases[] = {
      {"one field", 1, 0, 0, false},
      {"two fields", 2, 0, 0, true},
      {"one field, mode 1", 1, 1, 0, true},
      {"three fields, mode 2", 3, 2, 0, false},
      {"one field of its own height", 1, 0, 40, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogTemplate dialog("Form");
    std::vector<Dialog::DialogItemInteger*> fields;
    for (int i = 0; i < c.fields; ++i) fields.push_back(dialog.addInteger("n", 1, 0, 9));
    fields.front()->height = c.presetHeight;
    dialog.buttonMode = c.buttonMode;
    bool stayedOpenAfterEnter = false;
    bool hadOk = false;
    const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
      hadOk = findButton(window, "OK") != nullptr;
      edit(fields.front())->setText("5");
      pressKey(fields.front()->hwnd, Qt::Key_Return);
      stayedOpenAfterEnter = window.isVisible();
      if (QPushButton* ok = findButton(window, "OK")) ok->click();
    });
    EXPECT_TRUE(dialog.create(0));
    EXPECT_EQ(dialog.okButton, c.okButton);
    EXPECT_EQ(hadOk, c.okButton);
    EXPECT_EQ(stayedOpenAfterEnter, c.okButton);
    EXPECT_EQ(fields.front()->value, 5);
  }
}

TEST_F(DialogTemplateTest, WithOkTheDialogIsCentredOnTheParentWithoutItOpensAtThePointer) {
  QWidget parent;
  parent.setGeometry(100, 100, 600, 400);
  parent.show();

  DialogTemplate centred("Centred");
  centred.addInteger("a", 1, 0, 9);
  centred.addInteger("b", 1, 0, 9);
  QRect centredAt;
  {
    const Dialog::ScopedDialogDriver driver(
        [&](DialogTemplate&, QDialog& window) { centredAt = window.frameGeometry(); });
    centred.create(0, &parent);
  }
  EXPECT_NEAR(centredAt.center().x(), parent.frameGeometry().center().x(), 1);
  EXPECT_NEAR(centredAt.center().y(), parent.frameGeometry().center().y(), 1);

  QPoint cursorAt;
  QPoint clampedAt;
  DialogTemplate atPointer("Pointer");
  atPointer.addInteger("a", 1, 0, 9);
  const Dialog::ScopedDialogDriver driver(
      [&](DialogTemplate&, QDialog& window) { cursorAt = window.pos(); });
  QCursor::setPos(150, 160);
  if (QCursor::pos() != QPoint(150, 160)) GTEST_SKIP() << "the platform keeps no pointer";
  atPointer.create(0, &parent);
  EXPECT_EQ(cursorAt, QPoint(150, 160));

  // Near the parent's bottom right the dialog is pulled back inside it.
  const Dialog::ScopedDialogDriver clamped(
      [&](DialogTemplate&, QDialog& window) { clampedAt = window.frameGeometry().bottomRight(); });
  QCursor::setPos(690, 490);
  ASSERT_EQ(QCursor::pos(), QPoint(690, 490));
  DialogTemplate nearTheEdge("Pointer");
  nearTheEdge.addInteger("a", 1, 0, 9);
  nearTheEdge.create(0, &parent);
  EXPECT_EQ(clampedAt, parent.frameGeometry().bottomRight());
}

TEST_F(DialogTemplateTest, TheClientSizeFollowsTheLabelsTheMinimumAndTheRows) {
  const Dialog::ScopedDialogDriver driver([](DialogTemplate&, QDialog&) {});
  DialogTemplate plain("Plain");
  plain.addStatic("text only");
  plain.create(100);
  EXPECT_EQ(plain.width, 324);
  const int row = plain.items.front()->height;
  ASSERT_GT(row, 0);
  EXPECT_EQ(plain.height, 18 + row + 6);
  EXPECT_FALSE(plain.okButton);

  DialogTemplate wide("Wide");
  wide.addStatic("text only");
  wide.create(500);
  EXPECT_EQ(wide.width, 500);

  DialogTemplate labelled("Labelled");
  labelled.addInteger("A rather long label", 0, 0, 9);
  labelled.addInteger("x", 0, 0, 9);
  labelled.create(0);
  const int labelWidth =
      QFontMetrics(QApplication::font()).horizontalAdvance("A rather long label");
  EXPECT_NEAR(labelled.width, labelWidth + 8 + 324, 2);
  // Two rows and the button row.
  EXPECT_EQ(labelled.height, 18 + 2 * (row + 6) + 12 + row);
}

TEST_F(DialogTemplateTest, ALongCaptionIsCutTo63Units) {
  const std::string title(70, 'c');
  EXPECT_EQ(Dialog::dialogCaption(title).size(), 63);
  EXPECT_EQ(Dialog::dialogCaption("short"), "short");
  QString shown;
  DialogTemplate dialog(title);
  dialog.addStatic("x");
  const Dialog::ScopedDialogDriver driver(
      [&](DialogTemplate&, QDialog& window) { shown = window.windowTitle(); });
  dialog.create(0);
  EXPECT_EQ(shown, QString(63, 'c'));
}

TEST_F(DialogTemplateTest, AnEmptyRequiredNameKeepsTheDialogOpenAnOptionalOneGivesEmptyText) {
  DialogTemplate dialog("Names");
  auto* required = dialog.addNameInput("old", true);
  auto* optional = dialog.addItem(std::make_unique<Dialog::DialogItemText>("opt", "x", false));
  bool openAfterFirstTry = false;
  QString tip;
  QPoint tipAt;
  QPoint expectedTipAt;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    edit(required)->clear();
    edit(optional)->clear();
    findButton(window, "OK")->click();
    openAfterFirstTry = window.isVisible();
    tip = Window::ToolTips::text();
    tipAt = Window::ToolTips::position();
    expectedTipAt = required->hwnd->mapToGlobal(QPoint(0, required->hwnd->height() + 1));
    EXPECT_EQ(Window::ToolTips::timeout(), 3000);
    edit(required)->setText("new");
    findButton(window, "OK")->click();
  });
  EXPECT_TRUE(dialog.create(0));
  EXPECT_TRUE(openAfterFirstTry);
  EXPECT_EQ(tip, "必須項目です");
  EXPECT_EQ(tipAt, expectedTipAt);
  EXPECT_EQ(required->text, "new");
  EXPECT_EQ(optional->text, "");
}

TEST_F(DialogTemplateTest, AnIntegerFieldTakesLeadingDigitsAndRefusesWhatIsNoNumberInRange) {
  struct Case {
    const char* text;
    bool accepted;
    int value;
  };
  const Case cases[] = {
      {"12abc", true, 12},         {"  360", true, 360},          {"0", true, 0},
      {"abc", false, 7},           {"", false, 7},                {"99999999999", false, 7},
      {"361", false, 361},         {"-1", false, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Window::ToolTips::hide();
    DialogTemplate dialog("Angle");
    auto* angle = dialog.addInteger("angle", 7, 0, 360);
    bool firstTry = false;
    const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
      edit(angle)->setText(c.text);
      pressKey(angle->hwnd, Qt::Key_Enter);
      firstTry = !window.isVisible();
    });
    EXPECT_EQ(dialog.create(0), c.accepted);
    EXPECT_EQ(firstTry, c.accepted);
    EXPECT_EQ(angle->value, c.value);
    EXPECT_EQ(Window::ToolTips::isShown(), !c.accepted);
    if (!c.accepted) {
      EXPECT_EQ(Window::ToolTips::text(), "値が不正です (0 - 360)");
    }
  }
}

TEST_F(DialogTemplateTest, ANumberFieldShowsItsValueShortAndChecksItsRange) {
  struct Case {
    const char* text;
    bool accepted;
    double value;
  };
  const Case cases[] = {{" 0.25 ", true, 0.25}, {"1", true, 1.0}, {"1.5", false, 1.5},
                        {"x", false, 0.5},      {"nan", false, 0.5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    DialogTemplate dialog("Number");
    auto* number = dialog.addNumber("n", 0.5f, 0.0, 1.0);
    QString shownFirst;
    const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
      shownFirst = edit(number)->text();
      edit(number)->setText(c.text);
      pressKey(number->hwnd, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.create(0), c.accepted);
    EXPECT_EQ(shownFirst, "0.5");
    if (!std::isnan(number->value)) {
      EXPECT_DOUBLE_EQ(number->value, c.value);
    }
    if (!c.accepted) {
      EXPECT_EQ(Window::ToolTips::text(), "値が不正です (0 - 1)");
    }
  }
}

TEST_F(DialogTemplateTest, ANameWithAForbiddenCharacterIsRefused) {
  struct Case {
    const char* text;
    bool accepted;
  };
  const Case cases[] = {{"scene 2", true}, {"scene.2", false}, {"a/b", false},
                        {"a=b", false},    {"日本語", true},   {"it's", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Window::ToolTips::hide();
    DialogTemplate dialog("Rename");
    auto* name = dialog.addNameText("名前", "old");
    const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog&) {
      edit(name)->setText(QString::fromUtf8(c.text));
      pressKey(name->hwnd, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.create(0), c.accepted);
    EXPECT_EQ(name->text == c.text, true) << "the text is taken before the name is checked";
    if (!c.accepted) {
      EXPECT_EQ(Window::ToolTips::text(),
                QString::fromUtf8("使用できない文字が含まれています   \\ / :*? \"'<>|%=,."));
    }
  }
}

TEST_F(DialogTemplateTest, AListBoxKeepsItsSelectionWhenNothingIsChosen) {
  DialogTemplate dialog("List");
  auto* list = dialog.addListBox("kind", 1);
  list->addItem("a");
  list->addItem("b");
  list->addItem("c");
  list->selectItem("c");
  EXPECT_EQ(list->selected, 2);
  list->selectItem("C");
  EXPECT_EQ(list->selected, 2);
  int shownIndex = -2;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    auto* combo = qobject_cast<QComboBox*>(list->hwnd.data());
    shownIndex = combo->currentIndex();
    combo->setCurrentIndex(-1);
    pressKey(&window, Qt::Key_Return);
  });
  EXPECT_TRUE(dialog.create(0));
  EXPECT_EQ(shownIndex, 2);
  EXPECT_EQ(list->selected, 2);
}

TEST_F(DialogTemplateTest, AComboBoxShowsItsTextOverItsChoicesAndRefillsThemOnUpdate) {
  DialogTemplate dialog("Combo");
  auto* combo = dialog.addItem(std::make_unique<Dialog::DialogItemNameComboBox>("名前", "mine"));
  combo->choices = {"first", "second"};
  QString shownText;
  QStringList refilled;
  bool refusedName = false;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    auto* box = qobject_cast<QComboBox*>(combo->hwnd.data());
    shownText = box->currentText();
    combo->choiceProvider = [](std::vector<std::string>& choices) { choices = {"x", "y", "z"}; };
    combo->text = "y";
    combo->update();
    for (int i = 0; i < box->count(); ++i) refilled << box->itemText(i);
    EXPECT_EQ(box->currentText(), "y");
    box->setEditText("a:b");
    pressKey(box, Qt::Key_Return);
    refusedName = window.isVisible();
    box->setEditText("");
    pressKey(box, Qt::Key_Return);
  });
  EXPECT_TRUE(dialog.create(0));
  EXPECT_EQ(shownText, "mine");
  EXPECT_EQ(refilled, (QStringList{"x", "y", "z"}));
  EXPECT_TRUE(refusedName);
  EXPECT_EQ(combo->text, "") << "a name combo box is optional";
}

class RecordingTemplate : public DialogTemplate {
 public:
  using DialogTemplate::DialogTemplate;
  bool procMessage(QDialog&, const Dialog::DialogMessage& message) override {
    messages.push_back(message);
    return false;
  }
  std::vector<Dialog::DialogMessage> messages;
};

TEST_F(DialogTemplateTest, ExtraButtonsRunTheirActionAndOtherMessagesReachTheDialog) {
  RecordingTemplate dialog("Buttons");
  auto* count = dialog.addInteger("n", 1, 0, 9);
  int pressed = 0;
  dialog.addButton("Apply", [&] { ++pressed; });
  EXPECT_EQ(dialog.buttons.front().id, 10000);
  Dialog::NotifyHeader stray;
  bool notifyResult = true;
  QWidget* countControl = nullptr;
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog& window) {
    countControl = count->hwnd;
    // No "OK" with one field, but the button row is there.
    EXPECT_EQ(findButton(window, "OK"), nullptr);
    findButton(window, "Apply")->click();
    edit(count)->setText("3");
    QWidget other(&window);
    stray.from = &other;
    stray.code = -12;
    notifyResult = Dialog::sendNotify(stray);
    pressKey(&window, Qt::Key_Escape);
  });
  EXPECT_FALSE(dialog.create(0));
  EXPECT_EQ(pressed, 1);
  EXPECT_EQ(count->value, 1) << "a cancelled dialog takes nothing";
  EXPECT_FALSE(notifyResult);
  bool sawChange = false;
  bool sawNotify = false;
  bool sawCancel = false;
  for (const Dialog::DialogMessage& m : dialog.messages) {
    EXPECT_NE(m.id, 10000) << "the button's command is the framework's";
    sawChange |= m.message == Dialog::kCommandMessage && m.code == Dialog::kEditChange &&
                 m.control == countControl;
    sawNotify |= m.message == Dialog::kNotifyMessage && m.notify == &stray;
    sawCancel |= m.message == Dialog::kCommandMessage && m.id == Dialog::kIdCancel;
  }
  EXPECT_TRUE(sawChange);
  EXPECT_TRUE(sawNotify);
  EXPECT_TRUE(sawCancel);
}

TEST_F(DialogTemplateTest, AMessageHookSeesTheControlsEventsFirst) {
  DialogTemplate dialog("Hook");
  auto* text = dialog.addNameInput("abc", false);
  int keysSeen = 0;
  text->messageHook = [&](QWidget*, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    ++keysSeen;
    return static_cast<QKeyEvent*>(event)->key() == Qt::Key_X;  // swallows X
  };
  const Dialog::ScopedDialogDriver driver([&](DialogTemplate&, QDialog&) {
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(text->hwnd, &x);
    QKeyEvent y(QEvent::KeyPress, Qt::Key_Y, Qt::NoModifier, "y");
    QApplication::sendEvent(text->hwnd, &y);
    pressKey(text->hwnd, Qt::Key_Return);
  });
  EXPECT_TRUE(dialog.create(0));
  EXPECT_EQ(keysSeen, 3);
  EXPECT_EQ(text->text, "abcy");
}

TEST(DialogItem, TheBaseFieldHasNoControlOfItsOwn) {
  struct Bare : Dialog::DialogItem {};
  Bare item;
  for (const auto& call : std::vector<std::function<void()>>{
           [&] { item.create(nullptr, 0, 0, 0, 0); }, [&] { (void)item.submit(); },
           [&] { item.update(); }}) {
    try {
      call();
      ADD_FAILURE() << "no exception";
    } catch (const System::Exception& e) {
      EXPECT_NE(std::string(e.what()).find("not implement."), std::string::npos);
    }
  }
  Dialog::NotifyHeader header;
  EXPECT_FALSE(item.procNotify(header));
  EXPECT_THROW(Dialog::DialogItem::createControl(nullptr, "NoSuchClass", 0, "", 0, 0, 0, 1, 1),
               System::Exception);
}

}  // namespace
