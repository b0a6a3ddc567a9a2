// Files of the AVI writer read back by the program's own AVI reader and by FFmpeg: every
// video and audio type, and a file of several OpenDML parts.
#include <gtest/gtest.h>

#include <cstring>

#include "avi_save_fixture.h"
#include "ffmpeg_read_back.h"
#include "media/audio/audio_buffer.h"
#include "media/avi/avi_file_reader.h"
#include "media/input/input_file.h"

namespace {

using namespace AviSaveTest;

// Every pixel of a frame read back, rows top-down at `pitch`, against the test picture.
void expectPicture(const uint8_t* pixels, uint64_t pitch, uint32_t pixelBytes, int32_t format,
                   int frame, uint32_t width, uint32_t height) {
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      for (uint32_t k = 0; k < pixelBytes; ++k)
        ASSERT_EQ(pixels[y * pitch + x * pixelBytes + k], pictureByte(format, frame, x, y, k))
            << "frame " << frame << " at " << x << "," << y << " byte " << k;
}

// The program's reader: the description, every frame and the first second of sound.
void expectOurReader(const std::string& path, int32_t format, int32_t formatTag, int frames,
                     int64_t samples) {
  Plugin::AviFileReader reader;
  const auto file = reader.openFile(path);
  ASSERT_TRUE(file);
  const Plugin::MediaDescription& d = file->description();
  EXPECT_EQ(d.kinds, Plugin::kKindVideo | Plugin::kKindAudio);
  EXPECT_EQ(d.frameCount, frames);
  EXPECT_EQ(d.pixelFormat, format);
  EXPECT_EQ(d.width, 320);
  EXPECT_EQ(d.height, 240);
  EXPECT_EQ(d.rate, 30);
  EXPECT_EQ(d.scale, 1);
  EXPECT_EQ(d.audioSampleCount, samples);
  EXPECT_EQ(d.audioFormatTag, formatTag);
  EXPECT_EQ(d.bitsPerSample, formatTag == 1 ? 16 : 32);
  EXPECT_EQ(d.channels, 2);
  EXPECT_EQ(d.samplingRate, 48000);
  for (int frame = 0; frame < frames; ++frame) {
    const auto image = file->readVideo(frame);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->format, format);
    expectPicture(image->data(), image->pitch, Media::ImageBuffer::getBytesPerPixel(format),
                  format, frame, 320, 240);
  }
  const auto sound = file->readAudio(0);
  ASSERT_TRUE(sound);
  for (int channel = 0; channel < 2; ++channel) {
    const float* values = sound->getChannelData(channel);
    for (int64_t k = 0; k < samples + 100; ++k)
      ASSERT_EQ(values[k], k < samples ? sampleValue(k) : 0.0f) << "sample " << k;
  }
}

// FFmpeg's demuxer and decoders: the streams' formats, every frame and every sample.
void expectFfmpeg(const std::string& path, int32_t format, AVPixelFormat pixelFormat,
                  uint32_t pixelBytes, int32_t formatTag, int frames, int64_t samples) {
  const FfmpegContents contents = readWithFfmpeg(path);
  EXPECT_EQ(contents.videoCodec, AV_CODEC_ID_RAWVIDEO);
  EXPECT_EQ(contents.pixelFormat, pixelFormat);
  EXPECT_EQ(contents.width, 320);
  EXPECT_EQ(contents.height, 240);
  ASSERT_EQ(contents.frames.size(), static_cast<size_t>(frames));
  for (int frame = 0; frame < frames; ++frame)
    expectPicture(contents.frames[frame].data(), 320 * pixelBytes, pixelBytes, format, frame, 320,
                  240);

  const bool pcm = formatTag == 1;
  EXPECT_EQ(contents.audioCodec, pcm ? AV_CODEC_ID_PCM_S16LE : AV_CODEC_ID_PCM_F32LE);
  EXPECT_EQ(contents.sampleFormat, pcm ? AV_SAMPLE_FMT_S16 : AV_SAMPLE_FMT_FLT);
  EXPECT_EQ(contents.channels, 2);
  EXPECT_EQ(contents.sampleRate, 48000);
  ASSERT_EQ(contents.audioSamples, samples);
  for (int64_t k = 0; k < samples * 2; ++k) {
    const uint8_t* at = contents.audio.data() + k * (pcm ? 2 : 4);
    if (pcm) {
      int16_t value;
      std::memcpy(&value, at, sizeof value);
      ASSERT_EQ(value, OutputTest::samplePattern(k / 2)) << "sample " << k / 2;
    } else {
      float value;
      std::memcpy(&value, at, sizeof value);
      ASSERT_EQ(value, sampleValue(k / 2)) << "sample " << k / 2;
    }
  }
}

class AviExportReadBackTest : public AviSaveFixture {};

TEST_F(AviExportReadBackTest, OurReaderReadsEveryType) {
  struct Case {
    const char* videoType;
    const char* audioType;
    int32_t format;
    int32_t formatTag;
  };
  const Case cases[] = {
      {"RGB24bit", "PCM16bit", Plugin::kFrameBgr24, 1},
      {"RGBA32bit", "PCM(float)32bit", Plugin::kFrameBgra32, 3},
      {"YUY2", "PCM16bit", Plugin::kFrameYuy2, 1},
      {"RGBA64bit(RU64)", "PCM(float)32bit", Plugin::kFrameRgba64, 3},
      {"RGBA64bit(RF64)", "PCM16bit", Plugin::kFrameRgba64Float, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.videoType);
    expectOurReader(saveAs(c.videoType, c.audioType), c.format, c.formatTag, 3, 4800);
  }
}

TEST_F(AviExportReadBackTest, FfmpegReadsTheFile) {
  struct Case {
    const char* videoType;
    const char* audioType;
    AVPixelFormat pixelFormat;
    uint32_t pixelBytes;
    int32_t formatTag;
  };
  const Case cases[] = {
      {"RGB24bit", "PCM16bit", AV_PIX_FMT_BGR24, 3, 1},
      {"RGBA32bit", "PCM(float)32bit", AV_PIX_FMT_BGRA, 4, 3},
      {"YUY2", "PCM(float)32bit", AV_PIX_FMT_YUYV422, 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.videoType);
    expectFfmpeg(saveAs(c.videoType, c.audioType), Plugin::aviVideoFormat(c.videoType),
                 c.pixelFormat, c.pixelBytes, c.formatTag, 3, 4800);
  }
}

// Three parts of two, two and one frames, found through the OpenDML indexes.
TEST_F(AviExportReadBackTest, BothReadersReadEveryPart) {
  setFrames(5);
  save("odml.avi", 300000);
  expectOurReader(path("odml.avi"), Plugin::kFrameBgr24, 1, 5, 8000);
  expectFfmpeg(path("odml.avi"), Plugin::kFrameBgr24, AV_PIX_FMT_BGR24, 3, 1, 5, 8000);
}

}  // namespace
