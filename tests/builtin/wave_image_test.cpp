// "音声波形表示" rendered through the scene: the waveform, the spectrum and the mirrored
// spectrum of a frame's sound, checked pixel by pixel against the drawing rules computed
// here on the CPU; the sound taken from a file through the sound cache or, without a file,
// from the scene's own mix; and the frames that draw nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "builtin/choice_lists.h"
#include "builtin/input/audio_load.h"
#include "builtin/input/wave_image_draw.h"
#include "builtin/input/wave_image_input.h"
#include "builtin/output/audio_output.h"
#include "edit/undo_service.h"
#include "effect/media_input_source.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service_seams.h"
#include "render/render_test_support.h"

namespace {

constexpr int kRate = 48000;
constexpr int kFrameSamples = kRate / 30;  // the scene runs at 30 frames per second
constexpr int kWidth = 64;
constexpr int kHeight = 48;

// The tone's two channels at source sample i: unequal so that the mixdown matters.
float leftAt(int64_t i) { return 0.8f * std::sin(2.0f * std::numbers::pi_v<float> * i / 37.0f); }
float rightAt(int64_t i) { return 0.6f * std::sin(2.0f * std::numbers::pi_v<float> * i / 23.0f); }

// "a.tone": ten seconds of the tone; "short.tone": a tenth of a second of it; "still.tone":
// a file with a picture and no sound.
class ToneFile : public Plugin::InputFile {
 public:
  ToneFile(int64_t samples, bool sound) {
    description_.kinds = sound ? Plugin::kKindAudio : Plugin::kKindVideo;
    if (!sound) {
      description_.frameCount = 1;
      description_.rate = 10;
      description_.scale = 1;
      description_.width = description_.height = 8;
      description_.pixelFormat = Plugin::PixelFormat::kRgba;
      return;
    }
    description_.samplingRate = kRate;
    description_.audioSampleCount = samples;
    description_.channels = 2;
    description_.audioFormatTag = Plugin::kAudioTagFloat;
    description_.bitsPerSample = 32;
  }
  std::shared_ptr<Media::AudioBlockBuffer> readAudio(int32_t block) override {
    Media::RawAudioBlockBuffer raw;
    raw.formatTag = Plugin::kAudioTagFloat;
    raw.bitsPerSample = 32;
    raw.channels = 2;
    raw.samplingRate = kRate;
    raw.allocateSecond();
    auto* samples = reinterpret_cast<float*>(raw.data.data());
    for (int i = 0; i < kRate; ++i) {
      samples[2 * i] = leftAt(int64_t{block} * kRate + i);
      samples[2 * i + 1] = rightAt(int64_t{block} * kRate + i);
    }
    return std::make_shared<Media::AudioBlockBuffer>(raw);
  }
};

class ToneReader : public Plugin::InputPlugin {
 public:
  ToneReader() : InputPlugin("tone", {{"Tone", "*.tone"}}, "", Plugin::kReaderAudio) {}
  std::shared_ptr<Plugin::InputFile> openFile(const std::string& path) override {
    if (path.ends_with("short.tone")) return std::make_shared<ToneFile>(kRate / 10, true);
    return std::make_shared<ToneFile>(int64_t{10} * kRate, !path.ends_with("still.tone"));
  }
};

// The tone's samples of a scene frame, as the sound cache and the mix deliver them.
Media::AudioBuffer toneOfFrame(int frame) {
  Media::AudioBuffer sound(kFrameSamples, 2);
  for (int i = 0; i < kFrameSamples; ++i) {
    sound.getChannelData(0)[i] = leftAt(int64_t{frame} * kFrameSamples + i);
    sound.getChannelData(1)[i] = rightAt(int64_t{frame} * kFrameSamples + i);
  }
  return sound;
}

// ---- the drawing rules, on the CPU -------------------------------------------------------

float valueAt(const std::vector<float>& values, int i) {
  return i < 0 || i >= static_cast<int>(values.size()) ? 0.0f : values[static_cast<size_t>(i)];
}

bool inGap(float coordinate, float halfWidth) {
  return std::fabs(coordinate - std::trunc(coordinate) - 0.5f) > halfWidth;
}

// The coverage of pixel (x, y) by the waveform of `samples`, with plain float division: a
// NaN clamps to 0.
float waveformCoverage(const Effect::WaveConstants& k, const std::vector<float>& samples, int x,
                       int y) {
  const float px = static_cast<float>(x) + 0.5f;
  const float py = static_cast<float>(y) + 0.5f;
  const float u = static_cast<float>(k.res[0]) * px / static_cast<float>(k.size[0]);
  const float v = static_cast<float>(k.res[1]) * py / static_cast<float>(k.size[1]);
  if (inGap(u, k.pad[0]) || inGap(v, k.pad[1])) return 0.0f;
  const int c = static_cast<int>(std::trunc(u));
  const float r = std::trunc(v);
  auto level = [&](int i) {
    return std::trunc(static_cast<float>(k.res[1]) * (valueAt(samples, i) * k.vol + 0.5f));
  };
  const float l0 = level(c - 1), l1 = level(c), l2 = level(c + 1), l3 = level(c + 2);
  if ((r >= l1 && l2 + 1 >= r) || (r >= l2 && l1 + 1 >= r)) return 1.0f;
  const bool p1 = l1 + 1 >= r && r >= l0;
  const bool p2 = l2 + 1 >= r && r >= l3;
  const bool q1 = l0 + 1 >= r && r >= l1;
  const bool q2 = l3 + 1 >= r && r >= l2;
  const float f1 = (r - l0) / (l1 + 1 - l0);
  const float f2 = (r - l3) / (l2 + 1 - l3);
  const float g1 = (r - l0 - 1) / (l1 - l0 - 1);
  const float g2 = (r - l3 - 1) / (l2 - l3 - 1);
  float x1 = q1 ? g1 : 0.0f;
  if (p1) x1 = f1;
  if (p2) x1 = f2 + x1;
  const float a = q2 ? g2 + x1 : x1;
  return a > 0.0f ? std::min(a, 1.0f) : 0.0f;  // NaN fails the test and gives 0
}

float spectrumCoverage(const Effect::WaveConstants& k, const std::vector<float>& bands, int x,
                       int y, bool mirror) {
  const float px = static_cast<float>(x) + 0.5f;
  const float py = static_cast<float>(y) + 0.5f;
  const float h = static_cast<float>(k.size[1]);
  const float u = static_cast<float>(k.res[0]) * px / static_cast<float>(k.size[0]);
  const float v = mirror ? static_cast<float>(k.res[1]) * std::fabs(h - 2.0f * py) / h
                         : static_cast<float>(k.res[1]) * (h - py) / h;
  if (inGap(u, k.pad[0]) || inGap(v, k.pad[1])) return 0.0f;
  const float bar = std::trunc(static_cast<float>(k.res[1]) *
                               valueAt(bands, static_cast<int>(std::trunc(u))) * k.vol);
  const float r = std::trunc(v);
  return (mirror ? bar >= r : r < bar) ? 1.0f : 0.0f;
}

// The expected coverage of every pixel for the sound and the settings.
std::vector<float> expectedCoverage(const Effect::WaveSettings& settings,
                                    const Media::AudioBuffer& sound) {
  std::vector<float> coverage;
  if (settings.spectrum) {
    std::vector<float> bands = sound.getSpectrum(Effect::spectrumBands(settings));
    const auto k = Effect::spectrumConstants(settings, static_cast<int32_t>(bands.size()));
    for (int y = 0; y < settings.height; ++y)
      for (int x = 0; x < settings.width; ++x)
        coverage.push_back(spectrumCoverage(k, bands, x, y, settings.mirror));
    return coverage;
  }
  Media::RawAudioBuffer mono;
  mono.formatTag = 3;
  mono.bitsPerSample = 32;
  mono.channels = 1;
  sound.convertTo(mono);
  const auto* first = reinterpret_cast<const float*>(mono.data.data());
  const std::vector<float> samples(first, first + std::min(mono.sampleCount, 8000));
  const auto k = Effect::waveformConstants(settings, static_cast<int32_t>(samples.size()));
  for (int y = 0; y < settings.height; ++y)
    for (int x = 0; x < settings.width; ++x)
      coverage.push_back(waveformCoverage(k, samples, x, y));
  return coverage;
}

// ---- the render world ----------------------------------------------------------------------

constexpr uint32_t kColour = 0xFF8040;
constexpr float kColourRgb[3] = {1.0f, 128.0f / 255.0f, 64.0f / 255.0f};

class WaveImageTest : public ::testing::Test {
 protected:
  WaveImageTest()
      : world_(Plugin::InputService::PluginList{std::make_shared<ToneReader>()}),
        source_(*Plugin::InputService::instance()) {
    Effect::setMediaInputSource(&source_);
    world_.scene().width = kWidth;
    world_.scene().height = kHeight;
  }
  ~WaveImageTest() override { Effect::setMediaInputSource(nullptr); }

