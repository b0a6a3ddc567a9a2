// The input dispatcher driven by the toolkit's mouse, wheel and key events on the manager
// window: who gets each event, with which coordinates, and in which order.
#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <memory>

#include "tests/ui/window_input_support.h"

namespace {

using Window::Rect;
using WindowTest::Probe;
using Strings = std::vector<std::string>;

class WindowMouseTest : public WindowTest::WindowFixture {};

TEST_F(WindowMouseTest, HitTestPrefersPriorityThenTheNearestCentre) {
  struct Target {
    const char* name;
    Rect rect;
    int32_t priority;
    bool enabled = true;
    bool visible = true;
  };
  struct Case {
    const char* what;
    std::vector<Target> targets;
    int x, y;
    const char* expected;  // "" for no target
  };
  const Case cases[] = {
      {"equal priorities: nearer centre, left",
       {{"A", {0, 0, 100, 100}, 1}, {"B", {50, 0, 100, 100}, 1}}, 60, 50, "A"},
      {"equal priorities: nearer centre, right",
       {{"A", {0, 0, 100, 100}, 1}, {"B", {50, 0, 100, 100}, 1}}, 90, 50, "B"},
      {"higher priority wins over a nearer centre",
       {{"A", {0, 0, 300, 300}, 2}, {"B", {90, 90, 20, 20}, 1}}, 100, 100, "A"},
      {"a disabled top target shadows the ones below",
       {{"A", {0, 0, 300, 300}, 2, false}, {"B", {90, 90, 20, 20}, 1}}, 100, 100, ""},
      {"an invisible target is passed over",
       {{"A", {0, 0, 300, 300}, 2, true, false}, {"B", {90, 90, 20, 20}, 1}}, 100, 100, "B"},
      {"the right and bottom edges are outside",
       {{"A", {0, 0, 100, 100}, 1}, {"B", {100, 0, 50, 100}, 0}}, 100, 50, "B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    log.clear();
    std::vector<std::unique_ptr<Probe>> probes;
    for (const Target& t : c.targets) {
      probes.push_back(std::make_unique<Probe>(t.name, t.rect, t.priority, log));
      probes.back()->enabled = t.enabled;
      probes.back()->visible = t.visible;
    }
    move(c.x, c.y);
    const std::string expected = c.expected;
    if (expected.empty()) {
      EXPECT_TRUE(log.empty()) << log.front();
    } else {
      ASSERT_FALSE(log.empty());
      EXPECT_EQ(log.back().substr(0, expected.size() + 5), expected + " move");
    }
    move(-50, -50);  // leave every target before the next case
  }
}

TEST_F(WindowMouseTest, APressedTargetKeepsTheMouseUntilTheRelease) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  Probe b("B", {100, 0, 100, 100}, 1, log);
  press(10, 20);
  move(150, 30);
  release(150, 30);
  move(160, 30);
  EXPECT_EQ(log, (Strings{"A enter", "A move 10,20", "A down 10,20", "A move 150,30",
                          "A leave", "B enter", "B move 60,30"}));
}

TEST_F(WindowMouseTest, ADragStartsPastTheThresholdOrAfterTheDoubleClickTime) {
  Probe a("A", {100, 100, 200, 200}, 1, log);
  a.beginsDrag = true;
  press(110, 110);
  log.clear();
  move(113, 112);  // under the drag distance and soon after the press: not yet a drag
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(mice().isMoved());
  now += 600;  // later, the smallest move counts
  move(112, 111);
  EXPECT_EQ(log, (Strings{"A drag 2,1"}));
  EXPECT_TRUE(mice().isMoved());
  move(90, 300);  // outside the target: still its drag, from the press point
  EXPECT_EQ(log.back(), "A drag -20,190");
  log.clear();
  EXPECT_TRUE(mice().lButtonUp(90, 300)) << "a release after a moved drag is handled";
  EXPECT_EQ(log, (Strings{"A up -10,200", "A cancel"}));
  EXPECT_FALSE(a.dragging);
  EXPECT_EQ(mice().pressedTarget(), nullptr);

  // A large move right after the press is a drag at once.
  press(110, 110);
  move(130, 110);
  EXPECT_EQ(log.back(), "A drag 20,0");
}

TEST_F(WindowMouseTest, AReleaseWithoutMovingEndsTheDragUnhandled) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  a.beginsDrag = true;
  move(10, 10);
  log.clear();
  EXPECT_TRUE(mice().lButtonDown(10, 10)) << "the press started a drag";
  EXPECT_FALSE(mice().lButtonUp(10, 10));
  EXPECT_EQ(log, (Strings{"A down 10,10", "A up 10,10", "A cancel"}));
}

