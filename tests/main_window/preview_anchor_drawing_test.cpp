#include <gtest/gtest.h>

#include <cmath>

#include "main_window/preview/anchor_drawing.h"
#include "main_window/preview/anchor_render_canvas.h"
#include "preview_anchor_support.h"
#include "tests/ui/control_test_support.h"

namespace {

using Anchor::AnchorBrush;
using Anchor::AnchorType;
using Anchor::Paint;
using Anchor::PreviewAnchor;
using Anchor::ViewPoint;

// One figure as drawn.
struct Figure {
  std::string shape;
  Paint paint;
  float width = 0.0f;
  bool dashed = false;
  bool operator==(const Figure& o) const {
    return shape == o.shape && paint == o.paint && std::fabs(width - o.width) < 1e-5f &&
           dashed == o.dashed;
  }
};

std::ostream& operator<<(std::ostream& out, const Figure& f) {
  return out << f.shape << " brush " << static_cast<int>(f.paint.brush)
             << (f.paint.color ? " own colour" : "") << " width " << f.width
             << (f.dashed ? " dashed" : "");
}

class RecordingCanvas : public Anchor::AnchorCanvas {
 public:
  void begin() override { ++scopes; }
  void end() override {}
  void line(ViewPoint, ViewPoint, const Paint& p, float w, bool d) override { add("line", p, w, d); }
  void ring(ViewPoint, float, const Paint& p, float w, bool d) override { add("ring", p, w, d); }
  void disc(ViewPoint, float, const Paint& p) override { add("disc", p, 0, false); }
  void polygon(const std::vector<ViewPoint>&, const Paint& p, float w, bool d) override {
    add("polygon", p, w, d);
  }
  void fillRect(ViewPoint, ViewPoint, const Paint& p) override { add("fill", p, 0, false); }
  void icon(Anchor::IconKind, ViewPoint, ViewPoint) override { add("icon", {}, 0, false); }

  // The figures drawn in the brush (outlines left out).
  std::vector<Figure> inBrushes() const {
    std::vector<Figure> found;
    for (const Figure& f : figures)
      if (f.paint.brush != AnchorBrush::AnchorEdge || f.paint.color) found.push_back(f);
    return found;
  }

  int scopes = 0;
  std::vector<Figure> figures;

 private:
  void add(const char* shape, const Paint& p, float w, bool d) {
    figures.push_back({shape, p, w, d});
  }
};

Paint brush(AnchorBrush b) { return {b, std::nullopt}; }

class AnchorDrawingTest : public ::testing::Test {
 protected:
  AnchorDrawingTest() { control.setPictureRect({0, 0, 200, 100}, 200); }

  PreviewAnchor& add(AnchorType type, int id, int flags, std::shared_ptr<Edit::Object> owner,
                     std::shared_ptr<Effect::EffectBase> by, std::vector<ViewPoint> points) {
    PreviewAnchor& item = pending.append({type, flags, owner, by, id});
    item.points = std::move(points);
    return item;
  }
  void show() {
    control.setAnchors(std::move(pending));
    pending = {};
  }

