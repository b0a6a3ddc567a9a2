// Audio of AVI files: one-second blocks read straight from 16-bit PCM and float streams or
// decoded from a compressed stream, silence past the end, and the formats the reader leaves
// out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/avi_test_codec.h"
#include "media/avi_test_file.h"
#include "media/avi_test_media.h"
#include "system/log_capture.h"

namespace {

using namespace AviTest;

constexpr int kRate = 48000;

AudioStream pcmStereo(int64_t total, int64_t perChunk) {
  AudioStream audio;
  audio.samplesPerSec = kRate;
  audio.chunks = pcm16StereoChunks(total, perChunk);
  return audio;
}

// Block `block` holds the test sound up to `total` sample frames, then silence.
void expectPcmBlock(const Media::AudioBuffer& buffer, int block, int64_t total) {
  ASSERT_EQ(buffer.channels(), 2);
  ASSERT_EQ(buffer.sampleCount(), kRate);
  for (int i = 0; i < kRate; ++i) {
    const int64_t index = int64_t{block} * kRate + i;
    for (int c = 0; c < 2; ++c) {
      const float want = index < total ? sampleOf(index, c) / 32768.0f : 0.0f;
      ASSERT_EQ(buffer.getChannelData(c)[i], want) << "block " << block << " sample " << i;
    }
  }
}

TEST(AviAudioTest, PcmBlocksReadTheirSecondAndSilencePastTheEnd) {
  const struct {
    const char* name;
    Index index;
  } cases[] = {
      {"idx1", Index::Idx1Relative},
      {"movi scanned", Index::None},
      {"OpenDML with an AVIX part", Index::OpenDml},
  };
  const int64_t total = kRate * 3 / 2;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    File file;
    file.audio = pcmStereo(total, 10000);  // chunks that do not line up with the seconds
    file.index = c.index;
    file.secondPartFrom = 3;
    OpenedAvi avi(writeAvi(file));
    ASSERT_TRUE(avi);
    const auto& d = avi->description();
    EXPECT_EQ(d.kinds, Plugin::kKindAudio);
    EXPECT_EQ(d.audioSampleCount, total);
    EXPECT_EQ(d.audioFormatTag, 1);
    EXPECT_EQ(d.bitsPerSample, 16);
    EXPECT_EQ(d.channels, 2);
    EXPECT_EQ(d.samplingRate, kRate);
    for (int block : {1, 0, 5}) expectPcmBlock(*avi->readAudio(block), block, total);
  }
}

TEST(AviAudioTest, FloatAudioPassesThroughInMonoAndStereo) {
  for (uint16_t channels : {1, 2}) {
    SCOPED_TRACE(channels);
    const int count = kRate / 2;
    std::string data(static_cast<std::size_t>(count) * channels * 4, '\0');
    for (int i = 0; i < count * channels; ++i) {
      const float value = static_cast<float>(i % 997) / 1000.0f - 0.5f;
      std::memcpy(data.data() + i * 4, &value, 4);
    }
    File file;
    file.audio = AudioStream{};
    file.audio->formatTag = 3;
    file.audio->bitsPerSample = 32;
    file.audio->channels = channels;
    file.audio->samplesPerSec = kRate;
    file.audio->chunks = {data};
    OpenedAvi avi(writeAvi(file));
    ASSERT_TRUE(avi);
    EXPECT_EQ(avi->description().audioFormatTag, 3);
    EXPECT_EQ(avi->description().bitsPerSample, 32);
    const auto block = avi->readAudio(0);
    ASSERT_TRUE(block);
    ASSERT_EQ(block->channels(), channels);
    for (int i = 0; i < kRate; ++i)
      for (int c = 0; c < channels; ++c) {
        const int at = i * channels + c;
        const float want = i < count ? static_cast<float>(at % 997) / 1000.0f - 0.5f : 0.0f;
        ASSERT_EQ(block->getChannelData(c)[i], want) << i;
      }
  }
}

