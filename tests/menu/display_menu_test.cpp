// The Display menu: its fixed items and keys, and the display aids that switch and show
// their state.
#include <gtest/gtest.h>

#include "edit/render_switches.h"
#include "menu/menu_fixture.h"

namespace {

constexpr int kDisplay = Window::WindowMenuManager::Display;

class DisplayMenuTest : public ::testing::Test, public TestSupport::MenuBarFixture {
 protected:
  void SetUp() override { start(); }
};

TEST_F(DisplayMenuTest, PlaybackAndZoomItemsCarryTheirKeys) {
  expectShortcuts({
      {"表示:プレビュー再生・一時停止", 0x20}, {"表示:プレビュー再生・停止", 0},
      {"表示:ズームイン", 0x6B},               {"表示:ズームアウト", 0x6D},
      {"表示:クリッピングオブジェクトの視覚化", 0},
  });
}

TEST_F(DisplayMenuTest, DisplayAidsSwitchAndShowTheirState) {
  struct Case {
    const char* item;
    bool (*state)();
  };
  const Case cases[] = {
      {"編集視点(カメラ制御)表示", [] { return Edit::renderSwitches().isCameraFreeView(); }},
      {"クリッピングオブジェクトの視覚化",
       [] { return Edit::renderSwitches().isVisibleClippingObject(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    const bool before = c.state();
    EXPECT_EQ(checked(kDisplay, c.item), before);
    choose(kDisplay, c.item);
    EXPECT_EQ(c.state(), !before);
    EXPECT_EQ(checked(kDisplay, c.item), !before);
    choose(kDisplay, c.item);
    EXPECT_EQ(c.state(), before);
  }
}

}  // namespace
