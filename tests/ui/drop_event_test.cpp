// Files dragged from the desktop: the toolkit's drag events reach the target under the
// pointer, and a taken drop is always a copy, never a move (a move would let the file
// manager delete the user's files).
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <memory>
#include <vector>

#include "tests/ui/window_input_support.h"

namespace {

class DropEventTest : public WindowTest::WindowFixture {
 protected:
  static QMimeData* files(const std::vector<const char*>& paths) {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const char* path : paths) urls.push_back(QUrl::fromLocalFile(path));
    mime->setUrls(urls);
    return mime;
  }
  // The toolkit's event of `type` over (10, 20), handed to the dispatcher as the client area
  // does (the toolkit itself routes drag events only within a real drag).
  static std::unique_ptr<QDropEvent> send(QEvent::Type type, Qt::DropActions actions,
                                          const QMimeData* mime,
                                          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint at(10, 20);
    std::unique_ptr<QDropEvent> event;
    if (type == QEvent::DragEnter)
      event = std::make_unique<QDragEnterEvent>(at, actions, mime, Qt::LeftButton,
                                                modifiers);
    else if (type == QEvent::DragMove)
      event = std::make_unique<QDragMoveEvent>(at, actions, mime, Qt::LeftButton,
                                               modifiers);
    else
      event = std::make_unique<QDropEvent>(QPointF(at), actions, mime, Qt::LeftButton,
                                           modifiers);
    EXPECT_TRUE(mice().procEvent(event.get()));
    return event;
  }
};

TEST_F(DropEventTest, AProposedMoveIsTakenAsACopy) {
  WindowTest::Probe a("A", {0, 0, 100, 100}, 0, log);
  a.acceptsDrop = true;
  const std::unique_ptr<QMimeData> mime(files({"/tmp/clip.mp4", "/tmp/voice.wav"}));

  for (QEvent::Type type : {QEvent::DragEnter, QEvent::DragMove, QEvent::Drop}) {
    // Shift asks the source for a move.
    const auto event = send(type, Qt::MoveAction | Qt::CopyAction, mime.get(), Qt::ShiftModifier);
    EXPECT_EQ(event->proposedAction(), Qt::MoveAction) << type;
    EXPECT_TRUE(event->isAccepted()) << type;
    EXPECT_EQ(event->dropAction(), Qt::CopyAction) << type;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"A over 10,20", "A over 10,20", "A drop 2",
                                           "A dragleave"}));
}

TEST_F(DropEventTest, RefusedDropsMoveOnlySourcesAndTextAreIgnored) {
  WindowTest::Probe a("A", {0, 0, 100, 100}, 0, log);
  a.acceptsDrop = true;
  a.takesFiles = false;
  const std::unique_ptr<QMimeData> clip(files({"/tmp/clip.mp4"}));
  EXPECT_FALSE(send(QEvent::Drop, Qt::CopyAction, clip.get())->isAccepted());
  EXPECT_EQ(log, (std::vector<std::string>{"A drop 1", "A dragleave"}));

  // A source that can only move the files: taking them would delete the originals.
  log.clear();
  a.takesFiles = true;
  for (QEvent::Type type : {QEvent::DragEnter, QEvent::DragMove, QEvent::Drop})
    EXPECT_FALSE(send(type, Qt::MoveAction, clip.get())->isAccepted()) << type;
  EXPECT_TRUE(log.empty()) << "a move-only drag reaches no target";

  log.clear();
  QMimeData text;
  text.setText("just words");
  for (QEvent::Type type : {QEvent::DragEnter, QEvent::Drop}) {
    EXPECT_FALSE(send(type, Qt::CopyAction, &text)->isAccepted()) << type;
  }
  EXPECT_TRUE(log.empty()) << "text reaches no target";
}

}  // namespace