TEST(AviAudioTest, SixteenBitMonoOpensButEveryReadIsRefused) {
  File file;
  file.audio = AudioStream{};
  file.audio->channels = 1;
  file.audio->chunks = {std::string(2000, '\x01')};
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().kinds, Plugin::kKindAudio);
  try {
    avi->readAudio(0);
    FAIL() << "a 16-bit mono block was converted";
  } catch (const std::exception& failure) {
    EXPECT_NE(std::string(failure.what()).find("invalid convert audio format."), std::string::npos);
  }
}

TEST(AviAudioTest, StreamsTheReaderCannotPlaceOrPassLeaveTheFileWithoutAudio) {
  const struct {
    const char* name;
    uint16_t bits;
    uint32_t sampleSize;
    uint16_t tag;
  } cases[] = {
      {"8-bit PCM", 8, 2, 1},
      {"24-bit PCM", 24, 6, 1},
      {"16-bit float", 16, 4, 3},
      {"blocks of varying size", 16, 0, 1},
      {"a tag no decoder knows", 16, 4, 0x7A7A},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    File file;
    file.audio = pcmStereo(1000, 1000);
    file.audio->bitsPerSample = c.bits;
    file.audio->sampleSize = c.sampleSize;
    file.audio->formatTag = c.tag;
    OpenedAvi avi(writeAvi(file));
    ASSERT_TRUE(avi);
    EXPECT_EQ(avi->description().kinds, 0);
    EXPECT_EQ(avi->readAudio(0), nullptr);
  }
}

TEST(AviAudioTest, ALengthLongerThanTheIndexedDataIsCut) {
  TestSupport::LogCapture log;
  File file;
  file.audio = pcmStereo(3000, 1000);
  file.audio->length = 1000000;
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().audioSampleCount, 3000);
  const auto info = log.texts("INFO");
  EXPECT_NE(std::find(info.begin(), info.end(), "invalid audio sample num info."), info.end());
}

TEST(AviAudioTest, VideoAndAudioOfOneFileReadIndependently) {
  File file;
  file.video = rgbVideo(3, 4, 2, 24);
  file.audio = pcmStereo(kRate * 2, kRate / 3);
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().kinds, Plugin::kKindVideo | Plugin::kKindAudio);
  EXPECT_EQ(avi->readVideo(2)->row(0)[0], pixelOf(2, 0, 0).b);
  expectPcmBlock(*avi->readAudio(1), 1, kRate * 2);
  EXPECT_EQ(avi->readVideo(0)->row(1)[1], pixelOf(0, 0, 1).g);
}

// A-law stereo: every byte is one sample, so chunks of any size hold whole blocks.
TEST(AviAudioTest, CompressedAudioDecodesToTheSameBlocksInOrderAndOutOfOrder) {
  const int total = kRate * 5 / 2;
  std::vector<int16_t> samples(static_cast<std::size_t>(total) * 2);
  for (int i = 0; i < total; ++i)
    for (int c = 0; c < 2; ++c)
      samples[static_cast<std::size_t>(i) * 2 + c] =
          static_cast<int16_t>(12000 * std::sin(i * (c + 1) * 0.01));
  const std::string encoded = encodeAudio("pcm_alaw", 2, kRate, samples);
  ASSERT_EQ(encoded.size(), samples.size());
  File file;
  file.audio = AudioStream{};
  file.audio->formatTag = 6;
  file.audio->bitsPerSample = 8;
  file.audio->samplesPerSec = kRate;
  for (std::size_t at = 0; at < encoded.size(); at += 7000)
    file.audio->chunks.push_back(encoded.substr(at, 7000));
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  const auto& d = avi->description();
  ASSERT_EQ(d.kinds, Plugin::kKindAudio);
  EXPECT_EQ(d.audioFormatTag, 1);
  EXPECT_EQ(d.bitsPerSample, 16);
  EXPECT_EQ(d.audioSampleCount, total);

  std::vector<std::shared_ptr<Media::AudioBlockBuffer>> inOrder;
  for (int block = 0; block < 4; ++block) inOrder.push_back(avi->readAudio(block));
  for (int block : {2, 0, 1, 3}) {
    SCOPED_TRACE(block);
    const auto again = avi->readAudio(block);
    ASSERT_TRUE(again);
    for (int c = 0; c < 2; ++c)
      ASSERT_EQ(0, std::memcmp(again->getChannelData(c), inOrder[block]->getChannelData(c),
                               kRate * sizeof(float)));
  }
  // A-law keeps about five significant bits of every sample.
  for (int block = 0; block < 4; ++block)
    for (int i = 0; i < kRate; i += 97)
      for (int c = 0; c < 2; ++c) {
        const int index = block * kRate + i;
        const float want = index < total ? samples[static_cast<std::size_t>(index) * 2 + c] / 32768.0f : 0.0f;
        ASSERT_NEAR(inOrder[block]->getChannelData(c)[i], want, std::fabs(want) / 16 + 0.002f)
            << "block " << block << " sample " << i;
      }
}

}  // namespace