  std::shared_ptr<Edit::Object> object = std::make_shared<Edit::Object>(1, 0, 10);
  std::shared_ptr<Effect::EffectBase> effect = std::make_shared<TestSupport::EventRecordingEffect>();
  std::shared_ptr<Effect::EffectBase> otherEffect =
      std::make_shared<TestSupport::EventRecordingEffect>();
  TestSupport::FakeAnchorHost host;
  Anchor::AnchorControl control{host};
  Anchor::PreviewAnchorList pending;
  RecordingCanvas canvas;
};

TEST_F(AnchorDrawingTest, NormalBrushFollowsTheSectionAndTheAxis) {
  const struct {
    AnchorType type;
    int id;
    int flags;
    Anchor::SectionHighlight section;
    AnchorBrush expected;
  } cases[] = {
      {AnchorType::LargeCircle, 2, 0, {2, false}, AnchorBrush::AnchorIn},
      {AnchorType::Frame, 2, 0, {2, false}, AnchorBrush::AnchorIn},
      {AnchorType::LargeCircle, 3, 0, {2, true}, AnchorBrush::AnchorOut},
      {AnchorType::LargeCircle, 3, 0, {2, false}, AnchorBrush::Anchor},
      {AnchorType::LargeCircle, Anchor::kCurrentPositionId, 0, {2, true}, AnchorBrush::Anchor},
      {AnchorType::MediumCircle, 2, 0, {2, false}, AnchorBrush::Anchor},
      {AnchorType::Line, 0, Anchor::Flag::AxisX, {}, AnchorBrush::HandleX},
      {AnchorType::Line, 0, Anchor::Flag::AxisY, {}, AnchorBrush::HandleY},
      {AnchorType::Line, 0, Anchor::Flag::AxisZ, {}, AnchorBrush::HandleZ},
      {AnchorType::Line, 0, 0, {}, AnchorBrush::Anchor},
  };
  for (const auto& c : cases) {
    const PreviewAnchor item{c.type, c.flags, object, effect, c.id};
    EXPECT_EQ(Anchor::anchorBrush(item, c.section), c.expected)
        << static_cast<int>(c.type) << " id " << c.id;
  }
}

TEST_F(AnchorDrawingTest, EmptyListOpensNoScope) {
  show();
  Anchor::drawAnchors(control, canvas, {});
  EXPECT_EQ(canvas.scopes, 0);
}

TEST_F(AnchorDrawingTest, OrderSelectionAndHiddenHandles) {
  auto selected = std::make_shared<Edit::Object>(2, 0, 10);
  host.selected = {selected.get()};
  const int whole = Anchor::kCurrentPositionId;
  const std::vector<ViewPoint> box{{0, 0}, {0.5f, 0}, {0.5f, 0.5f}};
  add(AnchorType::Icon, Anchor::kClippingIconId, Anchor::Flag::IconFlags, object, effect,
      {{0, 0}, {32, 32}});
  add(AnchorType::LargeCircle, 0, 0, object, effect, {{0, 0}});
  add(AnchorType::Frame, whole, Anchor::Flag::ObjectAnchor | Anchor::Flag::Hidden, selected,
      effect, box);                                                              // selected
  add(AnchorType::Frame, whole, Anchor::Flag::ObjectAnchor | Anchor::Flag::Hidden, object,
      effect, box);                                                              // not drawn
  add(AnchorType::SmallCircle, 0, Anchor::Flag::NoDraw, object, effect, {{0, 0}});  // not drawn
  add(AnchorType::MediumCircle, whole, 0, object, effect, {{0, 0}});
  show();
  Anchor::drawAnchors(control, canvas, {});
  EXPECT_EQ(canvas.scopes, 1);
  EXPECT_EQ(canvas.inBrushes(),
            (std::vector<Figure>{{"polygon", brush(AnchorBrush::AnchorSelect), 2.2f, false},
                                 {"ring", brush(AnchorBrush::Anchor), 1.2f, true},
                                 {"ring", brush(AnchorBrush::Anchor), 1.2f, false},  // whole: solid
                                 {"icon", {}, 0, false}}));
}

TEST_F(AnchorDrawingTest, HoveredHandleIsDrawnLastAndMayHideOtherEffects) {
  host.hoverHides = true;
  add(AnchorType::Icon, Anchor::kCameraModeIconId, Anchor::Flag::IconFlags, object, otherEffect,
      {{0, 0}, {32, 32}});
  add(AnchorType::LargeCircle, 0, 0, object, otherEffect, {{0.5f, 0}});
  add(AnchorType::Line, 0, Anchor::Flag::AxisY, object, effect,
      {{0, 0}, {0, 0.5f}, {0.1f, 0}});
  add(AnchorType::SmallCircle, 1, Anchor::Flag::NoDraw, object, effect, {{-0.5f, 0}});
  show();
  control.setHovered(&control.anchors().items()[3]);
  Anchor::drawAnchors(control, canvas, {});
  EXPECT_EQ(canvas.inBrushes(),
            (std::vector<Figure>{{"line", brush(AnchorBrush::HandleY), 2.2f, false},
                                 {"disc", brush(AnchorBrush::HandleY), 0, false},
                                 {"icon", {}, 0, false},  // pinned: never hidden
                                 {"ring", brush(AnchorBrush::AnchorHover), 2.2f, false}}));

  // Hovering the axis line itself draws it in its hover colour.
  canvas.figures.clear();
  control.setHovered(&control.anchors().items()[2]);
  Anchor::drawAnchors(control, canvas, {});
  EXPECT_EQ(canvas.inBrushes().back(), (Figure{"disc", brush(AnchorBrush::HandleYHover), 0, false}));
}

TEST_F(AnchorDrawingTest, FiguresOfEachType) {
  const Anchor::Color red{1, 0, 0, 1};
  const Paint ownRed{AnchorBrush::Anchor, red};
  const Paint edge = brush(AnchorBrush::AnchorEdge);
  const Paint in = brush(AnchorBrush::AnchorIn);
  const struct {
    AnchorType type;
    bool hovered;
    std::vector<Figure> figures;
  } cases[] = {
      {AnchorType::Square, true, {{"fill", in, 0, false}}},
      {AnchorType::Square, false, {{"polygon", edge, 1.8f, false}, {"polygon", in, 1.2f, false}}},
      {AnchorType::LargeCircle, false, {{"ring", edge, 1.8f, false}, {"ring", in, 1.2f, true}}},
      {AnchorType::Polyline, false,  // the line colour, whatever the brush
       {{"line", edge, 2.8f, false}, {"line", brush(AnchorBrush::AnchorLine), 2.2f, false}}},
      {AnchorType::ColorPolyline, false,
       {{"line", edge, 1.8f, false}, {"line", ownRed, 1.2f, true}}},
      {AnchorType::ColorPoint, false, {{"ring", edge, 2.8f, false}, {"ring", ownRed, 2.2f, false}}},
      {AnchorType::Dot, false, {{"disc", edge, 0, false}, {"disc", in, 0, false}}},
      {AnchorType::Viewpoint, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.type));
    PreviewAnchor item{c.type, 0, nullptr, nullptr, 0};
    item.color = red;
    item.pixels = {{10, 10}, {20, 10}};
    canvas.figures.clear();
    Anchor::drawAnchor(canvas, item, AnchorBrush::AnchorIn, 1.2f, true, c.hovered);
    EXPECT_EQ(canvas.figures, c.figures);
  }
  // A polyline of one pixel draws nothing.
  PreviewAnchor lone{AnchorType::Polyline, 0, nullptr, nullptr, 0};
  lone.pixels = {{10, 10}};
  canvas.figures.clear();
  Anchor::drawAnchor(canvas, lone, AnchorBrush::Anchor, 1.2f, false, false);
  EXPECT_TRUE(canvas.figures.empty());
}

