// Figures: the list of built-in shapes and SVG files, and how a figure fits its outline or
// fill into the image it is drawn into.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "gpu/drawing_test_support.h"
#include "gpu/resource/figure_list.h"
#include "gpu/resource_buffer.h"

namespace {

using Resource::FigureList;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

class FigureTest : public TestSupport::DrawingResourceTest {
 protected:
  FigureList makeList(Resource::FigureEntry::Environment environment = {}) {
    return FigureList(paths_, "%Figure%/*.svg", choices_, std::move(environment));
  }

  // Whether the pixel is covered (alpha at least a half) in an image of format 10.
  static bool covered(const Media::ImageBuffer& image, uint32_t x, uint32_t y) {
    return halfPixel(image, x, y)[3] >= 0.5f;
  }
};

TEST_F(FigureTest, TheBuiltInsComeFirstThenTheSvgFilesSortedByPath) {
  {
    const FigureList list = makeList();
    ASSERT_EQ(list.entries().size(), 8u);
  }
  install_.writeFile("data/Figure/b.svg", "<svg/>");
  install_.writeFile("data/Figure/a.svg", "<svg/>");
  install_.writeFile("data/Figure/c.png", "");
  const FigureList list = makeList();
  const char* names[] = {"背景", "円", "四角形", "三角形", "五角形", "六角形", "星型", "ハート", "a", "b"};
  ASSERT_EQ(list.entries().size(), std::size(names));
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(list.entries()[i].name, names[i]) << i;
    EXPECT_EQ(choices_->getValue(names[i]), static_cast<int>(i)) << names[i];
  }
  EXPECT_EQ(list.entries()[0].kind, Resource::FigureEntry::kBackground);
  EXPECT_EQ(list.entries()[1].kind, Resource::FigureEntry::kCircle);
  EXPECT_EQ(list.entries()[2].kind, Resource::FigureEntry::kRectangle);
  EXPECT_EQ(list.entries()[8].path, nullptr);
  EXPECT_EQ(list.entries()[8].filePath, install_ / "data/Figure/a.svg");
}

TEST_F(FigureTest, IndicesOutOfRangeAndEmptySizesGiveNoImage) {
  const FigureList list = makeList();
  EXPECT_EQ(list.createImageByName(-1, 10, 10), nullptr);
  EXPECT_EQ(list.createImageByName(8, 10, 10), nullptr);
  EXPECT_EQ(list.createImage(2, 0, 10, {1, 1, 1, 1}, 1.0f, false, 0), nullptr);
}

// A rectangle whose frame is at least half its shorter side is one solid colour; a thinner
// one is a frame of that width.
TEST_F(FigureTest, ARectangleIsAFrameOrSolid) {
  const FigureList list = makeList();
  const auto solid = list.createImage(2, 100, 50, {1, 0, 0, 1}, 30.0f, false, 0)->readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*solid, 50, 25), {1, 0, 0, 1}));
  const auto frame = list.createImage(2, 100, 50, {1, 0, 0, 1}, 10.0f, false, 0)->readBack();
  EXPECT_TRUE(covered(*frame, 0, 0));
  EXPECT_TRUE(covered(*frame, 9, 25));
  EXPECT_FALSE(covered(*frame, 11, 25));
  EXPECT_FALSE(covered(*frame, 50, 25));
  EXPECT_TRUE(covered(*frame, 99, 49));
}

// A filled circle at 101 x 101 is a disc of diameter 100 centred on (50.5, 50.5).
TEST_F(FigureTest, AFilledCircleIsCentredInsideTheImage) {
  const FigureList list = makeList();
  const auto disc = list.createImage(1, 101, 101, {1, 1, 1, 1}, FigureList::kFilled, false, 0)->readBack();
  EXPECT_TRUE(covered(*disc, 50, 50));
  EXPECT_TRUE(covered(*disc, 1, 50));
  EXPECT_TRUE(covered(*disc, 99, 50));
  EXPECT_FALSE(covered(*disc, 0, 0));
  EXPECT_FALSE(covered(*disc, 100, 100));
  EXPECT_FALSE(covered(*disc, 50, 100));
}

