// The PNG and JPEG writers: the cursor frame (clamped to the scene) through the image
// service, with or without alpha, at the chosen quality; no file when there is no frame.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fake_export_source.h"
#include "media/image/image_service.h"
#include "output/still_file_save.h"
#include "system/service_holder.h"

namespace {

class StillFileSaveTest : public ::testing::Test {
 protected:
  StillFileSaveTest() {
    directory_ = std::filesystem::temp_directory_path() /
                 ("velumo_still_" + std::to_string(::getpid()));
    std::filesystem::create_directories(directory_);
    scene_ = OutputTest::smallScene(10);
    scene_.cursorFrame = 50;  // beyond the last frame: frame 9 is saved
    source_ = std::make_shared<OutputTest::FakeExportSource>(scene_);
  }
  ~StillFileSaveTest() override { std::filesystem::remove_all(directory_); }

  std::string path(const char* name) const { return (directory_ / name).string(); }

  System::ServiceHolder<Media::ImageService> images_;
  std::filesystem::path directory_;
  Plugin::ExportScene scene_;
  std::shared_ptr<OutputTest::FakeExportSource> source_;
  Plugin::ExportCaches caches_;
};

// Pixel (0, 0) of a decoded file: R, G, B, A.
std::array<int, 4> firstPixel(const std::string& path) {
  const auto image = Media::ImageService::Get().loadFromFile(path);
  const uint8_t* p = image->data();
  return {p[0], p[1], p[2], p[3]};
}

TEST_F(StillFileSaveTest, PngKeepsOrDropsAlpha) {
  const int grey = OutputTest::framePattern(9);
  struct Case {
    bool transparent;
    std::array<int, 4> pixel;
  };
  // The frame holds premultiplied B = G = R = A = grey: with alpha that is white at that
  // opacity; without, the colour bytes as they are, opaque.
  const Case cases[] = {{true, {255, 255, 255, grey}}, {false, {grey, grey, grey, 255}}};
  for (const Case& c : cases) {
    Plugin::PngFileSave plugin;
    plugin.setTransparent(c.transparent);
    const std::string file = path(c.transparent ? "alpha.png" : "opaque.png");
    Plugin::PngFileSaveFile save(file, plugin, scene_, source_, caches_);
    ASSERT_TRUE(save.save());
    EXPECT_EQ(firstPixel(file), c.pixel) << c.transparent;
    EXPECT_FALSE(save.notify()) << "stills show no completion balloon";
  }
  EXPECT_EQ(source_->videoFrames().front(), 9);
}

TEST_F(StillFileSaveTest, JpegAtItsQuality) {
  const int grey = OutputTest::framePattern(9);
  Plugin::JpgFileSave plugin;
  EXPECT_EQ(plugin.getSettingText(), "JPEG品質:90");
  std::uintmax_t sizes[2] = {};
  int i = 0;
  for (int quality : {10, 100}) {
    plugin.setQuality(quality);
    const std::string file = path(quality == 10 ? "low.jpg" : "high.jpg");
    Plugin::JpgFileSaveFile save(file, plugin, scene_, source_, caches_);
    ASSERT_TRUE(save.save());
    const auto pixel = firstPixel(file);
    for (int channel = 0; channel < 3; ++channel) EXPECT_NEAR(pixel[channel], grey, 3);
    sizes[i++] = std::filesystem::file_size(file);
  }
  EXPECT_LT(sizes[0], sizes[1]) << "the quality reaches the encoder";
}

TEST_F(StillFileSaveTest, NoFrameNoFile) {
  source_->failVideo = {9};
  Plugin::PngFileSave png;
  Plugin::PngFileSaveFile save(path("none.png"), png, scene_, source_, caches_);
  EXPECT_FALSE(save.save());
  EXPECT_FALSE(std::filesystem::exists(path("none.png")));
}

TEST(StillFileSaveSettingsTest, SettingTexts) {
  Plugin::PngFileSave png;
  EXPECT_EQ(png.getSettingText(), "PNGファイル(透過付き)");
  png.setTransparent(false);
  EXPECT_EQ(png.getSettingText(), "PNGファイル(透過無し)");
  EXPECT_EQ(png.kinds(), 5);
  EXPECT_EQ(png.name(), "PNGファイル出力");
}

}  // namespace
