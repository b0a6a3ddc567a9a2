#include "gpu/render_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/gpu_test_support.h"
#include "gpu/image/image_buffer.h"
#include "gpu/readback_image.h"
#include "gpu/resource_buffer.h"

namespace {

using Media::RenderBuffer;
using testing::ElementsAre;
using testing::HasSubstr;
using TestSupport::GpuTest;
using TestSupport::halfPixel;
using TestSupport::nearHalf;
using TestSupport::Rgba;

// Fills the frame with one colour through the render target, as drawing would.
void fill(Media::Direct3DService& service, RenderBuffer& frame, const Rgba& color) {
  service.setRenderTarget(frame);
  glClearBufferfv(GL_COLOR, 0, color.data());
  service.unbindRenderTargets();
}

std::vector<int> bytesOf(const Media::ImageBuffer& image, uint32_t x, uint32_t y) {
  const uint8_t* pixel = image.row(y) + x * 4;
  return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

TEST_F(GpuTest, ATextureIsMadeOnlyWhenTheSizeChanges) {
  RenderBuffer frame;
  EXPECT_EQ(frame.format(), 10);
  EXPECT_EQ(frame.texture(), nullptr);
  frame.createTexture2D(0, 0);
  EXPECT_EQ(frame.texture(), nullptr);

  frame.createTexture2D(32, 16);
  const auto texture = frame.texture();
  ASSERT_NE(texture, nullptr);
  const auto view = frame.createRenderTargetView();
  frame.createTexture2D(32, 16);
  EXPECT_EQ(frame.texture(), texture);
  EXPECT_EQ(frame.createRenderTargetView(), view);

  frame.createTexture2D(16, 32);
  EXPECT_NE(frame.texture(), texture);
  EXPECT_NE(frame.createRenderTargetView(), view) << "views go with the old texture";
  EXPECT_EQ(frame.texture()->width(), 16u);

  EXPECT_THAT([&] { frame.createTexture2D(-4, 4); },
              testing::ThrowsMessage<std::exception>(AllOf(
                  HasSubstr("Direct3D.device->CreateTexture2D() failed."),
                  HasSubstr("Media::RenderBuffer::createTexture2D()"))));
  EXPECT_THAT([&] { frame.createTexture2D(16385, 4); },
              testing::ThrowsMessage<std::exception>(
                  HasSubstr("Direct3D.device->CreateTexture2D() failed.")));
}

// Frames in main memory in the formats of files and plug-ins. The frame holds the
// premultiplied colour; 8-bit images take it with straight alpha on request.
TEST_F(GpuTest, AFrameBecomesAnImageInEachOutputFormat) {
  struct Case {
    const char* name;
    Rgba frame;
    int32_t format;
    bool straightAlpha;
    std::vector<int> bytes;  // of pixel (0, 0), in memory order
  };
  const Case cases[] = {
      {"RGBA straight", {0.25f, 0.25f, 0.25f, 0.5f}, 28, true, {128, 128, 128, 128}},
      {"RGBA premultiplied", {0.25f, 0.25f, 0.25f, 0.5f}, 28, false, {64, 64, 64, 128}},
      {"BGRA straight", {0.25f, 0.125f, 0.0625f, 0.5f}, 87, true, {32, 64, 128, 128}},
      {"BGRA clamped to alpha", {0.8f, -0.2f, 0.3f, 0.5f}, 87, false, {77, 0, 128, 128}},
      {"BGRX opaque", {0.25f, 0.125f, 0.0625f, 0.5f}, 88, true, {16, 32, 64, 255}},
      {"transparent stays black", {0.0f, 0.0f, 0.0f, 0.0f}, 28, true, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RenderBuffer frame(3, 2);
    fill(service(), frame, c.frame);
    const auto image = frame.createImageBuffer(c.format, c.straightAlpha);
    ASSERT_EQ(image->format, c.format);
    ASSERT_EQ(image->width, 3u);
    const std::vector<int> actual = bytesOf(*image, 2, 1);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], c.bytes[i], 1) << "byte " << i;
  }

  RenderBuffer frame(3, 2);
  fill(service(), frame, {0.5f, -0.25f, 2.0f, 0.75f});
  const auto copy = frame.createImageBuffer(10, false);
  EXPECT_TRUE(nearHalf(halfPixel(*copy, 1, 1), {0.5f, -0.25f, 2.0f, 0.75f}));
}

TEST_F(GpuTest, AResourceCopyIsExactOrOpaque) {
  RenderBuffer frame(4, 4);
  fill(service(), frame, {0.25f, 0.5f, 0.125f, 0.5f});
  const auto exact = frame.createResourceBuffer(true);
  EXPECT_TRUE(nearHalf(halfPixel(*exact->readBack(), 3, 3), {0.25f, 0.5f, 0.125f, 0.5f}));
  const auto opaque = frame.createResourceBuffer(false);
  EXPECT_TRUE(nearHalf(halfPixel(*opaque->readBack(), 3, 3), {0.25f, 0.5f, 0.125f, 1.0f}));
}

TEST_F(GpuTest, AMultisampledFrameIsResolvedForEveryRead) {
  RenderBuffer frame(5, 3, 10, {4, 0});
  ASSERT_TRUE(frame.isMultisampled());
  fill(service(), frame, {0.5f, 0.25f, 1.0f, 1.0f});
  EXPECT_THAT([&] { frame.createShaderResourceView(); },
              testing::ThrowsMessage<std::exception>(
                  HasSubstr("Direct3D.device->CreateShaderResourceView() failed.")));

  EXPECT_TRUE(nearHalf(halfPixel(*frame.readBack(), 4, 2), {0.5f, 0.25f, 1.0f, 1.0f}));
  const auto resolved = frame.createResourceBuffer(false);
  EXPECT_TRUE(nearHalf(halfPixel(*resolved->readBack(), 0, 0), {0.5f, 0.25f, 1.0f, 1.0f}));
  const auto bytes = frame.createImageBuffer(28, false);
  EXPECT_EQ(bytesOf(*bytes, 4, 2), (std::vector<int>{128, 64, 255, 255}));

  Media::ReadbackImage preview;
  preview.setImage(frame);
  preview.read([](const Media::ImageBuffer& image) {
    EXPECT_EQ(image.width, 5u);
    EXPECT_EQ(bytesOf(image, 4, 2), (std::vector<int>{128, 64, 255, 255}));
  });
}

TEST_F(GpuTest, TheAuxiliaryBuffersAreMadeAndClearedOnce) {
  RenderBuffer frame(6, 4);
  Media::ResourceBuffer* depth = frame.getOitDepthBuffer1();
  ASSERT_NE(depth, nullptr);
  EXPECT_EQ(depth->format(), 41);
  EXPECT_EQ(depth->width(), 6u);
  EXPECT_EQ(depth->height(), 4u);
  const auto image = depth->readBack();
  for (uint32_t y = 0; y < 4; ++y)
    for (uint32_t x = 0; x < 6; ++x) {
      float value;
      std::memcpy(&value, image->row(y) + x * 4, 4);
      ASSERT_EQ(value, 1e10f) << x << ", " << y;
    }
  // What the drawing wrote stays: a second request neither remakes nor clears.
  depth->clear(3.0f);
  EXPECT_EQ(frame.getOitDepthBuffer1(), depth);
  float value;
  std::memcpy(&value, frame.getOitDepthBuffer1()->readBack()->data(), 4);
  EXPECT_EQ(value, 3.0f);

  EXPECT_EQ(frame.getOitDepthBuffer2()->format(), 41);
  EXPECT_NE(frame.getOitDepthBuffer2(), depth);
  EXPECT_EQ(frame.getOitColorBuffer1()->format(), frame.format());
  EXPECT_TRUE(nearHalf(halfPixel(*frame.getOitColorBuffer1()->readBack(), 5, 3), {0, 0, 0, 0}));
  for (Media::ResourceBuffer* normals : {frame.getOitColorBuffer2(), frame.getOitColorBuffer3()}) {
    EXPECT_EQ(normals->format(), 10);
    EXPECT_TRUE(nearHalf(halfPixel(*normals->readBack(), 5, 3), {0, 0, 0, -1}));
  }
}

TEST_F(GpuTest, UnorderedViewsAreBoundFromSlotOneBesideTheTarget) {
  RenderBuffer frame(4, 4);
  const auto depth = frame.getOitDepthBuffer1()->createUnorderedAccessView();
  const auto normals = frame.getOitColorBuffer2()->createUnorderedAccessView();
  const Media::UnorderedAccessView* views[] = {depth.get(), normals.get()};
  service().setRenderTargetAndUnorderedAccess(frame, 2, views);
  auto boundImage = [](GLuint unit) {
    GLint name = 0;
    glGetIntegeri_v(GL_IMAGE_BINDING_NAME, unit, &name);
    return static_cast<GLuint>(name);
  };
  EXPECT_EQ(boundImage(1), depth->texture()->name());
  EXPECT_EQ(boundImage(2), normals->texture()->name());
  service().unbindRenderTargets();
  EXPECT_EQ(boundImage(1), 0u);
  EXPECT_EQ(boundImage(2), 0u);
}

TEST_F(GpuTest, TheReadbackImageHoldsTheFrameIn8Bits) {
  RenderBuffer frame(33, 2);
  fill(service(), frame, {0.25f, 0.5f, 1.0f, 1.0f});
  Media::ReadbackImage preview;
  preview.setImage(frame);
  std::lock_guard lock(preview.mutex());
  const Media::ImageBuffer& image = preview.image();
  EXPECT_EQ(image.format, 28);
  EXPECT_EQ(image.width, 33u);
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(image.pitch, 160u);
  EXPECT_EQ(bytesOf(image, 32, 1), (std::vector<int>{64, 128, 255, 255}));
}

// A frame read back lands in an image of the read-back pool: one dropped comes back for the
// next frame, filled anew.
TEST_F(GpuTest, FramesReadBackReuseTheImagesDroppedBefore) {
  // A size no other test reads back, so that no block of another test fits as well.
  RenderBuffer frame(37, 3);
  fill(service(), frame, {1.0f, 0.0f, 0.0f, 1.0f});
  auto first = frame.readBack();
  EXPECT_EQ(first->pitch, 320u);  // 37 x 8 bytes rounded up to 32
  const uint8_t* block = first->data();
  first.reset();
  fill(service(), frame, {0.0f, 1.0f, 0.0f, 1.0f});
  const auto second = frame.readBack();
  EXPECT_EQ(second->data(), block);
  EXPECT_TRUE(nearHalf(halfPixel(*second, 36, 2), {0, 1, 0, 1}));
}

// A direct read refuses memory it cannot fill row by row.
TEST_F(GpuTest, AReadIntoMemoryNeedsWholeTexelsAndEveryRow) {
  RenderBuffer frame(4, 2);  // 8-byte texels, 32-byte rows
  fill(service(), frame, {0.0f, 0.0f, 1.0f, 1.0f});
  std::vector<uint8_t> pixels(2 * 40);
  struct Case {
    const char* what;
    uint32_t pitch;
    uint64_t size;
  };
  const Case refused[] = {
      {"a pitch of part of a texel", 36, 72}, {"a row cut short", 24, 48}, {"too few bytes", 32, 63}};
  for (const Case& c : refused)
    EXPECT_ANY_THROW(Media::CpuAccessBuffer::readInto(*frame.texture(), pixels.data(), c.pitch,
                                                      c.size))
        << c.what;
  Media::CpuAccessBuffer::readInto(*frame.texture(), pixels.data(), 40, pixels.size());
  Media::ImageBuffer image(10, 4, 2, 40);
  std::memcpy(image.data(), pixels.data(), pixels.size());
  EXPECT_TRUE(nearHalf(halfPixel(image, 3, 1), {0, 0, 1, 1}));
}

}  // namespace

namespace {

class RenderBufferResizeTest : public TestSupport::GpuTest {};

TEST_F(RenderBufferResizeTest, TheThreeDimensionalBuffersFollowTheFramesSize) {
  Media::RenderBuffer frame(16, 8);
  ASSERT_EQ(frame.getOitDepthBuffer1()->width(), 16u);
  frame.createTexture2D(32, 24);
  for (Media::ResourceBuffer* buffer :
       {frame.getOitDepthBuffer1(), frame.getOitColorBuffer1(), frame.getOitDepthBuffer2(),
        frame.getOitColorBuffer2(), frame.getOitColorBuffer3()}) {
    EXPECT_EQ(buffer->width(), 32u);
    EXPECT_EQ(buffer->height(), 24u);
  }
}

}  // namespace
