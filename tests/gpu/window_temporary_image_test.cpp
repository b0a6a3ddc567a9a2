#include "gpu/draw2d/window_temporary_image.h"

#include <gtest/gtest.h>

#include <array>

#include "gpu/com_resource.h"
#include "gpu/draw2d/draw_resource.h"
#include "gpu/draw2d/render_target.h"
#include "gpu/image/image_buffer.h"
#include "system/service_holder.h"

namespace {

class WindowTemporaryImageTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 64;
  static constexpr int kHeight = 32;

  WindowTemporaryImageTest()
      : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight)),
        drawTarget_(surface_),
        root_(&drawTarget_, kWidth, kHeight) {}
  ~WindowTemporaryImageTest() override { cairo_surface_destroy(surface_); }

  std::array<int, 4> pixel(int x, int y) {
    cairo_surface_flush(surface_);
    const uint8_t* p = cairo_image_surface_get_data(surface_) +
                       static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface_) + x * 4;
    return {p[2], p[1], p[0], p[3]};  // R, G, B, A
  }
  void fill(int left, int top, int right, int bottom, const Media::SolidColorBrush& brush) {
    root_.beginDraw();
    root_.fillRectangle(left, top, right, bottom, brush);
    root_.endDraw();
  }

  System::ServiceHolder<Media::Direct2DService> service_;
  cairo_surface_t* surface_;
  Media::DrawTarget drawTarget_;
  Media::RenderTarget root_;
  Media::SolidColorBrush red_{{1, 0, 0, 1}};
  Media::SolidColorBrush green_{{0, 1, 0, 1}};
};

TEST_F(WindowTemporaryImageTest, APoppedStripPutsBackWhatACursorDrewOver) {
  fill(0, 0, kWidth, kHeight, red_);
  const int32_t control[2] = {10, 4};
  Media::WindowTemporaryImage saved;
  // The fourth argument is ignored: the strip starts at the control's top.
  saved.pushImage(control, &root_, 5, 99, 3, 8);
  EXPECT_EQ(saved.y, 0);

  // A cursor line over the saved strip and one pixel beside it.
  fill(15, 4, 19, 12, green_);
  saved.popImage();

  for (int x = 15; x < 18; ++x)
    for (int y = 4; y < 12; ++y) EXPECT_EQ(pixel(x, y), (std::array<int, 4>{255, 0, 0, 255})) << x << "," << y;
  // Outside the strip the drawing stays as it is.
  EXPECT_EQ(pixel(18, 4), (std::array<int, 4>{0, 255, 0, 255}));
}

TEST_F(WindowTemporaryImageTest, APopBeforeAnyPushDrawsNothingAndBadSizesAreRefused) {
  fill(0, 0, kWidth, kHeight, red_);
  Media::WindowTemporaryImage saved;
  saved.popImage();
  EXPECT_EQ(pixel(0, 0), (std::array<int, 4>{255, 0, 0, 255}));
  const int32_t control[2] = {0, 0};
  EXPECT_THROW(saved.pushImage(control, &root_, 0, 0, 0, 8), std::exception);
  EXPECT_THROW(saved.pushImage(nullptr, &root_, 0, 0, 4, 8), std::exception);
}

TEST(ImageBufferBitmap, StraightAlphaIsPremultipliedAndChannelsReordered) {
  Media::ImageBuffer image(28, 2, 1);
  const uint8_t rgba[8] = {200, 100, 50, 255, 200, 100, 50, 128};
  std::copy(rgba, rgba + 8, image.row(0));

  struct Case {
    Media::ImageBuffer::AlphaMode mode;
    std::array<int, 4> secondPixel;  // B, G, R, A as the drawing layer holds it
  };
  for (const Case& c : {Case{Media::ImageBuffer::AlphaMode::Premultiplied, {50, 100, 200, 128}},
                        Case{Media::ImageBuffer::AlphaMode::Straight, {25, 50, 100, 128}}}) {
    auto bitmap = image.createRenderTargetBitmap(c.mode);
    Media::Bitmap* drawn = bitmap->peek();
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->width(), 2u);
    cairo_surface_flush(drawn->surface());
    const uint8_t* p = cairo_image_surface_get_data(drawn->surface());
    EXPECT_EQ((std::array<int, 4>{p[0], p[1], p[2], p[3]}), (std::array<int, 4>{50, 100, 200, 255}));
    EXPECT_EQ((std::array<int, 4>{p[4], p[5], p[6], p[7]}), c.secondPixel);
  }
}

TEST(ImageBufferBitmap, OnlyEightBitRgbaImagesBecomeBitmaps) {
  Media::ImageBuffer image(10, 2, 2);
  try {
    image.createRenderTargetBitmap(Media::ImageBuffer::AlphaMode::Premultiplied);
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_NE(std::string(e.what()).find("target->CreateBitmap() failed."), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("Media::ImageBuffer::createRenderTargetBitmap()"),
              std::string::npos);
  }
}

}  // namespace