  // A display of the picture's size on layer 0 over 100 frames from `start`.
  std::shared_ptr<Effect::WaveImageInput> placeDisplay(const std::string& path, int start = 0) {
    auto display = std::make_shared<Effect::WaveImageInput>();
    display->file.path = path;
    display->width.setValue(kWidth, 0);
    display->height.setValue(kHeight, 0);
    display->color.setRgb(kColour);
    object_ = world_.placeEffect(0, start, start + 99, display);
    object_->effects.push_back(std::make_shared<TestSupport::DrawOutput>());
    return display;
  }
  // The tone played by the scene itself, on layer 1.
  void placeTone() {
    auto tone = std::make_shared<Effect::AudioLoad>();
    tone->file.path = "/media/a.tone";
    auto object = world_.placeEffect(1, 0, 299, tone);
    object->effects.push_back(std::make_shared<Effect::AudioOutput>());
  }

  // Each pixel's coverage as drawn (red, green and blue divided by the display's colour);
  // empty when the frame failed or a pixel is not of the colour.
  std::vector<float> renderCoverage(int frame) {
    auto result = world_.render(frame);
    if (!result.image) {
      ADD_FAILURE() << "frame " << frame << " failed";
      return {};
    }
    std::vector<float> coverage;
    for (uint32_t y = 0; y < kHeight; ++y)
      for (uint32_t x = 0; x < kWidth; ++x) {
        const TestSupport::Rgba pixel = TestSupport::halfPixel(*result.image, x, y);
        const float a = pixel[0];
        for (int c = 1; c < 3; ++c)
          if (std::fabs(pixel[c] - a * kColourRgb[c]) > 4e-3f) {
            ADD_FAILURE() << "pixel (" << x << ", " << y << ") is not of the colour";
            return {};
          }
        coverage.push_back(a);
      }
    return coverage;
  }