namespace {

TEST(AviAudioTest, CompressedAudioShorterThanOneOutputSampleIsNoAudio) {
  using namespace AviTest;
  File file;
  file.audio = AudioStream{};
  file.audio->formatTag = 6;
  file.audio->bitsPerSample = 8;
  file.audio->chunks = {std::string(200, '\x55')};
  file.audio->rate = 0xFFFFFFF0;  // so many units a second that 100 of them last no sample
  file.audio->scale = 1;
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().kinds, 0);
  EXPECT_EQ(avi->readAudio(0), nullptr);
}

}  // namespace

namespace {

// MPEG audio frames cut into chunks without regard for their edges: the codec's parser finds
// the frames again, also after a jump.
TEST(AviAudioTest, FramedCompressedAudioIsFoundAcrossChunkEdges) {
  using namespace AviTest;
  const int total = kRate * 3;
  std::vector<int16_t> samples(static_cast<std::size_t>(total) * 2);
  for (int i = 0; i < total; ++i)
    samples[static_cast<std::size_t>(i) * 2] = samples[static_cast<std::size_t>(i) * 2 + 1] =
        static_cast<int16_t>(16000 * std::sin(i * 2 * M_PI * 440 / kRate));
  const std::string encoded = encodeAudio("mp2", 2, kRate, samples);
  ASSERT_FALSE(encoded.empty()) << "the MP2 encoder is missing";
  const uint32_t bytesPerSecond = static_cast<uint32_t>(encoded.size() / 3);
  File file;
  file.audio = AudioStream{};
  file.audio->formatTag = 0x50;
  file.audio->bitsPerSample = 0;
  file.audio->blockAlign = 1;
  file.audio->samplesPerSec = kRate;
  file.audio->rate = bytesPerSecond;  // a constant bit rate: bytes a second
  file.audio->scale = 1;
  for (std::size_t at = 0; at < encoded.size(); at += 1000)
    file.audio->chunks.push_back(encoded.substr(at, 1000));
  OpenedAvi avi(writeAvi(file));
  ASSERT_TRUE(avi);
  ASSERT_EQ(avi->description().kinds, Plugin::kKindAudio);
  EXPECT_NEAR(static_cast<double>(avi->description().audioSampleCount), total, kRate / 10);
  // The tone's level in the middle of each second, read in order and after jumps.
  for (int block : {0, 1, 2, 1, 0}) {
    SCOPED_TRACE(block);
    std::shared_ptr<Media::AudioBlockBuffer> buffer;
    ASSERT_NO_THROW(buffer = avi->readAudio(block));
    ASSERT_TRUE(buffer);
    float peak = 0;
    for (int i = kRate / 4; i < kRate * 3 / 4; ++i)
      peak = std::max(peak, std::fabs(buffer->getChannelData(0)[i]));
    EXPECT_NEAR(peak, 16000 / 32768.0f, 0.05f);
  }
}

}  // namespace
