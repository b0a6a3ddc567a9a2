// The reader bridge end to end: the real helper program pipe32vli (32-bit where this
// machine can build and run it) running the fake reader plug-in, which makes its media up
// from the opened file's name (tests/plugins/fake_input_plugin.cpp).
#include <gtest/gtest.h>

#include <algorithm>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service.h"
#include "media/plugin/input_pipe32.h"
#include "media/pipe_test_peer.h"
#include "system/log_capture.h"

namespace {

using Plugin::InputPipe32;
using TestSupport::LogCapture;

constexpr const char* kPlugin = "fake_input_plugin.vli";

std::unique_ptr<Plugin::PipeHelperLink> helper() {
  return std::make_unique<Plugin::PipeHelperProcess>(VELUMO_PIPE32VLI, VELUMO_HELPER_PLUGINS);
}

TEST(InputPipe32HelperTest, TheHelperLoadsThePluginAndReadsItsMedia) {
  InputPipe32 reader(kPlugin, helper());
  EXPECT_EQ(reader.name(), "Fake Reader");
  EXPECT_EQ(reader.information(), "Fake reader for the tests");
  EXPECT_EQ(reader.kinds(), 1 | 2 | 4);
  EXPECT_EQ(reader.getExtList(), (std::vector<std::string>{"fake"}));

  const auto file = reader.openFile("/media/good.fake");
  ASSERT_TRUE(file);
  const auto& d = file->description();
  EXPECT_EQ(d.kinds, 3);
  EXPECT_EQ(d.frameCount, 10);
  EXPECT_EQ(d.pixelFormat, 88);
  EXPECT_EQ(d.width, 64);
  EXPECT_EQ(d.height, 48);
  EXPECT_EQ(d.rate, 30);
  EXPECT_EQ(d.scale, 1);
  EXPECT_EQ(d.audioSampleCount, 20000);
  EXPECT_EQ(d.audioFormatTag, 1);
  EXPECT_EQ(d.bitsPerSample, 16);
  EXPECT_EQ(d.channels, 2);
  EXPECT_EQ(d.samplingRate, 8000);

  // Blue is the frame, green the DIB row (0 at the bottom), red the column.
  const auto image = file->readVideo(3);
  ASSERT_TRUE(image);
  const uint8_t* top = image->row(0);
  EXPECT_EQ((std::vector<uint8_t>(top + 4 * 5, top + 4 * 6)),
            (std::vector<uint8_t>{3, 47, 5, 0}));
  EXPECT_EQ(image->row(47)[0 + 1], 0);

  // The stream ends at sample 20000: the last second is half sound, half silence.
  const auto block = file->readAudio(2);
  ASSERT_TRUE(block);
  ASSERT_EQ(block->sampleCount(), 8000);
  EXPECT_FLOAT_EQ(block->getChannelData(0)[0], 16000 / 32768.0f);
  EXPECT_FLOAT_EQ(block->getChannelData(1)[3999], -19999 / 32768.0f);
  EXPECT_FLOAT_EQ(block->getChannelData(0)[4000], 0.0f);
}

TEST(InputPipe32HelperTest, EachFileKindOpensOrFailsAsItShould) {
  InputPipe32 reader(kPlugin, helper());
  struct Case {
    const char* path;
    bool opens;
    bool logsFailure;
  };
  const Case cases[] = {
      {"/m/yuy2.fake", true, false},
      {"/m/audiofloat.fake", true, false},
      {"/m/refuse.fake", false, false},     // the plug-in opens nothing
      {"/m/badinfo.fake", false, false},    // it cannot describe the file
      {"/m/badformat.fake", false, false},  // a frame form the program does not take
      {"/m/badtag.fake", false, false},
      {"/m/nullformat.fake", false, false},
      {"/m/noflags.fake", true, false},     // neither video nor audio: the service refuses it
      {"/m/huge.fake", false, true},        // described, but beyond what the program holds
      {"/m/hugeaudio.fake", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    LogCapture log;
    EXPECT_EQ(reader.openFile(c.path) != nullptr, c.opens);
    EXPECT_EQ(PipeTest::loggedError(log, "file load failed."), c.logsFailure);
  }
  const auto yuy2 = reader.openFile("/m/yuy2.fake");
  ASSERT_TRUE(yuy2);
  EXPECT_EQ(yuy2->description().pixelFormat, 107);
  const auto frame = yuy2->readVideo(0);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->row(47)[127], 0x80);
}

TEST(InputPipe32HelperTest, SoundThePluginDoesNotWriteIsSilence) {
  InputPipe32 reader(kPlugin, helper());
  const auto file = reader.openFile("/m/shortaudio.fake");
  ASSERT_TRUE(file);
  const auto block = file->readAudio(0);
  ASSERT_TRUE(block);
  ASSERT_EQ(block->sampleCount(), 8000);
  EXPECT_FLOAT_EQ(block->getChannelData(0)[3999], 3999 / 32768.0f);
  EXPECT_FLOAT_EQ(block->getChannelData(0)[4000], 0.0f);
}

TEST(InputPipe32HelperTest, AHelperThatCrashesLeavesTheReaderFailingAtOnce) {
  LogCapture log;
  InputPipe32 reader(kPlugin, helper());
  const auto good = reader.openFile("/m/good.fake");
  const auto crashing = reader.openFile("/m/crashvideo.fake");
  ASSERT_TRUE(good && crashing);
  EXPECT_FALSE(crashing->readVideo(0));
  EXPECT_TRUE(PipeTest::loggedError(log, "read video failed."));

  log.clear();
  EXPECT_FALSE(good->readVideo(0));
  EXPECT_FALSE(good->readAudio(0));
  EXPECT_FALSE(reader.openFile("/m/good.fake"));
  EXPECT_TRUE(PipeTest::loggedError(log, "read video failed."));
  EXPECT_TRUE(PipeTest::loggedError(log, "read audio failed."));
  EXPECT_TRUE(PipeTest::loggedError(log, "file load failed."));
}

TEST(InputPipe32HelperTest, APluginThatDoesNotLoadIsRefused) {
  for (const char* name : {"missing.vli", "../fake_input_plugin.vli"}) {
    SCOPED_TRACE(name);
    try {
      InputPipe32 reader(name, helper());
      ADD_FAILURE() << "loaded";
    } catch (const std::exception& exception) {
      EXPECT_NE(std::string(exception.what()).find("load plugin failed."), std::string::npos);
    }
  }
}

TEST(InputPipe32HelperTest, TheSettingsDialogHoldsTheSharedLockUntilItCloses) {
  InputPipe32 reader(kPlugin, helper());
  reader.showSetting(nullptr);
  // The exchange after the dialog is in step.
  EXPECT_TRUE(reader.openFile("/m/good.fake"));
}

TEST(InputPipe32HelperTest, TheServiceRegistersThePluginFolderReaders) {
  const PipeTest::HelperInstallation installation(VELUMO_PIPE32VLI, VELUMO_HELPER_PLUGINS,
                                                  kPlugin);

  Plugin::InputService service;
  const auto& plugins = service.plugins();
  const auto found = std::find_if(plugins.begin(), plugins.end(), [](const auto& plugin) {
    return plugin->name() == "Fake Reader";
  });
  ASSERT_NE(found, plugins.end());
  const auto file = service.getInputFile("/m/good.fake", 1);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->owner(), found->get());
  EXPECT_TRUE(file->readVideo(0));
}

}  // namespace
