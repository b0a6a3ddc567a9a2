// The float audio buffer: conversions from and to interleaved PCM and float, the FFT and
// the two spectrum analyses.
#include "media/audio/audio_buffer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "media/audio/audio_fft.h"
#include "system/exception_text.h"

namespace {

using ::testing::HasSubstr;

Media::RawAudioBlockBuffer rawBlock(int32_t tag, int32_t bits, int32_t channels, const void* bytes,
                                    std::size_t size) {
  Media::RawAudioBlockBuffer raw;
  raw.formatTag = tag;
  raw.bitsPerSample = bits;
  raw.channels = channels;
  raw.samplingRate = 48000;
  raw.data.allocMemory(size);
  if (size > 0) std::memcpy(raw.data.data(), bytes, size);
  return raw;
}

Media::AudioBuffer stereo(const std::vector<float>& channel0, const std::vector<float>& channel1) {
  Media::AudioBuffer buffer(static_cast<int32_t>(channel0.size()), 2);
  std::copy(channel0.begin(), channel0.end(), buffer.getChannelData(0));
  std::copy(channel1.begin(), channel1.end(), buffer.getChannelData(1));
  return buffer;
}

Media::AudioBuffer mono(const std::vector<float>& samples) {
  Media::AudioBuffer buffer(static_cast<int32_t>(samples.size()), 1);
  std::copy(samples.begin(), samples.end(), buffer.getChannelData(0));
  return buffer;
}

template <class T>
std::vector<T> converted(const Media::AudioBuffer& buffer, int32_t channels, int32_t tag,
                         int32_t bits) {
  Media::RawAudioBuffer raw;
  raw.channels = channels;
  raw.formatTag = tag;
  raw.bitsPerSample = bits;
  buffer.convertTo(raw);
  EXPECT_EQ(raw.sampleCount, buffer.sampleCount());
  EXPECT_EQ(raw.data.size(), static_cast<uint64_t>(buffer.sampleCount()) * raw.blockAlign());
  std::vector<T> values(raw.data.size() / sizeof(T));
  if (!values.empty()) std::memcpy(values.data(), raw.data.data(), raw.data.size());
  return values;
}

std::vector<float> tone(int32_t count, double cyclesPer2048, double amplitude) {
  std::vector<float> samples(count);
  for (int32_t i = 0; i < count; ++i)
    samples[i] = static_cast<float>(amplitude *
                                    std::sin(2.0 * std::numbers::pi * cyclesPer2048 * i / 2048.0));
  return samples;
}

TEST(AudioBufferTest, MonoBufferHasOnePlaneForBothChannels) {
  Media::AudioBuffer buffer(10, 1);
  EXPECT_EQ(buffer.getChannelData(0), buffer.getChannelData(1));
  buffer.resize(10, 2);
  EXPECT_NE(buffer.getChannelData(0), buffer.getChannelData(1));
}

TEST(AudioBufferTest, ClearFromZeroesTheTailOfBothPlanes) {
  Media::AudioBuffer buffer = stereo({1, 2, 3, 4, 5}, {6, 7, 8, 9, 10});
  buffer.clearFrom(3);
  EXPECT_THAT(std::vector<float>(buffer.getChannelData(0), buffer.getChannelData(0) + 5),
              ::testing::ElementsAre(1, 2, 3, 0, 0));
  EXPECT_THAT(std::vector<float>(buffer.getChannelData(1), buffer.getChannelData(1) + 5),
              ::testing::ElementsAre(6, 7, 8, 0, 0));
  buffer.clearFrom(5);  // at the end: nothing
  buffer.clearFrom(-1);
  EXPECT_EQ(buffer.getChannelData(0)[0], 0.0f);
}

TEST(AudioBlockBufferTest, SplitsInterleavedFramesIntoChannels) {
  const int16_t pcm[] = {0x7FFF, static_cast<int16_t>(0x8000), 16384, -1};
  const Media::AudioBlockBuffer fromPcm(rawBlock(1, 16, 2, pcm, sizeof(pcm)));
  ASSERT_EQ(fromPcm.sampleCount(), 2);
  ASSERT_EQ(fromPcm.channels(), 2);
  EXPECT_EQ(fromPcm.getChannelData(0)[0], 32767.0f / 32768.0f);
  EXPECT_EQ(fromPcm.getChannelData(1)[0], -1.0f);
  EXPECT_EQ(fromPcm.getChannelData(0)[1], 0.5f);
  EXPECT_EQ(fromPcm.getChannelData(1)[1], -1.0f / 32768.0f);

  const float interleaved[] = {0.25f, -0.75f, 1.5f, 0.0f, -2.0f, 0.125f};
  const Media::AudioBlockBuffer fromFloat(rawBlock(3, 32, 2, interleaved, sizeof(interleaved)));
  ASSERT_EQ(fromFloat.sampleCount(), 3);
  EXPECT_THAT(std::vector<float>(fromFloat.getChannelData(0), fromFloat.getChannelData(0) + 3),
              ::testing::ElementsAre(0.25f, 1.5f, -2.0f));
  EXPECT_THAT(std::vector<float>(fromFloat.getChannelData(1), fromFloat.getChannelData(1) + 3),
              ::testing::ElementsAre(-0.75f, 0.0f, 0.125f));

  const Media::AudioBlockBuffer fromMono(rawBlock(3, 32, 1, interleaved, sizeof(interleaved)));
  ASSERT_EQ(fromMono.sampleCount(), 6);
  EXPECT_EQ(fromMono.channels(), 1);
  EXPECT_EQ(fromMono.getChannelData(0)[4], -2.0f);
}

TEST(AudioBlockBufferTest, RefusesFormatsItCannotConvert) {
  struct Case {
    int32_t tag, bits, channels;
    const char* note;
  };
  const Case cases[] = {
      {1, 16, 1, "format=1 bit=16 channel=1"}, {1, 24, 2, "format=1 bit=24 channel=2"},
      {1, 32, 2, "format=1 bit=32 channel=2"}, {3, 32, 6, "format=3 bit=32 channel=6"},
      {3, 64, 2, "format=3 bit=64 channel=2"},
  };
  const uint8_t bytes[24] = {};
  for (const auto& c : cases) {
    const std::string text = TestSupport::whatOf(
        [&] { Media::AudioBlockBuffer block(rawBlock(c.tag, c.bits, c.channels, bytes, 24)); });
    EXPECT_THAT(text, HasSubstr("invalid convert audio format.")) << c.note;
    EXPECT_THAT(text, HasSubstr(c.note));
    EXPECT_THAT(text, HasSubstr("Media::AudioBlockBuffer::AudioBlockBuffer"));
  }
}

TEST(AudioConvertTest, FloatToPcm16RoundsTiesToEvenAndSaturates) {
  struct Case {
    float in;
    int16_t out;
  };
  const Case cases[] = {
      {1.0f, 32767},
      {-1.0f, -32768},
      {0.5f, 16384},
      {0.5f / 32768, 0},
      {1.5f / 32768, 2},
      {2.5f / 32768, 2},
      {-0.5f / 32768, 0},
      {-1.5f / 32768, -2},
      {32766.5f / 32768, 32766},
      {2.0f, 32767},
      {-3.0f, -32768},
      {INFINITY, 32767},
      {-INFINITY, -32768},
      {NAN, 0},
  };
  std::vector<float> channel0, channel1;
  for (const auto& c : cases) {
    channel0.push_back(c.in);
    channel1.push_back(-c.in);
  }
  const auto pcm = converted<int16_t>(stereo(channel0, channel1), 2, 1, 16);
  ASSERT_EQ(pcm.size(), 2 * std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(pcm[2 * i], cases[i].out) << "sample " << cases[i].in;
    // The frame's second value is channel 1.
    const float negated = -cases[i].in;
    const int16_t expected = std::isnan(negated) ? 0
                             : negated >= 1.0f   ? 32767
                             : negated <= -1.0f
                                 ? -32768
                                 : static_cast<int16_t>(std::nearbyint(negated * 32768));
    EXPECT_EQ(pcm[2 * i + 1], expected) << "sample " << negated;
  }
}

TEST(AudioConvertTest, Pcm16SurvivesTheRoundTrip) {
  std::vector<int16_t> pcm;
  for (int32_t v = -32768; v <= 32767; v += 257) pcm.push_back(static_cast<int16_t>(v));
  pcm.push_back(32767);
  if (pcm.size() % 2) pcm.push_back(-32768);
  const Media::AudioBlockBuffer block(rawBlock(1, 16, 2, pcm.data(), pcm.size() * sizeof(int16_t)));
  EXPECT_EQ(converted<int16_t>(block, 2, 1, 16), pcm);
}

TEST(AudioConvertTest, LaysOutFramesAndMixesDownToMono) {
  const Media::AudioBuffer two = stereo({0.25f, 1.0f, -1.0f}, {0.75f, 1.0f, 0.5f});
  EXPECT_THAT(converted<float>(two, 2, 3, 32),
              ::testing::ElementsAre(0.25f, 0.75f, 1.0f, 1.0f, -1.0f, 0.5f));
  // The mixdown is the mean: two full-scale channels give full scale, not twice that.
  EXPECT_THAT(converted<float>(two, 1, 3, 32), ::testing::ElementsAre(0.5f, 1.0f, -0.25f));

  const Media::AudioBuffer one = mono({0.5f, -1.0f, 0.125f});
  EXPECT_THAT(converted<int16_t>(one, 2, 1, 16),
              ::testing::ElementsAre(16384, 16384, -32768, -32768, 4096, 4096));
  EXPECT_THAT(converted<float>(one, 2, 3, 32),
              ::testing::ElementsAre(0.5f, 0.5f, -1.0f, -1.0f, 0.125f, 0.125f));
  EXPECT_THAT(converted<float>(one, 1, 3, 32), ::testing::ElementsAre(0.5f, -1.0f, 0.125f));

  EXPECT_TRUE(converted<float>(Media::AudioBuffer(), 2, 3, 32).empty());
}

TEST(AudioConvertTest, WritesNoFurtherThanTheSampleCount) {
  // A raw buffer that was larger before keeps its old bytes past the new frames.
  for (const int32_t count : {1, 5, 7, 9, 13}) {
    Media::RawAudioBuffer raw;
    raw.channels = 2;
    raw.formatTag = 1;
    raw.bitsPerSample = 16;
    raw.data.allocMemory(256);
    std::memset(raw.data.data(), 0xAB, 256);
    Media::AudioBuffer buffer(count, 2);
    buffer.clear();
    buffer.convertTo(raw);
    const uint64_t written = static_cast<uint64_t>(count) * 4;
    for (uint64_t i = 0; i < written; ++i) ASSERT_EQ(raw.data.data()[i], 0) << count;
    for (uint64_t i = written; i < 256; ++i) ASSERT_EQ(raw.data.data()[i], 0xAB) << count;
  }
}

TEST(AudioConvertTest, RefusesOtherOutputFormats) {
  struct Case {
    int32_t channels, tag, bits;
    const char* note;
  };
  const Case cases[] = {
      {1, 1, 16, "format = 1, bit = 16, ch = 1"},   {2, 1, 24, "format = 1, bit = 24, ch = 2"},
      {2, 3, 64, "format = 3, bit = 64, ch = 2"},   {6, 3, 32, "format = 3, bit = 32, ch = 6"},
      {-2, 3, 32, "format = 3, bit = 32, ch = -2"},
  };
  const Media::AudioBuffer buffer = stereo({0.5f}, {0.5f});
  for (const auto& c : cases) {
    Media::RawAudioBuffer raw;
    raw.channels = c.channels;
    raw.formatTag = c.tag;
    raw.bitsPerSample = c.bits;
    const std::string text = TestSupport::whatOf([&] { buffer.convertTo(raw); });
    EXPECT_THAT(text, HasSubstr("audio format not supported.")) << c.note;
    EXPECT_THAT(text, HasSubstr(c.note));
    EXPECT_THAT(text, HasSubstr("Media::AudioBuffer::convertTo"));
    EXPECT_EQ(raw.data.size(), 0u);
  }
}

TEST(AudioFftTest, MatchesADirectTransform) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  std::vector<float> input(Media::AudioFft::kSize);
  for (float& x : input) x = sample(random);
  std::vector<float> re(Media::AudioFft::kSize), im(Media::AudioFft::kSize);
  Media::AudioFft::transform(input.data(), re.data(), im.data());

