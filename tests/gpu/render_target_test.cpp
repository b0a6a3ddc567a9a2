// The drawing surface of windows and controls: nested draw scopes with their clips and
// origins, one frame bracket however many controls draw, and pixel-exact operations. Drawn
// into an image in main memory.
#include "gpu/draw2d/render_target.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "system/service_holder.h"

namespace {

using Media::RenderTarget;
using testing::HasSubstr;

class RenderTargetTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 200;
  static constexpr int kHeight = 100;

  RenderTargetTest()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)),
        drawTarget_(surface_),
        root_(&drawTarget_, kWidth, kHeight) {}
  ~RenderTargetTest() override { cairo_surface_destroy(surface_); }

  // The alpha of a pixel (0 to 255).
  int coverage(int x, int y) {
    cairo_surface_flush(surface_);
    const uint8_t* row = cairo_image_surface_get_data(surface_) +
                         static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface_);
    return row[x * 4 + 3];
  }
  // Red, green and blue of a pixel.
  std::array<int, 3> color(int x, int y) {
    cairo_surface_flush(surface_);
    const uint8_t* pixel = cairo_image_surface_get_data(surface_) +
                           static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface_) +
                           x * 4;
    return {pixel[2], pixel[1], pixel[0]};
  }

  System::ServiceHolder<Media::Direct2DService> service_;
  cairo_surface_t* surface_;
  Media::DrawTarget drawTarget_;
  RenderTarget root_;
  Media::SolidColorBrush white_{{1, 1, 1, 1}};
};

TEST_F(RenderTargetTest, NestedRelativeScopesMoveTheOriginAndRestoreIt) {
  RenderTarget control(root_);
  RenderTarget::DrawScope outer(control, 10, 10, 110, 60, false);
  EXPECT_EQ(control.originX, 10);
  EXPECT_EQ(control.clipWidth, 100);
  {
    RenderTarget::DrawScope inner(control, 5, 5, 25, 25, false);
    EXPECT_EQ(control.originX, 15);
    EXPECT_EQ(control.originY, 15);
    EXPECT_EQ(control.clipWidth, 20);
    // Drawing at (0, 0) of the inner scope lands at (15, 15); the clip stops at (35, 35).
    control.fillRectangle(0, 0, 100, 100, white_);
  }
  EXPECT_EQ(control.originX, 10);
  EXPECT_EQ(control.originY, 10);
  EXPECT_EQ(control.clipX, 10);
  EXPECT_EQ(control.clipHeight, 50);
  EXPECT_EQ(drawTarget_.clipPushCount(), 2u);
  EXPECT_EQ(coverage(15, 15), 255);
  EXPECT_EQ(coverage(34, 34), 255);
  EXPECT_EQ(coverage(35, 35), 0);
  EXPECT_EQ(coverage(14, 20), 0);
}

TEST_F(RenderTargetTest, AnAbsoluteScopeOnTheCurrentRectanglePushesNoClip) {
  {
    RenderTarget::DrawScope same(root_, 0, 0, kWidth, kHeight, true);
    EXPECT_EQ(drawTarget_.clipPushCount(), 0u);
    RenderTarget::DrawScope other(root_, 50, 20, 60, 30, true);
    EXPECT_EQ(drawTarget_.clipPushCount(), 1u);
    EXPECT_EQ(root_.originX, 50);
  }
  EXPECT_EQ(root_.originX, 0);
  EXPECT_EQ(root_.clipWidth, kWidth);
  // Both scopes closed: the frame ended once.
  EXPECT_EQ(drawTarget_.beginDrawCount(), 1u);
  EXPECT_EQ(drawTarget_.endDrawCount(), 1u);
}

TEST_F(RenderTargetTest, AFrameOfTenControlsIsOneBracket) {
  root_.beginDraw();
  for (int i = 0; i < 10; ++i) {
    RenderTarget control(root_);
    RenderTarget::DrawScope scope(control, i * 10, 0, i * 10 + 10, 10, false);
    control.fillRectangle(0, 0, 10, 10, white_);
  }
  EXPECT_EQ(drawTarget_.endDrawCount(), 0u);
  root_.endDraw();
  EXPECT_EQ(drawTarget_.beginDrawCount(), 1u);
  EXPECT_EQ(drawTarget_.endDrawCount(), 1u);
  EXPECT_EQ(root_.drawCount, 0);
}