// The handles drawn on the window's render target, each brush in a colour of its own.
class PictureControl : public Window::WindowControlRenderTarget {
 public:
  PictureControl(Window::WindowControlContainer& container, Anchor::AnchorControl& anchors)
      : WindowControlRenderTarget(container, 0, 0, 200, 100), anchors_(anchors) {}
  void procPaint() override {
    if (!Control::isPaintable(*this)) return;
    Anchor::RenderTargetAnchorCanvas canvas(*this);
    Anchor::drawAnchors(anchors_, canvas, {});
  }

 private:
  Anchor::AnchorControl& anchors_;
};

class AnchorPaintTest : public ControlTest::ControlFixture {
 protected:
  static constexpr uint32_t kBackdrop = 0x000000, kAnchor = 0x00ff00, kHover = 0xff00ff,
                            kEdge = 0x0000ff, kLine = 0xffff00;
  AnchorPaintTest() {
    Window::StyleBrushList& b = service().styleBrushes();
    b.Anchor.get()->setColor(ControlTest::colourOf(kAnchor));
    b.AnchorHover.get()->setColor(ControlTest::colourOf(kHover));
    b.AnchorEdge.get()->setColor(ControlTest::colourOf(kEdge));
    b.AnchorLine.get()->setColor(ControlTest::colourOf(kLine));
    container.updateLayout();
    anchors.setPictureRect({0, 0, 200, 100}, 200);
  }
  void paint() {
    clearArea(kBackdrop);
    picture.procPaint();
  }
  // Whether a pixel of the rectangle shows the brush colour's channel (strokes are smoothed,
  // so their pixels are mixed with what lies under them).
  static bool anyChannel(int left, int top, int right, int bottom, uint32_t channel) {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if ((pixel(x, y) & channel) >= (0x60606060u & channel)) return true;
    return false;
  }
  static constexpr uint32_t kGreen = 0x00ff00, kBlue = 0x0000ff;