  for (const int32_t k : {0, 1, 17, 300, 512, 1023}) {
    std::complex<double> sum;
    for (int32_t n = 0; n < Media::AudioFft::kSize; ++n)
      sum += static_cast<double>(input[n]) *
             std::polar(1.0, -2.0 * std::numbers::pi * k * n / Media::AudioFft::kSize);
    // Single precision over eleven stages: a few units in the fourth digit of a magnitude
    // around sqrt(2048).
    EXPECT_NEAR(re[k], sum.real(), 2e-3) << "bin " << k;
    EXPECT_NEAR(std::abs(im[k]), std::abs(sum.imag()), 2e-3) << "bin " << k;
    EXPECT_NEAR(std::hypot(re[k], im[k]), std::abs(sum), 2e-3) << "bin " << k;
  }
}

TEST(AudioSpectrumTest, GivesAtMost1024Bands) {
  const Media::AudioBuffer buffer = mono(tone(4096, 30, 0.5));
  struct Case {
    int32_t bands;
    std::size_t size;
  };
  for (const Case c :
       {Case{0, 0}, Case{-5, 0}, Case{1, 1}, Case{15, 15}, Case{16, 16}, Case{127, 127},
        Case{128, 128}, Case{512, 512}, Case{513, 513}, Case{1024, 1024}, Case{2000, 1024}}) {
    const auto spectrum = buffer.getSpectrum(c.bands);
    EXPECT_EQ(spectrum.size(), c.size) << c.bands;
    for (const float v : spectrum) {
      ASSERT_GE(v, 0.0f) << c.bands;
      ASSERT_LE(v, 32767.0f) << c.bands;
    }
  }
  EXPECT_EQ(Media::AudioBuffer().getSpectrum(10), std::vector<float>(10, 0.0f));
  EXPECT_EQ(Media::AudioBuffer().getFourier(), std::vector<float>(1024, 0.0f));
}

