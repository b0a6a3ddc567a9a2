// 2-D drawing into GPU images: shapes and text drawn in main memory and laid over the image
// on the GPU, read back and checked at known pixels.
#include "gpu/draw2d/resource_surface.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <thread>

#include "gpu/gpu_test_support.h"

namespace {

using testing::HasSubstr;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

class SurfaceTest : public TestSupport::GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    direct2D_.emplace();
  }
  void TearDown() override {
    direct2D_.reset();
    GpuTest::TearDown();
  }

  // A buffer of one colour in the device's format.
  std::unique_ptr<Media::ResourceBuffer> filled(uint32_t width, uint32_t height, const Rgba& color) {
    auto buffer = std::make_unique<Media::ResourceBuffer>(width, height);
    buffer->clearRenderTarget(color.data());
    return buffer;
  }

  std::unique_ptr<Media::PathGeometry> square(float left, float top, float side) {
    const Media::Point2F corners[4] = {
        {left, top}, {left + side, top}, {left + side, top + side}, {left, top + side}};
    return Media::PathGeometry::createPolygon(corners, 4);
  }

  std::optional<System::ServiceHolder<Media::Direct2DService>> direct2D_;
};

// The outline is drawn before the fill, so a 4-pixel edge shows 2 pixels outside the shape;
// what is not drawn on keeps the image's colour.
TEST_F(SurfaceTest, AShapeWithAnEdgeIsLaidOverTheImage) {
  auto buffer = filled(40, 40, {0, 0.5f, 0, 1});
  const auto shape = square(10, 10, 20);
  const Media::SolidColorBrush blue({0, 0, 1, 1}), red({1, 0, 0, 1});
  {
    Media::ResourceBuffer::Surface surface(*buffer);
    surface.target().drawGeometry(*shape, &blue, 0, 0, &red, 4.0f, nullptr);
    surface.endDraw();
  }
  const auto image = buffer->readBack();
  EXPECT_TRUE(nearHalf(halfPixel(*image, 20, 20), {0, 0, 1, 1})) << "fill";
  EXPECT_TRUE(nearHalf(halfPixel(*image, 10, 20), {0, 0, 1, 1})) << "the fill covers the inner half";
  EXPECT_TRUE(nearHalf(halfPixel(*image, 9, 20), {1, 0, 0, 1})) << "edge";
  EXPECT_TRUE(nearHalf(halfPixel(*image, 8, 20), {1, 0, 0, 1})) << "edge";
  EXPECT_TRUE(nearHalf(halfPixel(*image, 7, 20), {0, 0.5f, 0, 1})) << "outside";
  EXPECT_TRUE(nearHalf(halfPixel(*image, 2, 2), {0, 0.5f, 0, 1})) << "untouched";
}

// Translucent paint composes over what the image held: premultiplied "over".
TEST_F(SurfaceTest, TranslucentPaintComposesOverTheImage) {
  auto buffer = filled(16, 16, {0, 0.5f, 0, 1});
  const auto shape = square(0, 0, 8);
  const Media::SolidColorBrush halfRed({1, 0, 0, 0.5f});
  {
    Media::ResourceBuffer::Surface surface(*buffer);
    surface.target().drawGeometry(*shape, &halfRed, 4, 4, nullptr, 0.0f, nullptr);
  }
  const auto image = buffer->readBack();
  const Rgba over{0.5f, 0.25f, 0, 1};
  EXPECT_TRUE(nearHalf(halfPixel(*image, 6, 6), over, 5e-3f));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 11, 11), over, 5e-3f));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 3, 6), {0, 0.5f, 0, 1}));
  EXPECT_TRUE(nearHalf(halfPixel(*image, 12, 12), {0, 0.5f, 0, 1}));
}

// Text laid out by Pango becomes an outline and is drawn: ink where the layout says it has
// ink, none elsewhere; a Japanese text has ink too.
TEST_F(SurfaceTest, TextIsDrawnWhereItsInkIs) {
  for (const char* text : {"Ag", "あ字"}) {
    SCOPED_TRACE(text);
    auto buffer = filled(160, 80, {0, 0, 0, 0});
    PangoLayout* layout = pango_layout_new(pango_font_map_create_context(
        Media::Direct2DService::Get().fontMap()));
    g_object_unref(pango_layout_get_context(layout));
    PangoFontDescription* font = pango_font_description_from_string("Noto Sans CJK JP 40px");
    pango_layout_set_font_description(layout, font);
    pango_font_description_free(font);
    pango_layout_set_text(layout, text, -1);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout, &ink, &logical);
    const auto outline = Media::PathGeometry::createFromLayout(layout);
    g_object_unref(layout);
    ASSERT_FALSE(outline->empty());

    const Media::SolidColorBrush white({1, 1, 1, 1});
    constexpr float kDx = 20, kDy = 5;
    {
      Media::ResourceBuffer::Surface surface(*buffer);
      surface.target().drawGeometry(*outline, &white, kDx, kDy, nullptr, 0, nullptr);
    }
    const auto image = buffer->readBack();
    int inked = 0, strayInk = 0;
    for (uint32_t y = 0; y < 80; ++y)
      for (uint32_t x = 0; x < 160; ++x) {
        const float alpha = halfPixel(*image, x, y)[3];
        const bool insideInk = x + 1 >= kDx + ink.x && x <= kDx + ink.x + ink.width &&
                               y + 1 >= kDy + ink.y && y <= kDy + ink.y + ink.height;
        if (alpha > 0.5f) ++inked;
        if (alpha > 0.0f && !insideInk) ++strayInk;
      }
    EXPECT_GT(inked, ink.width * ink.height / 10) << "a glyph covers part of its box";
    EXPECT_EQ(strayInk, 0);
  }
}

