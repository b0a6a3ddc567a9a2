// The timeline's shared arithmetic: frames and pixels at a zoom, what fits into the view,
// how a requested frame range is completed, and the ruler's steps and labels.
#include "main_window/timeline/timeline_geometry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Component::Timeline;

TEST(TimelineGeometryTest, FramesAndPixelsAtAZoom) {
  struct Case {
    int64_t frame, first;
    int32_t zoom, pixel;
  };
  const Case cases[] = {
      {0, 0, 10000, 0},        {25, 0, 10000, 25},
      {25, 10, 10000, 15},
      {10, 25, 10000, -14},    // before the view: negative, the half pixel rounds toward 0
      {3, 0, 5000, 2},         // 1.5 pixels round up
      {1, 0, 100000, 10},      {7, 0, 20, 0},            // 7 frames share column 0 at 0.2 %
      {2'000'000'000, 0, 100000, INT32_MAX},              // far frames saturate, never wrap
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.frame) + " from " + std::to_string(c.first) + " at " +
                 std::to_string(c.zoom));
    EXPECT_EQ(frameToPixel(c.frame, c.first, c.zoom), c.pixel);
  }
  EXPECT_EQ(pixelToFrame(15, 10, 10000), 25);
  EXPECT_EQ(pixelToFrame(19, 0, 20000), 9) << "half frames truncate";
  EXPECT_EQ(pixelToFrame(-19, 0, 20000), -9) << "toward zero also left of the view";
  EXPECT_EQ(pixelToFrame(1, 0, 20), 500);
  EXPECT_EQ(pixelsToFrames(100, 0), 1'000'000) << "a zoom of 0 is read as 1, no division by 0";
}

TEST(TimelineGeometryTest, VisibleCountsAndScrollRanges) {
  EXPECT_EQ(visibleLayerCount(280, 28), 11);
  EXPECT_EQ(visibleLayerCount(10, 28), 1) << "a band lower than a row still shows one";
  EXPECT_EQ(visibleLayerCount(-10, 28), 1) << "less than a row too small: still one";
  EXPECT_EQ(visibleLayerCount(-29, 28), 0) << "more than a row too small: none";
  EXPECT_EQ(visibleFrameCount(400, 10000), 401);
  EXPECT_EQ(visibleFrameCount(400, 100000), 41);
  EXPECT_EQ(visibleFrameCount(-400, 10000), 0);

  EXPECT_EQ(scrollRange(10, 0), 10) << "an empty scene still spans the view";
  EXPECT_EQ(scrollRange(10, 30), 35) << "half a view past the last used position";
  EXPECT_EQ(clampStart(50, 25), 25);
  EXPECT_EQ(clampStart(-3, 25), 0);
  EXPECT_EQ(clampStart(5, -4), 0) << "a view larger than the range starts at 0";
}

TEST(TimelineGeometryTest, ARequestedFrameRangeIsCompleted) {
  struct Case {
    FrameRange requested, current, expected;
  };
  const int32_t last = 299;
  const Case cases[] = {
      {{5, -1}, {-1, -1}, {5, last}},   // no range yet: up to the last frame
      {{-1, 3}, {-1, -1}, {0, 3}},      // no range yet: from frame 0
      {{9, 4}, {-1, -1}, {4, 9}},       // reversed ends swap
      {{5, -1}, {0, 40}, {5, 40}},      // the current end still fits
      {{50, -1}, {0, 40}, {50, last}},  // it does not
      {{-1, 30}, {10, 40}, {10, 30}},   // the current start still fits
      {{-1, 5}, {10, 40}, {0, 5}},      // it does not
      {{-1, -1}, {10, 40}, {-1, -1}},   // cleared
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.requested.start) + ", " + std::to_string(c.requested.end) +
                 " over " + std::to_string(c.current.start) + ", " +
                 std::to_string(c.current.end));
    const FrameRange result = resolveFrameRange(c.requested, c.current, last);
    EXPECT_EQ(result.start, c.expected.start);
    EXPECT_EQ(result.end, c.expected.end);
  }
}

TEST(TimelineGeometryTest, RulerStepsAndLabels) {
  EXPECT_EQ(minorTickStep(10, 100000), 1) << "the largest zoom: one frame per minor tick";
  EXPECT_EQ(minorTickStep(10, 10000), 10);
  EXPECT_EQ(minorTickStep(10, 20), 5000);
  EXPECT_EQ(minorTickStep(10, 200000), 1) << "never a step of 0";

  EXPECT_EQ(timeLabel(0, 30, 1), "00:00:00.00");
  EXPECT_EQ(timeLabel(45, 30, 1), "00:00:01.50");
  EXPECT_EQ(timeLabel(30 * 3725 + 3, 30, 1), "01:02:05.10");
  EXPECT_EQ(timeLabel(1001, 30000, 1001), "00:00:33.40");
  EXPECT_EQ(timeLabel(90, 0, 1), "00:00:00.00") << "no rate: no division by zero";
}

}  // namespace