TEST(AudioSpectrumTest, FewBandsDropTheTopWarpedBands) {
  // Tones on exact bins leak into no other bin. Of the 512 warped bands, bin 5 lies near band
  // 80, bin 60 near band 290 and bin 250 near band 404. One band keeps bands 0 .. 255; two
  // bands keep 0 .. 127 and 128 .. 383, and the rest is dropped.
  struct Case {
    double bin;
    std::vector<bool> heard;
  };
  const Case cases[] = {
      {5, {true}},        {60, {false}},       {250, {false}},
      {5, {true, false}}, {60, {false, true}}, {250, {false, false}},
  };
  for (const auto& c : cases) {
    const auto spectrum =
        mono(tone(2048, c.bin, 0.5)).getSpectrum(static_cast<int32_t>(c.heard.size()));
    ASSERT_EQ(spectrum.size(), c.heard.size());
    for (std::size_t band = 0; band < spectrum.size(); ++band) {
      if (c.heard[band])
        EXPECT_GT(spectrum[band], 1000.0f) << "bin " << c.bin << " band " << band;
      else
        EXPECT_EQ(spectrum[band], 0.0f) << "bin " << c.bin << " band " << band;
    }
  }
}

TEST(AudioSpectrumTest, AToneShowsAtItsWarpedBand) {
  // Bin 64 of 1024: the warped band whose bin interval holds it.
  int32_t expectedBand = 0;
  for (int32_t j = 0; j < 512; ++j) {
    const double t = j / 512.0;
    if (256 * std::pow(t, 9) + 2 * std::pow(384.0, t) <= 64.5) expectedBand = j;
  }
  const auto stereoTone = tone(8192, 64, 0.5);
  const auto spectrum = stereo(stereoTone, stereoTone).getSpectrum(512);
  const auto peak = std::max_element(spectrum.begin(), spectrum.end()) - spectrum.begin();
  EXPECT_NEAR(peak, expectedBand, 2);
  // A mono buffer analyses its one plane as both channels.
  EXPECT_EQ(mono(stereoTone).getSpectrum(512), spectrum);
}