TEST_F(WindowMouseTest, DoubleClicksAreQuickPressesAtTheSamePixel) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  std::vector<bool> reads;
  auto click = [&](int x, int y) {
    press(x, y);
    reads.push_back(mice().isDoubleClick());
    release(x, y);
    now += 100;
  };
  click(5, 5);
  click(5, 5);
  click(5, 5);  // a third quick click is a double click too, timed from the first
  click(6, 5);  // one pixel away: a new series
  now += 1000;
  click(6, 5);  // too late
  click(6, 5);
  EXPECT_EQ(reads, (std::vector<bool>{false, true, true, false, false, true}));
}

TEST_F(WindowMouseTest, TheWheelSticksToItsTargetForTheDoubleClickTime) {
  struct Case {
    const char* what;
    int secondX;
    int64_t wait;
    const char* expected;
  };
  const Case cases[] = {
      {"another target soon after: nobody", 150, 100, ""},
      {"the same target soon after: it", 50, 100, "A wheel -120"},
      {"another target later: that one", 150, 600, "B wheel -120"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Probe a("A", {0, 0, 100, 100}, 1, log);
    Probe b("B", {100, 0, 100, 100}, 1, log);
    wheel(50, 50, 120);
    log.clear();
    now += c.wait;
    wheel(c.secondX, 50, -120);
    Strings wheels;
    for (const auto& entry : log)
      if (entry.find("wheel") != std::string::npos) wheels.push_back(entry);
    EXPECT_EQ(wheels, c.expected[0] ? Strings{c.expected} : Strings{});
    now += 1000;
  }
}

TEST_F(WindowMouseTest, AFocusedTargetTakesEveryKeyAndNoShortcutRuns) {
  Probe field("F", {0, 0, 100, 20}, 2, log);
  Probe other("O", {0, 50, 100, 20}, 2, log);
  Strings shortcuts;
  mice().setShortcutHandler([&](int32_t key) {
    shortcuts.push_back(std::to_string(key));
    return true;
  });
  field.takeFocus();
  EXPECT_TRUE(field.focused);
  key(Qt::Key_S, "s");
  EXPECT_EQ(log, (Strings{"F key 83", "F char 115"}));
  EXPECT_TRUE(shortcuts.empty());

  // A press elsewhere takes the focus away; keys then go to the shortcuts.
  log.clear();
  press(10, 55);
  release(10, 55);
  EXPECT_FALSE(field.focused);
  EXPECT_EQ(mice().focusTarget(), nullptr);
  EXPECT_EQ(std::count(log.begin(), log.end(), "F killfocus"), 1);
  key(Qt::Key_S, "s");
  EXPECT_EQ(shortcuts, Strings{"83"});
  mice().setShortcutHandler(nullptr);
}

TEST_F(WindowMouseTest, AMenuOpeningLeavesTheFocusWhereItWas) {
  Probe field("F", {0, 0, 100, 20}, 2, log);
  field.takeFocus();
  QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(window(), &popup);
  EXPECT_TRUE(field.focused) << "a menu took the toolkit's focus for a while";
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(window(), &away);
  EXPECT_FALSE(field.focused);
  EXPECT_EQ(mice().focusTarget(), nullptr);
}

TEST_F(WindowMouseTest, RepeatsOfAHeldKeyThatQueuedDuringItsHandlingAreDropped) {
  // Each shortcut takes 100 ms; the key repeats every 30 ms of window-system time.
  Strings shortcuts;
  mice().setShortcutHandler([&](int32_t key) {
    shortcuts.push_back(std::to_string(key));
    now += 100;
    return true;
  });
  const auto press = [](Qt::Key code, bool repeat, unsigned long stamp) {
    QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier, QString(), repeat);
    event.setTimestamp(stamp);
    QApplication::sendEvent(window(), &event);
  };
  press(Qt::Key_Right, false, 1000);
  for (unsigned long stamp : {1030ul, 1060ul, 1090ul}) press(Qt::Key_Right, true, stamp);
  EXPECT_EQ(shortcuts, Strings{"39"}) << "made while the first press was handled";
  press(Qt::Key_Right, true, 1120);  // made after it: handled
  press(Qt::Key_Left, true, 1130);   // another key is never a backlog of this one
  press(Qt::Key_Left, false, 1140);  // nor is a fresh press
  EXPECT_EQ(shortcuts, (Strings{"39", "39", "37", "37"}));
  mice().setShortcutHandler(nullptr);
}

