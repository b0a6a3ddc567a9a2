// Textures released by the thread that made them are reused by its next texture of the same
// shape, and only where no other context can see the difference.
#include "gpu/gl/texture_shelf.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "gpu/gl/cpu_access_buffer.h"
#include "gpu/gpu_test_support.h"
#include "gpu/pixel_format.h"

namespace {

using Media::CpuAccessBuffer;
using Media::GpuTexture;
using Media::TextureShelf;
using TestSupport::GpuTest;

constexpr int32_t kRgba8 = Media::DxgiFormat::R8G8B8A8_UNORM;

// Pixels of one byte value, 4 bytes each.
std::vector<uint8_t> filledPixels(uint32_t width, uint32_t height, uint8_t value) {
  return std::vector<uint8_t>(static_cast<std::size_t>(width) * height * 4, value);
}

std::shared_ptr<GpuTexture> makeTexture(uint32_t width, uint32_t height, int32_t format,
                                        const std::vector<uint8_t>* pixels,
                                        bool fullyWritten = false) {
  GpuTexture::Description description;
  description.width = width;
  description.height = height;
  description.format = format;
  description.fullyWritten = fullyWritten;
  const Media::TextureData data{pixels ? pixels->data() : nullptr, uint64_t{width} * 4,
                                pixels ? pixels->size() : 0};
  return GpuTexture::create(description, pixels ? &data : nullptr, "create", "test");
}

// The texture's bytes, rows packed.
std::vector<uint8_t> readBytes(GpuTexture& texture) {
  std::vector<uint8_t> bytes(uint64_t{texture.width()} * 4 * texture.height());
  CpuAccessBuffer::readInto(texture, bytes.data(), texture.width() * 4, bytes.size());
  return bytes;
}

class TextureShelfTest : public GpuTest {
 protected:
  void SetUp() override {
    GpuTest::SetUp();
    service().context();
    TextureShelf::clear();
  }
  void TearDown() override {
    TextureShelf::clear();
    GpuTest::TearDown();
  }
};

TEST_F(TextureShelfTest, AReleasedTextureServesTheNextOfItsShapeWithTheNewContents) {
  const auto first = filledPixels(8, 4, 0x11);
  const auto second = filledPixels(8, 4, 0x77);
  auto texture = makeTexture(8, 4, kRgba8, &first);
  const GLuint name = texture->name();
  texture.reset();
  EXPECT_EQ(TextureShelf::size(), 1u);
  EXPECT_TRUE(glIsTexture(name)) << "the name was deleted instead of kept";

  auto reused = makeTexture(8, 4, kRgba8, &second);
  EXPECT_EQ(reused->name(), name);
  EXPECT_EQ(TextureShelf::size(), 0u);
  EXPECT_EQ(readBytes(*reused), second);

  // A texture its maker fills by drawing may take a kept name as well.
  reused.reset();
  const auto drawn = makeTexture(8, 4, kRgba8, nullptr, true);
  EXPECT_EQ(drawn->name(), name);
}

// Each row: a texture released on the making thread that must not serve the next one.
TEST_F(TextureShelfTest, NoNameIsReusedWhereTheContentsOrAnotherContextCouldTell) {
  const auto pixels = filledPixels(8, 4, 0x33);
  struct Case {
    const char* what;
    int32_t nextFormat;
    uint32_t nextWidth;
    bool madeEmpty;       // made without pixels and not said to be fully written
    bool usedElsewhere;   // another thread's context used it
  };
  const Case cases[] = {
      {"another size", kRgba8, 16, false, false},
      {"another texel format", Media::DxgiFormat::R16G16B16A16_FLOAT, 8, false, false},
      {"made empty: it must start cleared", kRgba8, 8, true, false},
      {"used by another thread's context", kRgba8, 8, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextureShelf::clear();
    auto texture = makeTexture(8, 4, kRgba8, c.madeEmpty ? nullptr : &pixels);
    const GLuint name = texture->name();
    if (c.usedElsewhere) {
      std::thread user([&] {
        service().context();
        Media::bindTextureUnit(Media::ShaderResourceView(texture), 0);
        glBindTextureUnit(0, 0);
        glFinish();
      });
      user.join();
    }
    texture.reset();
    if (c.madeEmpty || c.usedElsewhere) {
      EXPECT_EQ(TextureShelf::size(), 0u);
      EXPECT_FALSE(glIsTexture(name)) << "the name outlived its texture";
      continue;
    }
    const auto nextPixels = filledPixels(c.nextWidth, 4, 0x44);
    const auto next = makeTexture(c.nextWidth, 4, c.nextFormat,
                                  c.nextFormat == kRgba8 ? &nextPixels : nullptr, true);
    EXPECT_NE(next->name(), name);
    EXPECT_EQ(TextureShelf::size(), 1u) << "the kept name of another shape stays kept";
  }
}

TEST_F(TextureShelfTest, TheOldestKeptNameGoesWhenTheShelfIsFull) {
  std::vector<GLuint> names;
  for (uint32_t i = 0; i <= TextureShelf::kCapacity; ++i) {
    const auto pixels = filledPixels(4 + i, 4, 0x10);
    auto texture = makeTexture(4 + i, 4, kRgba8, &pixels);
    names.push_back(texture->name());
  }
  EXPECT_EQ(TextureShelf::size(), TextureShelf::kCapacity);
  EXPECT_FALSE(glIsTexture(names.front()));
  for (std::size_t i = 1; i < names.size(); ++i) EXPECT_TRUE(glIsTexture(names[i])) << i;

  TextureShelf::clear();
  for (const GLuint name : names) EXPECT_FALSE(glIsTexture(name));
}

}  // namespace
