// The docking of tool windows: placement fractions to pixels, the five areas, docking a
// window that is shown, and dragging the separators between windows.
#include <QApplication>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "system/ini_file.h"
#include "system/setting_service.h"
#include "tests/ui/window_input_support.h"
#include "ui/docking_layout.h"
#include "ui/window_client.h"
#include "ui/window_footer.h"

namespace {

using Window::Rect;
using Window::WindowClient;
using Placement = WindowClient::Placement;

class TestClient : public Window::WindowClientRenderTarget {
 public:
  TestClient(const std::string& name, const Placement& placement)
      : WindowClientRenderTarget(name, "Window.test." + name, placement) {}
  void procPaint() override { ++paints; }
  void procMove() override { ++moves; }
  void place(float left, float top, float right, float bottom) {
    layout.edges[0] = left;
    layout.edges[1] = top;
    layout.edges[2] = right;
    layout.edges[3] = bottom;
  }
  int paints = 0;
  int moves = 0;
};

// Fractions compared to four places.
::testing::AssertionResult edgesAre(const WindowClient& c, float l, float t, float r, float b) {
  const float expected[4] = {l, t, r, b};
  for (int i = 0; i < 4; ++i) {
    if (std::fabs(c.layout.edges[i] - expected[i]) > 0.0005f)
      return ::testing::AssertionFailure()
             << "edge " << i << " is " << c.layout.edges[i] << ", expected " << expected[i];
  }
  return ::testing::AssertionSuccess();
}

class DockingLayoutTest : public WindowTest::DockingFixture {
 protected:
  std::unique_ptr<TestClient> client(const std::string& name, float l, float t, float r, float b,
                                     int area, bool visible = true) {
    return std::make_unique<TestClient>(name, Placement{l, t, r, b, area, visible});
  }
};

TEST_F(DockingLayoutTest, FractionsBecomePixelRectanglesWithASeparatorBetweenNeighbours) {
  ASSERT_EQ(service().dockingWidth(), 1000);
  ASSERT_EQ(service().dockingHeight(), 1000);
  auto a = client("a", 0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre);
  auto b = client("b", 0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();
  EXPECT_EQ(a->rect, (Rect{1, 0, 495, 995}));
  EXPECT_EQ(b->rect, (Rect{501, 0, 495, 995}));
  EXPECT_GT(a->paints, 0);

  // No negative width for a window whose right edge is its left edge; hidden ones are parked.
  a->place(0.3f, 0.0f, 0.3f, 1.0f);
  a->updateRect(false);
  EXPECT_EQ(a->rect.width, 0);
  b->setVisible(false);
  EXPECT_EQ(b->rect, (Rect{WindowClient::kParked, WindowClient::kParked, 0, 0}));
}

TEST_F(DockingLayoutTest, NormalisingClampsFractionsAndFillsEachArea) {
  auto left = client("left", -0.5f, -0.2f, 0.25f, 1.5f, WindowClient::kLeft);
  auto centre = client("centre", 0.25f, -0.3f, 1.4f, 1.0f, WindowClient::kCentre);
  auto right = client("right", 1.5f, 1.2f, 2.0f, 1.5f, WindowClient::kRight);
  docking().normalizeLayout();
  // Fractions are clamped into the area (left and top to 0.999 at most, right and bottom not
  // before them); each column then takes its share against the areas after it, the full
  // height: the right window, clamped to the last thousandth, keeps that share.
  const float rightWidth = 0.75f * 0.001f / 0.751f;
  EXPECT_TRUE(edgesAre(*left, 0.0f, 0.0f, 0.25f, 1.0f));
  EXPECT_TRUE(edgesAre(*right, 1.0f - rightWidth, 0.0f, 1.0f, 1.0f));
  EXPECT_TRUE(edgesAre(*centre, 0.25f, 0.0f, 1.0f - rightWidth, 1.0f));
}

TEST_F(DockingLayoutTest, WindowsOfOneAreaStackInTheOrderOfTheirCentresKeepingTheirSizes) {
  auto lower = client("lower", 0.0f, 0.5f, 0.2f, 0.6f, WindowClient::kLeft);
  auto upper = client("upper", 0.0f, 0.0f, 0.2f, 0.3f, WindowClient::kLeft);
  auto centre = client("centre", 0.2f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  docking().normalizeLayout();
  EXPECT_TRUE(edgesAre(*upper, 0.0f, 0.0f, 0.2f, 0.75f));
  EXPECT_TRUE(edgesAre(*lower, 0.0f, 0.75f, 0.2f, 1.0f));
  EXPECT_TRUE(edgesAre(*centre, 0.2f, 0.0f, 1.0f, 1.0f));
}

TEST_F(DockingLayoutTest, HidingTheOnlyLeftWindowGivesItsColumnToTheOthers) {
  auto left = client("left", 0.0f, 0.0f, 0.25f, 1.0f, WindowClient::kLeft);
  auto centre = client("centre", 0.25f, 0.0f, 0.75f, 1.0f, WindowClient::kCentre);
  auto right = client("right", 0.75f, 0.0f, 1.0f, 1.0f, WindowClient::kRight);
  docking().toggleVisible(*left);
  EXPECT_TRUE(left->isHidden());
  // The right column keeps its share against the centre: 0.25 / 0.75 of the width.
  EXPECT_TRUE(edgesAre(*right, 2.0f / 3.0f, 0.0f, 1.0f, 1.0f));
  EXPECT_TRUE(edgesAre(*centre, 0.0f, 0.0f, 2.0f / 3.0f, 1.0f));
  EXPECT_EQ(centre->rect.x, 1);
}

TEST_F(DockingLayoutTest, ShowingAWindowMakesRoomForItInItsArea) {
  // An empty right area: every visible window is squeezed left by the window's width.
  auto centre = client("centre", 0.0f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  auto right = client("right", 0.7f, 0.0f, 0.9f, 1.0f, WindowClient::kRight, false);
  docking().toggleVisible(*right);
  EXPECT_FALSE(right->isHidden());
  EXPECT_TRUE(edgesAre(*centre, 0.0f, 0.0f, 0.8f, 1.0f));
  EXPECT_TRUE(edgesAre(*right, 0.8f, 0.0f, 1.0f, 1.0f));

  // An area with windows: they shrink away from the new window's centre.
  auto upper = client("upper", 0.0f, 0.0f, 0.2f, 0.5f, WindowClient::kLeft);
  auto lower = client("lower", 0.0f, 0.5f, 0.2f, 1.0f, WindowClient::kLeft);
  auto added = client("added", 0.0f, 0.5f, 0.1f, 0.75f, WindowClient::kLeft, false);
  docking().normalizeLayout();
  docking().toggleVisible(*added);
  const float column = upper->layout.edges[2];
  EXPECT_TRUE(edgesAre(*upper, 0.0f, 0.0f, column, 0.375f));
  EXPECT_TRUE(edgesAre(*added, 0.0f, 0.375f, column, 0.625f));
  EXPECT_TRUE(edgesAre(*lower, 0.0f, 0.625f, column, 1.0f));
}

TEST_F(DockingLayoutTest, DraggingASeparatorMovesTheSharedEdge) {
  auto a = client("a", 0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre);
  auto b = client("b", 0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();
  move(497, 300);
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::SizeWE);
  press(497, 300);
  EXPECT_TRUE(docking().dragging);
  move(597, 300);
  EXPECT_TRUE(edgesAre(*a, 0.0f, 0.0f, 0.6f, 1.0f));
  EXPECT_TRUE(edgesAre(*b, 0.6f, 0.0f, 1.0f, 1.0f));
  EXPECT_EQ(a->rect.width, 595);
  move(497, 300);  // back to the start: the edge returns too
  EXPECT_TRUE(edgesAre(*a, 0.0f, 0.0f, 0.5f, 1.0f));
  move(597, 300);
  release(597, 300);
  EXPECT_FALSE(docking().dragging);
  EXPECT_TRUE(docking().separatorList().empty());
  EXPECT_TRUE(edgesAre(*b, 0.6f, 0.0f, 1.0f, 1.0f));
}

TEST_F(DockingLayoutTest, ASeparatorAlongTwoWindowsOnOneSideDragsAllThree) {
  auto upper = client("upper", 0.0f, 0.0f, 0.5f, 0.5f, WindowClient::kLeft);
  auto lower = client("lower", 0.0f, 0.5f, 0.5f, 1.0f, WindowClient::kLeft);
  auto centre = client("centre", 0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();
  press(497, 200);
  ASSERT_EQ(docking().separatorList().size(), 3u);
  move(397, 200);
  release(397, 200);
  EXPECT_TRUE(edgesAre(*upper, 0.0f, 0.0f, 0.4f, 0.5f));
  EXPECT_TRUE(edgesAre(*lower, 0.0f, 0.5f, 0.4f, 1.0f));
  EXPECT_TRUE(edgesAre(*centre, 0.4f, 0.0f, 1.0f, 1.0f));
}

TEST_F(DockingLayoutTest, ASeparatorWhoseSidesEndApartCannotBeDragged) {
  auto left = client("left", 0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kLeft);
  auto top = client("top", 0.5f, 0.0f, 1.0f, 0.5f, WindowClient::kCentre);
  auto below = client("below", 0.6f, 0.5f, 1.0f, 1.0f, WindowClient::kCentre);
  for (TestClient* c : {left.get(), top.get(), below.get()}) c->updateRect(false);
  ASSERT_TRUE(docking().hitTestSeparator(497, 200));
  EXPECT_FALSE(docking().extendSeparatorChain());
  EXPECT_TRUE(docking().separatorList().empty());
}

TEST_F(DockingLayoutTest, ASeparatorStopsShortOfTheLeastSizeAndSwapsWindowsDraggedPast) {
  auto a = client("a", 0.0f, 0.0f, 0.3f, 1.0f, WindowClient::kCentre);
  auto b = client("b", 0.3f, 0.0f, 0.6f, 1.0f, WindowClient::kCentre);
  auto c = client("c", 0.6f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();

  // Toward the first window: closer than 24 pixels to its far edge nothing moves and the
  // pointer shows that a swap is near.
  press(297, 300);
  move(17, 300);
  EXPECT_TRUE(edgesAre(*a, 0.0f, 0.0f, 0.3f, 1.0f));
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::PanVertical);
  move(45, 300);  // 24 pixels and more are left: the edge moves again
  EXPECT_TRUE(edgesAre(*a, 0.0f, 0.0f, 0.048f, 1.0f));
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::SizeWE);
  release(45, 300);

  // Past the second window's far edge: it changes places with the next one and the drag
  // goes on at its new leading edge.
  press(46, 300);
  move(650, 300);
  EXPECT_TRUE(edgesAre(*a, 0.0f, 0.0f, 0.048f, 1.0f));
  EXPECT_TRUE(edgesAre(*c, 0.048f, 0.0f, 0.6f, 1.0f));
  EXPECT_TRUE(edgesAre(*b, 0.6f, 0.0f, 1.0f, 1.0f));
  ASSERT_EQ(docking().separatorList().size(), 2u);
  EXPECT_EQ(docking().separatorList()[0].client, c.get());
  EXPECT_EQ(docking().separatorList()[1].client, b.get());
  EXPECT_TRUE(docking().dragging);
  release(650, 300);

  // Back past the first window's far edge: the second becomes the first of the area, which
  // has no separator before it, so the drag ends.
  press(46, 300);
  move(-10, 300);
  EXPECT_TRUE(edgesAre(*c, 0.0f, 0.0f, 0.048f, 1.0f));
  EXPECT_TRUE(edgesAre(*a, 0.048f, 0.0f, 0.6f, 1.0f));
  EXPECT_FALSE(docking().dragging);
  EXPECT_TRUE(docking().separatorList().empty());
  release(-10, 300);
}

TEST_F(DockingLayoutTest, TheMoveItemsReorderAWindowInItsArea) {
  auto a = client("a", 0.0f, 0.0f, 0.2f, 1.0f, WindowClient::kCentre);
  auto b = client("b", 0.2f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre);
  auto c = client("c", 0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  auto order = [&] {
    std::string names;
    for (WindowClient* w : docking().getSortedAreaClients(WindowClient::kCentre))
      names += w->title;
    return names;
  };
  docking().moveFirst(*c);
  EXPECT_EQ(order(), "cab");
  EXPECT_TRUE(edgesAre(*c, 0.0f, 0.0f, 0.5f, 1.0f)) << "a moved window keeps its size";
  docking().moveDown(*c);
  EXPECT_EQ(order(), "acb");
  docking().moveLast(*a);
  EXPECT_EQ(order(), "cba");
  docking().moveUp(*a);
  EXPECT_EQ(order(), "cab");
}

TEST_F(DockingLayoutTest, SeparatorsBordersAndTheEmptyBackgroundAreDrawn) {
  // Colours of their own, so that each pixel tells which brush drew it.
  Window::StyleBrushList& brushes = service().styleBrushes();
  brushes.WindowSeparator.get()->setColor({1.0f, 0.0f, 0.0f, 1.0f});
  brushes.WindowBorder.get()->setColor({0.0f, 1.0f, 0.0f, 1.0f});
  brushes.Background.get()->setColor({0.0f, 0.0f, 1.0f, 1.0f});
  auto a = client("a", 0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre);
  auto b = client("b", 0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();
  EXPECT_EQ(pixel(498, 300), 0xff0000u) << "separator";
  EXPECT_EQ(pixel(0, 300), 0x00ff00u) << "border";

  a->setVisible(false);
  b->setVisible(false);
  relayout();
  EXPECT_EQ(pixel(300, 300), 0x0000ffu) << "empty background";
  EXPECT_EQ(pixel(0, 300), 0x00ff00u) << "border";
}

// The frame makes only the style brushes it draws with; the others wait for their first use.
TEST_F(DockingLayoutTest, AFramePaintMakesOnlyTheBrushesItDrawsWith) {
  using List = std::vector<std::string>;
  Window::StyleBrushList& brushes = service().styleBrushes();
  auto a = client("a", 0.0f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre, false);
  struct Case {
    const char* what;
    bool clientShown;
    bool status;
    List made;
  };
  const Case cases[] = {
      {"empty docking area", false, false, List{"Background", "WindowBorder", "Footer", "Text"}},
      {"a docked window", true, false, List{"WindowBorder", "Footer", "Text"}},
      {"a status with progress", true, true,
       List{"WindowBorder", "FooterProgress0", "FooterProgress1", "Text"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    a->setVisible(c.clientShown);
    if (c.status) service().footer().setStatusText("Exporting", std::nullopt, 0.5f);
    relayout();
    WindowTest::releaseStyleBrushes(brushes);
    service().paint();
    EXPECT_EQ(WindowTest::madeStyleBrushes(brushes), c.made);
    service().footer().setStatusText("");
  }
}

// The placement is kept in velumo2.ini's parameter store across a restart of the window.
TEST(DockingPersistenceTest, APlacementSurvivesARestartAndDamagedFractionsAreClamped) {
  System::ServiceHolder<Setting::ParameterIni> ini;
  System::IniFile& store = *Setting::ParameterIni::instance();
  {
    System::ServiceHolder<Window::WindowService> service;
    TestClient a("a", {0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre, true});
    TestClient b("b", {0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre, true});
    a.place(0.0f, 0.0f, 0.7f, 1.0f);
    b.place(0.7f, 0.0f, 1.0f, 1.0f);
    b.layout.area = WindowClient::kRight;
  }
  EXPECT_EQ(store.findValue("Window.test.b", "area").text, "1");
  {
    System::ServiceHolder<Window::WindowService> service;
    TestClient a("a", {0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre, true});
    TestClient b("b", {0.5f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre, true});
    EXPECT_TRUE(edgesAre(a, 0.0f, 0.0f, 0.7f, 1.0f));
    EXPECT_TRUE(edgesAre(b, 0.7f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(b.layout.area, WindowClient::kRight);
  }
  store.getOrCreateValue("Window.test.a", "left").text = "-3";
  store.getOrCreateValue("Window.test.a", "top").text = "5";
  store.getOrCreateValue("Window.test.a", "area").text = "99";
  {
    System::ServiceHolder<Window::WindowService> service;
    TestClient a("a", {0.0f, 0.0f, 0.5f, 1.0f, WindowClient::kCentre, true});
    EXPECT_EQ(a.layout.area, WindowClient::kCentre) << "an unknown area falls back";
    Window::WindowService::instance()->updateLayout();
    EXPECT_TRUE(edgesAre(a, 0.0f, 0.0f, 1.0f, 1.0f));
  }
}

}  // namespace