TEST_F(WindowMouseTest, ARightClickThatTookTheFocusOpensNoContextMenu) {
  Probe field("F", {0, 0, 100, 20}, 2, log);
  Probe list("L", {0, 50, 100, 20}, 2, log);
  field.takeFocus();
  press(10, 55, Qt::RightButton);
  release(10, 55, Qt::RightButton);
  EXPECT_EQ(std::count(log.begin(), log.end(), "L menu 10,5"), 0);
  log.clear();
  press(10, 55, Qt::RightButton);
  release(10, 55, Qt::RightButton);
  EXPECT_EQ(log, (Strings{"L rdown 10,5", "L menu 10,5"}));
}

TEST_F(WindowMouseTest, HoverEntersAndLeavesAsThePointerCrossesTargets) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  Probe b("B", {100, 0, 100, 100}, 1, log);
  move(10, 10);
  move(10, 10);  // the same place again is dropped
  mice().mouseHover();
  move(110, 10);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(window(), &leave);
  mice().mouseHover();  // nobody is hovered any more
  EXPECT_EQ(log, (Strings{"A enter", "A move 10,10", "A hover", "A leave", "B enter",
                          "B move 10,10", "B leave"}));
  EXPECT_FALSE(a.hovered);
  EXPECT_FALSE(b.hovered);
}

TEST_F(WindowMouseTest, AHiddenCursorDragGoesOnPastTheScreenEdgeOnBothAxes) {
  QPoint pointer(500, 500);
  std::vector<QPoint> warps;
  mice().setCursorPositionAccess([&] { return pointer; },
                                 [&](QPoint p) {
                                   warps.push_back(p);
                                   pointer = p;
                                 });
  Probe a("A", {0, 0, 400, 400}, 1, log);
  a.beginsDrag = true;
  a.dragCursor = Window::MouseCursor::Hidden;
  press(100, 100);
  // Each step the pointer moves 30 pixels down and right from where it is; after the first
  // step it is put back to where the drag began.
  for (int step = 0; step < 3; ++step) {
    pointer += QPoint(30, 30);
    move(100 + (pointer.x() - 500), 100 + (pointer.y() - 500));
  }
  EXPECT_EQ(log.back(), "A drag 90,90");
  EXPECT_EQ(std::count(log.begin(), log.end(), "A drag 60,60"), 1);
  EXPECT_FALSE(warps.empty());
  EXPECT_EQ(warps.back(), QPoint(500, 500));
  release(100, 100);
}

TEST_F(WindowMouseTest, ATargetDestroyedDuringItsDragIsForgotten) {
  auto a = std::make_unique<Probe>("A", Rect{0, 0, 100, 100}, 1, log);
  a->beginsDrag = true;
  a->takeFocus();
  press(10, 10);
  a.reset();
  EXPECT_EQ(mice().pressedTarget(), nullptr);
  EXPECT_EQ(mice().focusTarget(), nullptr);
  move(50, 50);
  release(50, 50);
  EXPECT_FALSE(mice().isDragActive());
}

TEST_F(WindowMouseTest, AHandlerThatRunsANestedLoopBlocksFurtherDispatch) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  Probe b("B", {100, 0, 100, 100}, 1, log);
  a.onDown = [&] { mice().mouseMove(150, 50); };  // as a modal dialog's loop would
  press(10, 10);
  release(10, 10);
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& e) { return e[0] == 'B'; }),
            0);
  move(160, 50);
  EXPECT_EQ(log.back(), "B move 60,50") << "the next event outside the handler is delivered";
}

