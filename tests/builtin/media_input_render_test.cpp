// The movie and image inputs rendered through the picture cache over a fake reader: which
// frame of a movie an object frame shows, and which file of a numbered image sequence.
#include <gtest/gtest.h>

#include "builtin/input/image_load.h"
#include "builtin/input/movie_load.h"
#include "effect/media_input_source.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service_seams.h"
#include "render/render_test_support.h"
#include "system/file.h"
#include "system/temp_folder.h"

namespace {

using TestSupport::DrawOutput;
using TestSupport::nearHalf;
using TestSupport::Rgba;

// A picture of 8 x 8 pixels whose red is value / 255.
std::shared_ptr<Media::ImageBuffer> redPicture(int value) {
  auto image = Media::ImageBuffer::makeShared(Plugin::PixelFormat::kRgba, 8, 8);
  for (uint32_t y = 0; y < 8; ++y)
    for (uint32_t x = 0; x < 8; ++x) {
      uint8_t* pixel = image->row(y) + x * 4;
      pixel[0] = static_cast<uint8_t>(value);
      pixel[1] = pixel[2] = 0;
      pixel[3] = 255;
    }
  return image;
}

// ".mov": 10 frames at 10 per second, frame n red 20 x n. ".png": one picture whose red is
// 10 x the number in its name.
class FakeFile : public Plugin::InputFile {
 public:
  FakeFile(int frames, int base) : base_(base) {
    description_.kinds = Plugin::kKindVideo;
    description_.frameCount = frames;
    description_.rate = 10;
    description_.scale = 1;
    description_.width = description_.height = 8;
    description_.pixelFormat = Plugin::PixelFormat::kRgba;
  }
  std::shared_ptr<Media::ImageBuffer> readVideo(int32_t frame) override {
    return redPicture(base_ + 20 * frame);
  }

 private:
  int base_;
};

class FakeReader : public Plugin::InputPlugin {
 public:
  FakeReader() : InputPlugin("fake", {{"Fake", "*.mov;*.png"}}, "", Plugin::kReaderVideo) {}
  std::shared_ptr<Plugin::InputFile> openFile(const std::string& path) override {
    if (path.ends_with(".mov")) return std::make_shared<FakeFile>(10, 0);
    const auto digits = path.find_last_of("0123456789");
    const auto first = path.find_last_not_of("0123456789", digits) + 1;
    return std::make_shared<FakeFile>(1, 10 * std::stoi(path.substr(first, digits - first + 1)));
  }
};

class MediaInputRenderTest : public ::testing::Test {
 protected:
  MediaInputRenderTest()
      : world_(Plugin::InputService::PluginList{std::make_shared<FakeReader>()}),
        source_(*Plugin::InputService::instance()) {
    Effect::setMediaInputSource(&source_);
    world_.scene().width = 64;
    world_.scene().height = 48;
  }
  ~MediaInputRenderTest() override { Effect::setMediaInputSource(nullptr); }
  // The red of the frame's centre, in 1/255.
  int redAt(int frame) {
    auto result = world_.render(frame);
    if (!result.image) {
      ADD_FAILURE() << "frame " << frame << " failed";
      return -1;
    }
    const Rgba centre = TestSupport::halfPixel(*result.image, 32, 24);
    return static_cast<int>(std::lround(centre[0] * 255.0f));
  }

  TestSupport::RenderWorld world_;
  Plugin::InputServiceSource source_;
};

TEST_F(MediaInputRenderTest, AMovieShowsTheFrameOfItsTime) {
  auto movie = std::make_shared<Effect::MovieLoad>();
  movie->file.path = "/media/clip.mov";
  auto object = world_.placeEffect(0, 0, 200, movie);
  object->effects.push_back(std::make_shared<DrawOutput>());
  // The scene runs at 30 frames per second, the movie at 10: scene frame 6 is movie frame 2.
  EXPECT_EQ(redAt(0), 0);
  EXPECT_EQ(redAt(6), 40);
  EXPECT_EQ(redAt(27), 180);
  EXPECT_EQ(redAt(150), 180) << "past its end a movie holds its last frame";
}

TEST_F(MediaInputRenderTest, ANumberedSequenceShowsOneFilePerFrame) {
  TestSupport::TempFolder folder;
  for (int n : {3, 4, 5, 6, 7, 9, 10})
    folder.writeFile("a" + std::string(n < 10 ? "000" : "00") + std::to_string(n) + ".png", "");
  auto image = std::make_shared<Effect::ImageLoad>();
  image->file.path = folder.path() + "/a0005.png";
  auto object = world_.placeEffect(0, 0, 200, image);
  object->effects.push_back(std::make_shared<DrawOutput>());
  EXPECT_EQ(redAt(2), 50) << "without the sequence every frame shows the chosen file";
  image->sequence.value = true;
  struct Case {
    int frame;
    int number;
  };
  const Case cases[] = {{0, 5}, {5, 5}, {6, 6}, {8, 7}, {9, 9}, {10, 10}, {40, 10}};
  for (const auto& c : cases) EXPECT_EQ(redAt(c.frame), 10 * c.number) << c.frame;
  // A value for "表示番号" names the number instead of the frame.
  image->number.setValue(9, 0);
  EXPECT_EQ(redAt(0), 90);
}

}  // namespace

#include "render/cache_mask_images.h"
#include "render/resource_cache.h"

namespace {

TEST_F(MediaInputRenderTest, TheMaskTakesCopiesOfNamedBuffersAndCachedPictures) {
  Render::CacheMaskImages masks;
  Render::ResourceCache named(1 << 20);
  auto picture = TestSupport::solidHalfImage(6, 4, {0, 1, 0, 1});
  std::shared_ptr<Media::ResourceBuffer> original =
      Media::ResourceBuffer::createFromImageBuffer(picture.get());
  named.add("mask", original, 24);
  auto copy = masks.namedBuffer(named, "mask");
  ASSERT_TRUE(copy);
  EXPECT_NE(copy.get(), original.get());
  EXPECT_EQ(copy->width(), 6u);
  EXPECT_EQ(copy->height(), 4u);
  EXPECT_FALSE(masks.namedBuffer(named, "missing"));

  masks.preloadImage("/media/a0004.png");
  auto file = masks.fileImage("/media/a0004.png");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->width(), 8u);
  EXPECT_FALSE(masks.sceneFrameImage(0, 0.0)) << "the root scene is never a source";
}

}  // namespace