  TestSupport::RenderWorld world_;
  Plugin::InputServiceSource source_;
  std::shared_ptr<Edit::Object> object_;  // the last display's object
};

// How far two pictures differ: the pixels off by more than the half-float precision, with
// the first few named.
::testing::AssertionResult samePicture(const std::vector<float>& drawn,
                                       const std::vector<float>& expected) {
  if (drawn.size() != expected.size())
    return ::testing::AssertionFailure() << "no picture of " << expected.size() << " pixels";
  int wrong = 0;
  std::string where;
  for (size_t i = 0; i < drawn.size(); ++i)
    if (std::fabs(drawn[i] - expected[i]) > 4e-3f && ++wrong <= 5)
      where += " (" + std::to_string(i % kWidth) + ", " + std::to_string(i / kWidth) +
               "): " + std::to_string(drawn[i]) + " for " + std::to_string(expected[i]);
  if (wrong == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << wrong << " pixels differ:" << where;
}

// Lit and dark pixels both: a picture that shows something of the sound.
bool showsSomething(const std::vector<float>& coverage) {
  const auto lit = std::count_if(coverage.begin(), coverage.end(), [](float a) { return a > 0; });
  return lit > 0 && lit < static_cast<long>(coverage.size());
}

Effect::WaveSettings settingsOf(const Effect::WaveImageInput& display) {
  Effect::WaveSettings settings;
  settings.width = kWidth;
  settings.height = kHeight;
  settings.rgb = kColour;
  settings.columns = display.columns.value;
  settings.rows = display.rows.value;
  settings.columnSpace = display.columnSpace.value;
  settings.rowSpace = display.rowSpace.value;
  settings.volume = display.volume.getDisplayValue(0);
  settings.spectrum = display.spectrum.value;
  settings.mirror = display.mirror.value;
  return settings;
}

TEST_F(WaveImageTest, EachDisplayKindDrawsTheFileSoundOfItsFrame) {
  auto display = placeDisplay("/media/a.tone");
  struct Case {
    const char* what;
    Effect::WavePreset cells;
    double volume;
  };
  const Case cases[] = {
      {"waveform, a cell per pixel", {"", 0, 0, 0, 0, false, false}, 200},
      {"waveform on a grid with gaps", {"", 16, 12, 50, 50, false, false}, 200},
      {"waveform with more columns than samples", {"", 3000, 0, 0, 0, false, false}, 150},
      {"spectrum, a band per pixel", {"", 0, 0, 0, 0, true, false}, 100},
      {"spectrum on a grid with gaps", {"", 32, 40, 25, 25, true, false}, 100},
      {"mirrored spectrum", {"", 40, 40, 80, 0, true, true}, 100},
  };
  const int frame = 10;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    display->applyPreset(c.cells);
    display->volume.setValue(c.volume, 0);
    const std::vector<float> expected = expectedCoverage(settingsOf(*display), toneOfFrame(frame));
    ASSERT_TRUE(showsSomething(expected)) << "the case shows nothing of the sound";
    EXPECT_TRUE(samePicture(renderCoverage(frame), expected));
  }
}

TEST_F(WaveImageTest, WithoutAFileTheSceneSoundIsDrawn) {
  auto display = placeDisplay("", 0);
  // A silent scene: the middle row and the one below it.
  std::vector<float> drawn = renderCoverage(4);
  std::vector<float> line(kWidth * kHeight, 0.0f);
  std::fill_n(line.begin() + kWidth * (kHeight / 2), 2 * kWidth, 1.0f);
  EXPECT_TRUE(samePicture(drawn, line));

  placeTone();
  display->volume.setValue(200, 0);
  for (int frame : {4, 11}) {
    SCOPED_TRACE(frame);
    const auto expected = expectedCoverage(settingsOf(*display), toneOfFrame(frame));
    EXPECT_TRUE(samePicture(renderCoverage(frame), expected));
  }
}

TEST_F(WaveImageTest, NoSoundDrawsNothing) {
  const std::vector<float> empty(kWidth * kHeight, 0.0f);
  // A file without sound.
  placeDisplay("/media/still.tone", 0);
  EXPECT_TRUE(samePicture(renderCoverage(3), empty));
  // A short file (0.1 s) draws within its length and nothing past its end (0.33 s).
  placeDisplay("/media/short.tone", 100);
  EXPECT_TRUE(showsSomething(renderCoverage(101)));
  EXPECT_TRUE(samePicture(renderCoverage(110), empty));
}

TEST_F(WaveImageTest, APresetIsOneUndoableEdit) {
  auto display = placeDisplay("", 0);
  auto cells = [&] {
    return std::vector<int>{display->columns.value, display->rows.value,
                            display->columnSpace.value, display->rowSpace.value,
                            display->spectrum.value, display->mirror.value};
  };
  Effect::applyWavePreset(object_, display, Effect::WavePresetTable[4]);
  EXPECT_EQ(cells(), (std::vector<int>{40, 40, 80, 0, true, true}));
  Undo::UndoService::instance()->undo();
  EXPECT_EQ(cells(), (std::vector<int>{0, 0, 0, 0, false, false}));
  Undo::UndoService::instance()->redo();
  EXPECT_EQ(cells(), (std::vector<int>{40, 40, 80, 0, true, true}));
}

TEST(WaveImageConstants, CellsFollowThePixelsTheSamplesAndTheBands) {
  struct Case {
    int columns, rows, columnSpace, rowSpace;
    int samples;
    int res[2];
    float pad[2];
  };
  // 800 x 400 pixels.
  const Case cases[] = {
      {0, 0, 0, 0, 1600, {800, 400}, {0.5f, 0.5f}},
      {0, 0, 0, 0, 300, {800, 400}, {0.5f, 0.5f}},  // unset columns stay one per pixel
      {1000, 500, 50, 80, 600, {600, 400}, {0.25f, 0.1f}},  // no more columns than samples
      {200, 100, 100, 0, 1600, {200, 100}, {0.0f, 0.5f}},
  };
  for (const auto& c : cases) {
    Effect::WaveSettings settings;
    settings.width = 800;
    settings.height = 400;
    settings.columns = c.columns;
    settings.rows = c.rows;
    settings.columnSpace = c.columnSpace;
    settings.rowSpace = c.rowSpace;
    settings.rgb = 0x336699;
    const auto k = Effect::waveformConstants(settings, c.samples);
    EXPECT_EQ(k.res[0], c.res[0]) << c.columns << " " << c.samples;
    EXPECT_EQ(k.res[1], c.res[1]) << c.rows;
    EXPECT_FLOAT_EQ(k.pad[0], c.pad[0]);
    EXPECT_FLOAT_EQ(k.pad[1], c.pad[1]);
    EXPECT_FLOAT_EQ(k.vol, 0.25f);
    EXPECT_FLOAT_EQ(k.color[2], 0x99 / 255.0f);
    EXPECT_EQ(k.size[0], 800);
  }
  // The spectrum asks for a band per pixel when its columns are unset or too many, and
  // scales its values by 1/8192.
  Effect::WaveSettings settings;
  settings.width = 800;
  settings.height = 400;
  settings.volume = 200;
  EXPECT_EQ(Effect::spectrumBands(settings), 800);
  settings.columns = 900;
  EXPECT_EQ(Effect::spectrumBands(settings), 800);
  settings.columns = 32;
  EXPECT_EQ(Effect::spectrumBands(settings), 32);
  EXPECT_FLOAT_EQ(Effect::spectrumConstants(settings, 32).vol, 2.0f / 8192.0f);
}

}  // namespace