TEST_F(WindowMouseTest, WhileAnExportRunsNoInputReachesTheTargets) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  int hookRuns = 0;
  service().setMenuHook([&] { ++hookRuns; });
  move(10, 10);
  press(10, 10);
  release(10, 10);
  wheel(10, 10, 120);
  key(Qt::Key_A, "a");
  key(Qt::Key_Escape);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(hookRuns, 1) << "only Esc reaches the export's hook";
  service().setMenuHook({});
  move(20, 20);
  EXPECT_EQ(log.back(), "A move 20,20");
}

TEST_F(WindowMouseTest, InputMethodTextGoesToTheFocusedTargetThatAllowsIt) {
  Probe field("F", {0, 0, 100, 20}, 2, log);
  field.takeFocus();
  auto compose = [&](const QString& preedit, const QString& commit) {
    QInputMethodEvent event(preedit, {});
    if (!commit.isEmpty()) event.setCommitString(commit);
    QApplication::sendEvent(window(), &event);
  };
  compose(QStringLiteral("か"), {});
  compose({}, QStringLiteral("漢字"));
  EXPECT_EQ(log, (Strings{"F char 28450", "F char 23383"}));
  EXPECT_TRUE(mice().inputMethodOn());

  // A target that does not take composed text turns the input method off.
  log.clear();
  field.imeAllowed = false;
  compose(QStringLiteral("か"), {});
  compose({}, QStringLiteral("漢字"));
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(mice().inputMethodOn());
  field.takeFocus();  // taking the focus again turns it back on
  EXPECT_TRUE(mice().inputMethodOn());
}

TEST_F(WindowMouseTest, DraggedFilesGoToTheTargetUnderThePointer) {
  Probe a("A", {0, 0, 100, 100}, 1, log);
  Probe b("B", {100, 0, 100, 100}, 1, log);
  a.acceptsDrop = b.acceptsDrop = true;
  b.takesFiles = false;
  Window::DropData files{{"/tmp/clip.mp4", "/tmp/voice.wav"}};
  mice().dragOver(10, 10, files);
  EXPECT_TRUE(files.accepted);
  Window::DropData refused{{"/tmp/clip.mp4"}};
  mice().dragOver(150, 10, refused);
  EXPECT_FALSE(refused.accepted);
  Window::DropData dropped{{"/tmp/clip.mp4", "/tmp/voice.wav"}};
  mice().drop(20, 30, dropped);
  EXPECT_TRUE(dropped.accepted);
  Window::DropData empty;
  mice().dragOver(10, 10, empty);  // no files: ignored
  mice().dragLeave();  // the drop already ended the drag: nobody hears a second leave
  EXPECT_EQ(log, (Strings{"A over 10,10", "A dragleave", "B over 50,10", "B dragleave",
                          "A drop 2", "A dragleave"}));
}

TEST_F(WindowMouseTest, AColourPickEndsWithTheNextPressOrIsCancelled) {
  Probe picker("P", {0, 0, 50, 20}, 2, log);
  Probe other("O", {0, 100, 100, 100}, 1, log);
  mice().setScreenPixelReader([](QPoint) { return Window::PickedColor{0x12, 0x34, 0x56}; });
  struct Case {
    const char* what;
    std::function<void()> end;
    const char* expected;
  };
  const Case cases[] = {
      {"a press outside the picker takes the pixel", [] { press(30, 150); }, "P pick 1193046"},
      {"a press on the picker cancels", [] { press(10, 10); }, "P pick none"},
      {"a key cancels", [] { key(Qt::Key_A, "a"); }, "P pick none"},
      {"a right press cancels", [] { press(30, 150, Qt::RightButton); }, "P pick none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    now += 1000;
    picker.startPickColor();
    EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::PickColor);
    log.clear();
    c.end();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), c.expected);
    EXPECT_EQ(mice().pickTarget(), nullptr);
    EXPECT_EQ(std::count(log.begin(), log.end(), "O down 30,50"), 0)
        << "the pick's press is not delivered";
    release(30, 150);
    release(30, 150, Qt::RightButton);
  }
}

}  // namespace