  TestSupport::FakeAnchorHost host;
  Anchor::AnchorControl anchors{host};
  PictureControl picture{container, anchors};
};

TEST_F(AnchorPaintTest, HoveredSquareIsFilledAndAtRestOnlyOutlined) {
  Anchor::PreviewAnchorList list;
  auto effect = std::make_shared<TestSupport::EventRecordingEffect>();
  auto object = std::make_shared<Edit::Object>(1, 0, 10);
  list.append({AnchorType::Square, 0, object, effect, 0}).points = {{-0.5f, 0}};  // pixel (50, 50)
  anchors.setAnchors(std::move(list));

  paint();
  EXPECT_EQ(pixel(50, 50), kBackdrop);  // the inside of the outline
  EXPECT_EQ(pixel(46, 53), kBackdrop);
  EXPECT_TRUE(anyChannel(43, 43, 58, 58, kGreen));  // the anchor colour
  EXPECT_TRUE(anyChannel(43, 43, 58, 58, kBlue));   // the outline under it

  ASSERT_TRUE(anchors.pointerMoved(50, 50));
  paint();
  EXPECT_EQ(pixel(50, 50), kHover);
  EXPECT_EQ(pixel(46, 53), kHover);  // filled to its edges
}

TEST_F(AnchorPaintTest, RingDotAndLine) {
  Anchor::PreviewAnchorList list;
  auto effect = std::make_shared<TestSupport::EventRecordingEffect>();
  auto object = std::make_shared<Edit::Object>(1, 0, 10);
  list.append({AnchorType::LargeCircle, 0, object, effect, 0}).points = {{0, 0}};  // (100, 50)
  anchors.setAnchors(std::move(list));
  paint();
  EXPECT_EQ(pixel(100, 50), kBackdrop);
  // Dashed: along the ring some pixels show the brush and some only the outline under it.
  EXPECT_TRUE(anyChannel(90, 13, 111, 16, kGreen));
  EXPECT_TRUE(anyPixel(90, 13, 111, 16, kEdge));  // a gap of the dashes: only the outline

  list = {};
  list.addDot(effect, {-0.5f, 0.5f, 0.5f, 1.0f});                               // (50, 25)
  list.addPolyline(effect, {{0.2f, -0.5f, 0.5f, 1.0f}, {0.8f, -0.5f, 0.5f, 1.0f}}, {});  // y 75
  anchors.setAnchors(std::move(list));
  paint();
  EXPECT_EQ(pixel(50, 25), kAnchor);
  EXPECT_EQ(pixel(50, 29), kBackdrop);
  EXPECT_TRUE(anyChannel(130, 74, 131, 76, kLine));
  EXPECT_EQ(pixel(130, 72), kBackdrop);
}

}  // namespace
