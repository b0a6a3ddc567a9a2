// The UI tests run inside one application object on the offscreen platform. It lives on
// main's stack so that it is gone before the toolkit's own static clean-up runs.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
