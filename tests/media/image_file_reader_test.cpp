// The still-image reader: its registration data, a picture opened as a one-frame video, and
// each read decoding the file anew.
#include "media/image/image_file_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "media/image_test_files.h"
#include "media/image_test_support.h"

namespace {

using ImageTestSupport::failureOf;
using ImageTestSupport::Pixel;
using ImageTestSupport::pixelAt;
using ::testing::HasSubstr;

class ImageFileReaderTest : public ImageTestSupport::ImageFixture {
 protected:
  std::string writeBmp(const std::string& name, uint32_t width, uint32_t height, uint8_t value) {
    return write(name, ImageTestFiles::makeBmp24(
                           std::vector<uint8_t>(std::size_t{width} * height * 3, value), width,
                           height));
  }
  Plugin::ImageFileReader reader_;
};

TEST_F(ImageFileReaderTest, RegistersAsAVideoAndImageReaderOfFourExtensions) {
  EXPECT_EQ(reader_.name(), "WIC image file reader");
  EXPECT_EQ(reader_.kinds(), 9);
  EXPECT_EQ(reader_.information(), "");
  ASSERT_EQ(reader_.filter().size(), 4u);
  EXPECT_EQ(reader_.filter()[0].description, "PngFile (*.png)");
  EXPECT_EQ(reader_.filter()[3].patterns, "*.gif");
  EXPECT_EQ(reader_.getExtList(), (std::vector<std::string>{"png", "jpg", "bmp", "gif"}));
}

TEST_F(ImageFileReaderTest, APictureIsOneFrameOfItsSize) {
  const auto file = reader_.openFile(writeBmp("picture.bmp", 5, 3, 40));
  ASSERT_TRUE(file);
  const auto& description = file->description();
  EXPECT_EQ(description.kinds, Plugin::kKindVideo);
  EXPECT_EQ(description.frameCount, 1);
  EXPECT_EQ(description.rate, 1);
  EXPECT_EQ(description.scale, 1);
  EXPECT_EQ(description.pixelFormat, Plugin::PixelFormat::kRgba);
  EXPECT_EQ(description.width, 5);
  EXPECT_EQ(description.height, 3);
  EXPECT_EQ(file->videoSeconds(), 1.0);
  EXPECT_THAT(failureOf([&] { file->readAudio(0); }), HasSubstr("not implement."));
}

TEST_F(ImageFileReaderTest, EveryReadDecodesTheFileAnewWhateverTheFrame) {
  const std::string path = writeBmp("picture.bmp", 2, 2, 40);
  const auto file = reader_.openFile(path);
  for (int32_t frame : {0, 1, -5, 1000}) {
    const auto image = file->readVideo(frame);
    ASSERT_TRUE(image) << frame;
    EXPECT_EQ(pixelAt(*image, 1, 1), (Pixel{40, 40, 40, 255})) << frame;
  }
  EXPECT_NE(file->readVideo(0), file->readVideo(0));
  // The file is read again: a changed picture shows, a removed one fails.
  writeBmp("picture.bmp", 2, 2, 90);
  EXPECT_EQ(pixelAt(*file->readVideo(0), 0, 0), (Pixel{90, 90, 90, 255}));
  std::filesystem::remove(path);
  EXPECT_THAT(failureOf([&] { file->readVideo(0); }),
              HasSubstr("factory->CreateDecoderFromFilename() failed."));
}

TEST_F(ImageFileReaderTest, AFileThatDoesNotDecodeFailsTheOpen) {
  const std::string path = write("broken.png", "not a picture");
  EXPECT_THAT(failureOf([&] { reader_.openFile(path); }),
              HasSubstr("[Place]\nMedia::ImageService::loadFromFile()"));
}

TEST(ImageFileReaderWithoutServiceTest, OpeningNeedsTheImageService) {
  Plugin::ImageFileReader reader;
  EXPECT_THAT(failureOf([&] { reader.openFile("/nonexistent.png"); }),
              HasSubstr("ImageService not created."));
}

}  // namespace
