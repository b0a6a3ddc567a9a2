// The render engine as the source of an export: frames rendered on the video worker in the
// asked format, a frame's sound of exactly its samples, and a failed frame's own error.
#include <gtest/gtest.h>

#include "output/output_file.h"
#include "render/render_test_support.h"

namespace {

class ExportProbe final : public Plugin::OutputFile {
 public:
  explicit ExportProbe(Plugin::ExportCaches& caches)
      : OutputFile("unused", true, Plugin::currentExportScene(), Plugin::makeRenderExportSource(),
                   caches) {}
  bool save() override { return true; }
};

class RenderExportSourceTest : public ::testing::Test {
 protected:
  RenderExportSourceTest() {
    world_.scene().width = 64;
    world_.scene().height = 48;
    auto red = std::make_shared<TestSupport::SolidInput>();
    red->width = 16;
    red->height = 16;
    world_.placeSolid(0, 0, 9, red);
    world_.placeSolid(1, 5, 5, std::make_shared<TestSupport::FailingInput>());
  }
  ~RenderExportSourceTest() override { caches_.stop(); }

  TestSupport::RenderWorld world_;
  Plugin::ExportCaches caches_;
};

TEST_F(RenderExportSourceTest, FramesAndSoundOfTheCurrentScene) {
  ExportProbe file(caches_);
  EXPECT_EQ(file.frameCount(), 10);
  EXPECT_EQ(file.scene().width, 64);

  const auto image = file.requireVideoFrame(2, Plugin::kFrameBgra32, true);
  ASSERT_EQ(image->format, Plugin::kFrameBgra32);
  ASSERT_EQ(image->width, 64u);
  const uint8_t* centre = image->row(24) + 32 * 4;
  EXPECT_EQ((std::array<int, 4>{centre[0], centre[1], centre[2], centre[3]}),
            (std::array<int, 4>{0, 0, 255, 255}))
      << "red, opaque, as B, G, R, A";
  const uint8_t* corner = image->row(0);
  EXPECT_EQ(corner[3], 0) << "outside the square nothing is drawn";

  const auto sound = file.requireAudioFrame(3, Plugin::kAudioFloat32);
  EXPECT_EQ(sound->sampleCount, 1600) << "48000 Hz at 30 frames a second";
  EXPECT_EQ(sound->blockAlign(), 8);
}

TEST_F(RenderExportSourceTest, AFailedFrameCarriesItsError) {
  ExportProbe file(caches_);
  try {
    file.requireVideoFrame(5, Plugin::kFrameBgr24, true);
    FAIL() << "no exception";
  } catch (const std::exception& error) {
    EXPECT_NE(std::string(error.what()).find("no picture."), std::string::npos) << error.what();
  }
  EXPECT_TRUE(file.getVideoFrame(6, Plugin::kFrameBgr24, true)) << "the next frame renders";
}

}  // namespace