// A triangle outline of width 10 at 200 x 200: the inscribed circle is 100 across, so the
// path shrinks by 20 and is fitted to (10, 10, 180, 180); the outline's outer edge touches
// the top of the image.
TEST_F(FigureTest, AnOutlineStaysInsideTheImage) {
  const FigureList list = makeList();
  const auto outline = list.createImage(3, 200, 200, {1, 1, 1, 1}, 10.0f, false, 0)->readBack();
  // The apex at (100, 10) with the stroke reaching above it; the centre stays empty.
  EXPECT_TRUE(covered(*outline, 100, 12));
  EXPECT_FALSE(covered(*outline, 100, 120));
  EXPECT_FALSE(covered(*outline, 2, 199));
  // Filled, the centre is covered.
  const auto filled = list.createImage(3, 200, 200, {1, 1, 1, 1}, FigureList::kFilled, false, 0)->readBack();
  EXPECT_TRUE(covered(*filled, 100, 120));
}

// A rounded line wider than the inscribed circle is as wide as the circle: the shape is
// covered through its middle.
TEST_F(FigureTest, ARoundedLineIsAtMostTheInscribedCircle) {
  const Media::StrokeStyle rounded(
      {Media::CapStyle::Round, Media::CapStyle::Round, Media::LineJoin::Round, 1.0f, 0.0f}, {});
  const FigureList list = makeList({&rounded, {}});
  const auto image = list.createImage(5, 100, 100, {1, 1, 1, 1}, 500.0f, true, 0)->readBack();
  EXPECT_TRUE(covered(*image, 50, 52));
  EXPECT_FALSE(covered(*image, 0, 99));
}

TEST_F(FigureTest, TheBackgroundTakesTheScenesSize) {
  const FigureList list = makeList({nullptr, [](int32_t& width, int32_t& height) {
                                      width = 64;
                                      height = 36;
                                    }});
  const auto image = list.createImage(0, 10, 10, {0, 0, 1, 1}, FigureList::kFilled, false, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->width(), 64u);
  EXPECT_EQ(image->height(), 36u);
  EXPECT_TRUE(nearHalf(halfPixel(*image->readBack(), 63, 35), {0, 0, 1, 1}));
}

TEST_F(FigureTest, AnSvgFigureIsDrawnFromItsFile) {
  install_.writeFile("data/Figure/dot.svg",
                     "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 2 2'>"
                     "<rect width='2' height='2' fill='#000'/></svg>");
  const FigureList list = makeList();
  const auto image = list.createImage(8, 8, 8, {0, 1, 0, 1}, FigureList::kFilled, false, 0);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(nearHalf(halfPixel(*image->readBack(), 4, 4), {0, 1, 0, 1}));
}

// Each built-in path is fitted through its box: fitted to a rectangle, the shape lies inside
// it, touches its top and is centred across it (the heart only nearly: its box is rounded).
TEST_F(FigureTest, EveryBuiltInPathIsFittedThroughItsBox) {
  for (std::size_t i = 0; i < paths_.size(); ++i) {
    const auto geometry = paths_[i].createPathGeometry(10.0f, 20.0f, 100.0f, 50.0f);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* context = cairo_create(surface);
    geometry->append(context, 0.0, 0.0);
    double x0, y0, x1, y1;
    cairo_path_extents(context, &x0, &y0, &x1, &y1);
    cairo_destroy(context);
    cairo_surface_destroy(surface);
    const double slack = i == Resource::kHeart ? 2.5 : 0.01;
    EXPECT_GE(x0, 10.0 - slack) << i;
    EXPECT_LE(x1, 110.0 + slack) << i;
    EXPECT_LE(y1, 70.0 + slack) << i;
    EXPECT_NEAR(y0, 20.0, slack) << i;
    EXPECT_NEAR((x0 + x1) / 2, 60.0, slack) << i;
  }
}

}  // namespace