TEST(AudioSpectrumTest, TheLastBlockWrapsAroundToTheStart) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
  std::vector<float> samples(3000);
  for (float& x : samples) x = sample(random);
  // The second block of 3000 samples is samples 2048 .. 2999 followed by 0 .. 1095.
  std::vector<float> secondBlock(samples.begin() + 2048, samples.end());
  secondBlock.insert(secondBlock.end(), samples.begin(), samples.begin() + 1096);
  ASSERT_EQ(secondBlock.size(), 2048u);
  std::vector<float> bothBlocks(samples.begin(), samples.begin() + 2048);
  bothBlocks.insert(bothBlocks.end(), secondBlock.begin(), secondBlock.end());

  const Media::AudioBuffer wrapped = mono(samples);
  // getFourier keeps the last block's values.
  EXPECT_EQ(wrapped.getFourier(), mono(secondBlock).getFourier());
  EXPECT_NE(wrapped.getFourier(),
            mono(std::vector<float>(samples.begin(), samples.begin() + 2048)).getFourier());
  // getSpectrum keeps the loudest of every block.
  EXPECT_EQ(wrapped.getSpectrum(700), mono(bothBlocks).getSpectrum(700));
}

TEST(AudioFourierTest, APureToneHasOnePeak) {
  // 1 kHz at 48 kHz: bin 1000 x 2048 / 48000 = 42.7.
  std::vector<float> samples(48000);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<float>(0.25 * std::sin(2.0 * std::numbers::pi * 1000.0 * i / 48000.0));
  const auto fourier = stereo(samples, samples).getFourier();
  ASSERT_EQ(fourier.size(), 1024u);
  const auto peak = std::max_element(fourier.begin(), fourier.end()) - fourier.begin();
  EXPECT_TRUE(peak == 42 || peak == 43) << peak;
  // Far from the tone only the leakage of an unwindowed block is left.
  EXPECT_LT(fourier[200], fourier[peak] / 50);

  // On an exact bin the magnitude is amplitude x 1024 x 48, the mixdown being the mean of
  // two equal channels.
  const auto exact = stereo(tone(2048, 64, 0.25), tone(2048, 64, 0.25)).getFourier();
  EXPECT_NEAR(exact[64], 0.25 * 1024 * 48, 2.0);
  EXPECT_NEAR(exact[63], 0.0, 2.0);
}

}  // namespace
