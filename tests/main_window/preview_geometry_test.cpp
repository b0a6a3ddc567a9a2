// Where the preview puts the picture, its zoom choices and drags, and the wheel's step.
#include "main_window/preview/preview_geometry.h"

#include <gtest/gtest.h>

namespace {

using namespace Component;

TEST(PreviewGeometryTest, APictureIsCentredOrFittedOrScrolled) {
  struct Case {
    const char* name;
    int32_t areaW, areaH;
    uint32_t w, h;
    int32_t zoom, scrollX, scrollY;
    Anchor::PictureRect rect;
    bool bars;
  };
  const Case cases[] = {
      {"no picture", 400, 300, 0, 0, 100, 0, 0, {0, 0, 0, 0}, false},
      {"100 % smaller than the area is centred", 400, 300, 200, 100, 100, 0, 0,
       {100, 100, 300, 200}, false},
      {"exact fit needs no bars", 400, 300, 200, 150, 200, 0, 0, {0, 0, 400, 300}, false},
      {"fit of a wider picture", 400, 400, 200, 100, 0, 0, 0, {0, 100, 400, 300}, false},
      {"fit of a taller picture", 400, 400, 100, 200, 0, 0, 0, {100, 0, 300, 400}, false},
      {"too large: the scroll starts place it", 400, 300, 400, 300, 200, 200, 150,
       {-200, -150, 600, 450}, true},
      {"too wide only: the top stays centred", 400, 300, 400, 100, 200, 50, 0,
       {-50, 50, 750, 250}, true},
  };
  for (const Case& c : cases) {
    const PicturePlacement placed =
        placePicture(c.areaW, c.areaH, c.w, c.h, c.zoom, c.scrollX, c.scrollY);
    EXPECT_EQ(placed.scrollBars, c.bars) << c.name;
    EXPECT_FLOAT_EQ(placed.rect.left, c.rect.left) << c.name;
    EXPECT_FLOAT_EQ(placed.rect.top, c.rect.top) << c.name;
    EXPECT_FLOAT_EQ(placed.rect.right, c.rect.right) << c.name;
    EXPECT_FLOAT_EQ(placed.rect.bottom, c.rect.bottom) << c.name;
  }
  const PicturePlacement large = placePicture(400, 300, 400, 300, 200, 0, 0);
  EXPECT_EQ(large.contentWidth, 800);
  EXPECT_EQ(large.contentHeight, 600);
}

TEST(PreviewGeometryTest, FittingAHugePictureDoesNotOverflow) {
  // 70000 x 70000 overflows 32-bit products of the sides; the fit must still be square.
  const PicturePlacement placed = placePicture(300, 200, 70000, 70000, 0, 0, 0);
  EXPECT_FLOAT_EQ(placed.rect.left, 50.0f);
  EXPECT_FLOAT_EQ(placed.rect.right, 250.0f);
  EXPECT_FLOAT_EQ(placed.rect.bottom, 200.0f);
}

TEST(PreviewGeometryTest, TheZoomListKeepsOnlyNumbersOfZeroOrMore) {
  EXPECT_EQ(parseZoomList("0,50,100, 200"), (std::vector<int32_t>{0, 50, 100, 200}));
  EXPECT_EQ(parseZoomList("abc,-5,25"), (std::vector<int32_t>{25}));
  EXPECT_EQ(parseZoomList("0"), (std::vector<int32_t>{0}));
  EXPECT_TRUE(parseZoomList("").empty());
  EXPECT_TRUE(parseZoomList(",,").empty());
  EXPECT_EQ(zoomText(0), "WindowSize");
  EXPECT_EQ(zoomText(150), "150%");
}

TEST(PreviewGeometryTest, TheZoomDragMovesAtLeastOneStepAndStaysInItsLimits) {
  EXPECT_EQ(draggedZoom(100, -2), 101) << "2 pixels up from 100 %";
  EXPECT_EQ(draggedZoom(100, 2), 99);
  EXPECT_EQ(draggedZoom(100, 1), 100) << "one pixel is no step";
  EXPECT_EQ(draggedZoom(10, -2), 11) << "a small zoom still moves by one";
  EXPECT_EQ(draggedZoom(10, 200), kMinDragZoom);
  EXPECT_EQ(draggedZoom(3000, -2000), kMaxDragZoom);
  EXPECT_EQ(draggedZoom(100, -1000000), kMaxDragZoom) << "far drags stay defined";
  EXPECT_EQ(fitZoomPercent(1920, 1080, 960, 540), 50);
  EXPECT_EQ(fitZoomPercent(0, 1080, 960, 540), 100) << "without a picture";
}

TEST(PreviewGeometryTest, TheWheelStepsOneFrameInsideTheScene) {
  EXPECT_EQ(wheelFrame(5, 120, 10), 4);
  EXPECT_EQ(wheelFrame(5, -120, 10), 6);
  EXPECT_EQ(wheelFrame(0, 120, 10), 0);
  EXPECT_EQ(wheelFrame(10, -120, 10), 10);
  EXPECT_EQ(wheelFrame(5, 0, 10), 6) << "a delta below 1 steps forward";
}

}  // namespace