// Outlines run along pixel centres and fills along pixel edges, so both are exact.
TEST_F(RenderTargetTest, OutlinesAndFillsArePixelExact) {
  struct Probe {
    int x, y, coverage;
  };
  struct Case {
    const char* name;
    std::function<void(RenderTarget&, const Media::Brush&)> draw;
    std::vector<Probe> probes;
  };
  const Media::Point2F fivePoints[5] = {{0, 0}, {40, 0}, {0, 40}, {40, 40}, {40, 20}};
  const std::vector<Case> cases = {
      {"rectangle outline",
       [](RenderTarget& t, const Media::Brush& b) { t.drawRectangle(0, 0, 10, 10, b, 1, nullptr); },
       {{0, 0, 255}, {9, 9, 255}, {0, 5, 255}, {5, 9, 255}, {1, 1, 0}, {10, 10, 0}, {10, 5, 0}}},
      {"rectangle fill",
       [](RenderTarget& t, const Media::Brush& b) { t.fillRectangle(0, 0, 10, 10, b); },
       {{0, 0, 255}, {9, 9, 255}, {5, 5, 255}, {10, 0, 0}, {0, 10, 0}}},
      {"horizontal line",
       [](RenderTarget& t, const Media::Brush& b) { t.drawLine(0, 5, 10, 5, b, 1, nullptr); },
       // Flat ends: the line starts and stops at the centres of its end pixels.
       {{1, 5, 255}, {9, 5, 255}, {0, 5, 128}, {5, 4, 0}, {5, 6, 0}}},
      {"triangle of the first three points",
       [&](RenderTarget& t, const Media::Brush& b) { t.fillPath(fivePoints, b); },
       {{5, 5, 255}, {30, 5, 255}, {35, 35, 0}, {38, 20, 0}}},
      {"closed outline through every point",
       [&](RenderTarget& t, const Media::Brush& b) { t.drawPath(fivePoints, 5, b, 2.0f, nullptr); },
       {{20, 0, 255}, {30, 15, 255}, {30, 5, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    cairo_t* context = drawTarget_.context();
    cairo_set_operator(context, CAIRO_OPERATOR_CLEAR);
    cairo_paint(context);
    cairo_set_operator(context, CAIRO_OPERATOR_OVER);
    RenderTarget::DrawScope scope(root_, 0, 0, kWidth, kHeight, true);
    c.draw(root_, white_);
    for (const Probe& probe : c.probes)
      EXPECT_EQ(coverage(probe.x, probe.y), probe.coverage) << probe.x << ", " << probe.y;
  }
}

TEST_F(RenderTargetTest, AGradientRunsAcrossTheRectangleItFills) {
  Media::LinearGradientBrush gradient({{0.0f, {1, 0, 0, 1}}, {1.0f, {0, 0, 1, 1}}}, {0, 0}, {1, 1});
  RenderTarget::DrawScope scope(root_, 50, 10, 150, 20, true);
  root_.fillGradientRectangle(0, 0, 100, 10, gradient);
  EXPECT_FLOAT_EQ(gradient.startPoint().x, 50.0f);
  EXPECT_FLOAT_EQ(gradient.startPoint().y, 15.0f);
  EXPECT_FLOAT_EQ(gradient.endPoint().x, 150.0f);
  const auto left = color(50, 12), right = color(149, 18);
  EXPECT_GT(left[0], 250);
  EXPECT_LT(left[2], 5);
  EXPECT_LT(right[0], 5);
  EXPECT_GT(right[2], 250);
}

TEST_F(RenderTargetTest, AFailedFrameEndThrowsWhereTheFrameEnds) {
  EXPECT_THAT(
      [&] {
        RenderTarget::DrawScope scope(root_, 10, 10, 20, 20, false);
        // Unbalanced restores leave the context in an error state.
        for (int i = 0; i < 3; ++i) cairo_restore(drawTarget_.context());
      },
      testing::ThrowsMessage<std::exception>(AllOf(HasSubstr("target->EndDraw() failed."),
                                                   HasSubstr("Media::RenderTarget::endDraw()"))));
  EXPECT_EQ(root_.drawCount, 0) << "the count is back to 0 for the next frame";
}

TEST_F(RenderTargetTest, AFailedFrameEndWhileAnotherExceptionLeavesIsOnlyLogged) {
  EXPECT_THROW(
      {
        RenderTarget::DrawScope scope(root_, 10, 10, 20, 20, false);
        for (int i = 0; i < 3; ++i) cairo_restore(drawTarget_.context());
        throw std::runtime_error("drawing failed");
      },
      std::runtime_error);
}

}  // namespace