// A mask holds coverage only: the drawing's alpha goes into it, laid over what it held.
TEST_F(SurfaceTest, AMaskTakesTheCoverage) {
  Media::ResourceBuffer mask(8, 8, Media::DxgiFormat::A8_UNORM);
  const float half[4] = {0, 0, 0, 0.5f};
  mask.clearRenderTarget(half);
  const auto shape = square(0, 0, 4);
  const Media::SolidColorBrush opaque({0.2f, 0.4f, 0.6f, 1});
  {
    Media::ResourceBuffer::Surface surface(mask);
    surface.target().drawGeometry(*shape, &opaque, 0, 0, nullptr, 0, nullptr);
  }
  const auto image = mask.readBack();
  EXPECT_EQ(image->row(1)[1], 255);
  EXPECT_NEAR(image->row(6)[6], 128, 1);
}

TEST_F(SurfaceTest, AnExceptionInsideTheBracketStillUploadsAndUnlocks) {
  auto buffer = filled(8, 8, {0, 0, 0, 1});
  const auto shape = square(0, 0, 8);
  const Media::SolidColorBrush white({1, 1, 1, 1});
  EXPECT_THROW(
      {
        Media::ResourceBuffer::Surface surface(*buffer);
        surface.target().drawGeometry(*shape, &white, 0, 0, nullptr, 0, nullptr);
        throw std::runtime_error("stop");
      },
      std::runtime_error);
  bool lockedElsewhere = false;
  std::thread([&] {
    std::unique_lock lock(Media::Direct2DService::Get().multithread(), std::try_to_lock);
    lockedElsewhere = lock.owns_lock();
  }).join();
  EXPECT_TRUE(lockedElsewhere);
  EXPECT_TRUE(nearHalf(halfPixel(*buffer->readBack(), 4, 4), {1, 1, 1, 1}));
}

TEST_F(SurfaceTest, ImagesThatCannotBeDrawnOn) {
  Media::ResourceBuffer empty;
  EXPECT_THAT([&] { Media::ResourceBuffer::getSurface(empty); },
              testing::ThrowsMessage<std::exception>(AllOf(
                  HasSubstr("buffer.As() failed."), HasSubstr("Media::ResourceBuffer::getSurface()"))));

  // An image of a format that is only read: drawing on it would be lost, so it is refused.
  Media::ResourceBuffer picture(4, 4, Media::DxgiFormat::B8G8R8A8_UNORM);
  EXPECT_THAT([&] { Media::ResourceBuffer::Surface surface(picture); },
              testing::ThrowsMessage<std::exception>(
                  AllOf(HasSubstr("CreateBitmapFromDxgiSurface() failed."),
                        HasSubstr("Media::ResourceBuffer::getSurface()"))));
}

TEST_F(SurfaceTest, AFailedDrawingIsReportedAndNotLaidOverTheImage) {
  auto buffer = filled(8, 8, {0, 0, 0, 0});
  const auto shape = square(0, 0, 8);
  const Media::SolidColorBrush white({1, 1, 1, 1});
  {
    Media::ResourceBuffer::Surface surface(*buffer);
    surface.target().drawGeometry(*shape, &white, 0, 0, nullptr, 0, nullptr);
    // A drawing call gone wrong puts the context in an error state, as Cairo reports them.
    cairo_t* context = surface.target().context();
    cairo_restore(context);
    cairo_restore(context);  // more restores than saves: CAIRO_STATUS_INVALID_RESTORE
    EXPECT_THAT([&] { surface.endDraw(); },
                testing::ThrowsMessage<std::exception>(
                    AllOf(HasSubstr("target->EndDraw() failed."),
                          HasSubstr("Media::ResourceBuffer::Surface::endDraw()"))));
  }
  // The lock is free again and the image untouched.
  bool lockedElsewhere = false;
  std::thread([&] {
    std::unique_lock lock(Media::Direct2DService::Get().multithread(), std::try_to_lock);
    lockedElsewhere = lock.owns_lock();
  }).join();
  EXPECT_TRUE(lockedElsewhere);
  EXPECT_TRUE(nearHalf(halfPixel(*buffer->readBack(), 4, 4), {0, 0, 0, 0}));
}

}  // namespace
