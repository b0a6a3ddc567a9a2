// The reader bridge to the helper program, against a helper played byte for byte by the
// test: what goes over the pipe for each command, how the replies are taken, and what a
// helper that misbehaves or dies leaves behind.
#include "media/plugin/input_pipe32.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/pipe_test_peer.h"
#include "system/exception.h"
#include "system/log_capture.h"

namespace {

using PipeTest::Bytes;
using PipeTest::PeerLink;
using PipeTest::PeerState;
using Plugin::InputPipe32;
using TestSupport::LogCapture;

constexpr int32_t kHandle = 7;
constexpr const char16_t* kPath = u"/media/clip.peer";

// An open reply with video of 4 x 2 24-bit frames: 10 frames at 30000/1001.
Bytes videoReply(int32_t handle = kHandle) {
  return Bytes().i32(handle).i32(1).i32(10).i32(88).i32(4).i32(2).i32(30000).i32(1001);
}

// An open reply with the video above and 16-bit stereo sound at 8000 Hz.
Bytes movieReply() {
  return Bytes()
      .i32(kHandle)
      .i32(3)
      .i32(10).i32(88).i32(4).i32(2).i32(30000).i32(1001)
      .i64(int64_t{1} << 33).i32(1).i32(16).i32(2).i32(8000);
}

// A reader whose helper is the test.
struct PeerReader {
  std::shared_ptr<PeerState> peer = std::make_shared<PeerState>();
  std::unique_ptr<InputPipe32> reader;

  explicit PeerReader(int32_t kinds = 3) {
    peer->reply(PipeTest::loadReply(kinds));
    reader = std::make_unique<InputPipe32>("peer.vli", std::make_unique<PeerLink>(peer));
    peer->sent();
  }
  std::shared_ptr<Plugin::InputFile> open(const Bytes& reply) {
    peer->reply(reply);
    auto file = reader->openFile("/media/clip.peer");
    peer->sent();
    return file;
  }
};

// A 24-bit DIB of 4 x 2 whose every byte is `value`: rows of 12 bytes, no padding.
std::vector<uint8_t> dib(uint8_t value, std::size_t size = 24) {
  return std::vector<uint8_t>(size, value);
}

TEST(InputPipe32Test, LoadSendsTheFileNameAndTakesTheReply) {
  auto peer = std::make_shared<PeerState>();
  peer->reply(PipeTest::loadReply(1 | 4 | 64));
  InputPipe32 reader("peer.vli", std::make_unique<PeerLink>(peer));

  EXPECT_EQ(peer->sent(), PipeTest::loadCommand(u"peer.vli"));
  EXPECT_EQ(peer->starts, 1);
  EXPECT_EQ(reader.fileName(), "peer.vli");
  EXPECT_EQ(reader.name(), "Peer Plugin");
  EXPECT_EQ(reader.information(), "a plug-in played by the test");
  // Bits beyond video, audio and settings are not the reader's.
  EXPECT_EQ(reader.kinds(), 1 | 4);
  ASSERT_EQ(reader.filter().size(), 1u);
  EXPECT_EQ(reader.filter()[0].description, "Peer File (*.peer)");
  EXPECT_EQ(reader.filter()[0].patterns, "*.peer;*.pr");
  EXPECT_EQ(reader.getExtList(), (std::vector<std::string>{"peer", "pr"}));
}

TEST(InputPipe32Test, ALoadThatFailsEndsTheHelper) {
  const std::u16string tooLong(4097, u'x');
  struct Case {
    const char* what;
    Bytes reply;
    bool dies;
  };
  const Case cases[] = {
      {"4097-unit name", Bytes().i32(1).str(tooLong), false},
      {"dies before replying", Bytes(), true},
      {"dies inside the reply", Bytes().i32(1).i32(20).raw(u"Peer", 8), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture log;
    auto peer = std::make_shared<PeerState>();
    peer->reply(c.reply);
    if (c.dies) peer->die();
    try {
      InputPipe32 reader("broken.vli", std::make_unique<PeerLink>(peer));
      ADD_FAILURE() << "loaded";
    } catch (const System::Exception& exception) {
      const std::string text = exception.what();
      EXPECT_NE(text.find("load plugin failed."), std::string::npos) << text;
      EXPECT_NE(text.find("[Note]\nbroken.vli"), std::string::npos) << text;
      EXPECT_NE(text.find("Plugin::InputPipe32Process::ControlSection::loadPlugin()"),
                std::string::npos)
          << text;
    }
    EXPECT_EQ(peer->terminations, 1);
    EXPECT_FALSE(peer->running);
  }
}

TEST(InputPipe32Test, OpenRepliesCarryTheFieldsTheirFlagsAnnounce) {
  struct Case {
    const char* what;
    Bytes reply;
    int32_t kinds;
  };
  const Case cases[] = {
      {"flags 1: six int32", videoReply(), 1},
      {"flags 3: six int32, one int64, four int32", movieReply(), 3},
      {"flags 2: one int64, four int32",
       Bytes().i32(kHandle).i32(2).i64(123456).i32(3).i32(32).i32(1).i32(48000), 2},
      {"unknown flag bits carry nothing",
       Bytes().i32(kHandle).i32(1 | 8).i32(10).i32(88).i32(4).i32(2).i32(30000).i32(1001), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PeerReader helper;
    helper.peer->reply(c.reply);
    const auto file = helper.reader->openFile("/media/clip.peer");
    EXPECT_EQ(helper.peer->sent(), Bytes().i32(10).str(kPath));
    ASSERT_TRUE(file);
    const auto& d = file->description();
    EXPECT_EQ(d.kinds, c.kinds);
    if (d.hasVideo()) {
      EXPECT_EQ(d.frameCount, 10);
      EXPECT_EQ(d.pixelFormat, 88);
      EXPECT_EQ(d.width, 4);
      EXPECT_EQ(d.height, 2);
      EXPECT_EQ(d.rate, 30000);
      EXPECT_EQ(d.scale, 1001);
    }
    if (c.kinds == 3) {
      EXPECT_EQ(d.audioSampleCount, int64_t{1} << 33);
      EXPECT_EQ(d.audioFormatTag, 1);
      EXPECT_EQ(d.bitsPerSample, 16);
      EXPECT_EQ(d.channels, 2);
      EXPECT_EQ(d.samplingRate, 8000);
    }
    if (c.kinds == 2) {
      EXPECT_EQ(d.audioSampleCount, 123456);
      EXPECT_EQ(d.channels, 1);
      EXPECT_EQ(d.samplingRate, 48000);
    }
    // The reply was read to its end: the next exchange is in step.
    helper.peer->reply(Bytes().i32(0));
    EXPECT_FALSE(helper.reader->openFile("/media/other.peer"));
  }
}

TEST(InputPipe32Test, AFileTheHelperCannotOpenFailsWithoutALogLine) {
  LogCapture log;
  PeerReader helper;
  EXPECT_FALSE(helper.open(Bytes().i32(0)));
  EXPECT_TRUE(log.texts("ERROR").empty());
  EXPECT_TRUE(helper.peer->running);
}

TEST(InputPipe32Test, AnUnusableDescriptionIsRefusedAndItsHandleClosed) {
  const auto video = [](int32_t frames, int32_t format, int32_t width, int32_t height,
                        int32_t rate, int32_t scale) {
    return Bytes().i32(kHandle).i32(1).i32(frames).i32(format).i32(width).i32(height).i32(rate)
        .i32(scale);
  };
  const auto audio = [](int64_t samples, int32_t tag, int32_t bits, int32_t channels,
                        int32_t rate) {
    return Bytes().i32(kHandle).i32(2).i64(samples).i32(tag).i32(bits).i32(channels).i32(rate);
  };
  struct Case {
    const char* what;
    Bytes reply;
  };
  const Case cases[] = {
      {"no frames", video(0, 88, 4, 2, 30, 1)},
      {"unknown pixel format", video(10, 99, 4, 2, 30, 1)},
      {"zero width", video(10, 88, 0, 2, 30, 1)},
      {"side beyond 16384", video(10, 88, 16385, 2, 30, 1)},
      {"too many pixels", video(10, 87, 16384, 16384, 30, 1)},
      {"negative height", video(10, 88, 4, -2, 30, 1)},
      {"zero scale", video(10, 88, 4, 2, 30, 0)},
      {"negative sample count", audio(-1, 1, 16, 2, 8000)},
      {"sampling rate beyond 768000", audio(100, 3, 32, 2, 768001)},
      {"tag 2", audio(100, 2, 16, 2, 8000)},
      {"8-bit PCM", audio(100, 1, 8, 2, 8000)},
      {"three channels", audio(100, 3, 32, 3, 8000)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LogCapture log;
    PeerReader helper;
    helper.peer->reply(c.reply);
    EXPECT_FALSE(helper.reader->openFile("/media/clip.peer"));
    EXPECT_TRUE(PipeTest::loggedError(log, "file load failed."));
    // The helper is told to close what it opened, and stays in step.
    EXPECT_EQ(helper.peer->sent(), Bytes().i32(10).str(kPath).i32(11).i32(kHandle));
    EXPECT_TRUE(helper.open(videoReply(8)));
    EXPECT_TRUE(helper.peer->running);
  }
}

TEST(InputPipe32Test, ReadVideoSendsTheDibSizeAndConvertsTheBlock) {
  PeerReader helper;
  const auto file = helper.open(videoReply());
  ASSERT_TRUE(file);
  // Bottom-up 24-bit rows: the DIB's first row is the picture's last.
  std::vector<uint8_t> frame(24);
  for (std::size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i + 1);
  helper.peer->reply(Bytes().block(frame));
  const auto image = file->readVideo(3);
  EXPECT_EQ(helper.peer->sent(), Bytes().i32(12).i32(kHandle).i32(3).i32(24));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->format, 88);
  EXPECT_EQ(image->width, 4u);
  EXPECT_EQ(image->height, 2u);
  const uint8_t* top = image->row(0);
  EXPECT_EQ((std::vector<uint8_t>(top, top + 4)), (std::vector<uint8_t>{13, 14, 15, 0}));
  const uint8_t* bottom = image->row(1);
  EXPECT_EQ((std::vector<uint8_t>(bottom, bottom + 4)), (std::vector<uint8_t>{1, 2, 3, 0}));

  // Frames outside the file are its first and last.
  helper.peer->reply(Bytes().block(dib(0)).block(dib(0)));
  file->readVideo(-4);
  file->readVideo(99);
  EXPECT_EQ(helper.peer->sent(),
            Bytes().i32(12).i32(kHandle).i32(0).i32(24).i32(12).i32(kHandle).i32(9).i32(24));
}

TEST(InputPipe32Test, AShortFrameIsCompletedWithZerosNotAnEarlierFrame) {
  PeerReader helper;
  const auto file = helper.open(videoReply());
  helper.peer->reply(Bytes().block(dib(0xAA)).block(dib(0x55, 12)));
  ASSERT_TRUE(file->readVideo(0));
  const auto image = file->readVideo(1);
  ASSERT_TRUE(image);
  // The DIB's first row (the picture's bottom) came; the rest is black.
  EXPECT_EQ(image->row(1)[0], 0x55);
  EXPECT_EQ(image->row(0)[0], 0);
  EXPECT_EQ(image->row(0)[2], 0);
}

TEST(InputPipe32Test, AnOversizedFrameEndsTheHelperAndLaterReadsFailAtOnce) {
  LogCapture log;
  PeerReader helper;
  const auto file = helper.open(videoReply());
  helper.peer->reply(Bytes().block(dib(1, 25)));
  EXPECT_FALSE(file->readVideo(0));
  EXPECT_TRUE(PipeTest::loggedError(log, "read video failed."));
  EXPECT_EQ(helper.peer->terminations, 1);
  const auto texts = log.texts("ERROR");
  EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                         [](const std::string& text) {
                           return text.find("System::Pipe::readBlock") != std::string::npos;
                         }),
            texts.end());

  // No restart, no exchange: every later call fails with its own line.
  log.clear();
  EXPECT_FALSE(file->readVideo(1));
  EXPECT_FALSE(helper.reader->openFile("/media/other.peer"));
  EXPECT_TRUE(PipeTest::loggedError(log, "read video failed."));
  EXPECT_TRUE(PipeTest::loggedError(log, "file load failed."));
  EXPECT_EQ(helper.peer->starts, 1);
}

TEST(InputPipe32Test, ReadAudioAsksForOneSecondAndZeroesWhatDoesNotCome) {
  PeerReader helper;
  const auto file = helper.open(movieReply());
  ASSERT_TRUE(file);
  // One second of 16-bit stereo at 8000 Hz is 32000 bytes.
  std::vector<uint8_t> full(32000);
  for (std::size_t i = 0; i < full.size(); i += 2) full[i + 1] = 0x40;  // 0x4000 = 0.5
  helper.peer->reply(Bytes().block(full));
  const auto first = file->readAudio(2);
  EXPECT_EQ(helper.peer->sent(), Bytes().i32(13).i32(kHandle).i32(16000).i32(8000).i32(32000));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->sampleCount(), 8000);
  EXPECT_FLOAT_EQ(first->getChannelData(0)[7999], 0.5f);

  // Half a second comes: the other half is silence, not the block before.
  helper.peer->reply(Bytes().block(std::vector<uint8_t>(full.begin(), full.begin() + 16000)));
  const auto second = file->readAudio(3);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->sampleCount(), 8000);
  EXPECT_FLOAT_EQ(second->getChannelData(0)[3999], 0.5f);
  EXPECT_FLOAT_EQ(second->getChannelData(0)[4000], 0.0f);
  EXPECT_FLOAT_EQ(second->getChannelData(1)[7999], 0.0f);
}

TEST(InputPipe32Test, AudioBeyondAnInt32SamplePositionIsSilenceUnasked) {
  PeerReader helper;
  const auto file = helper.open(movieReply());
  // Block 268436 starts at sample 2,147,488,000.
  const auto block = file->readAudio(268436);
  EXPECT_TRUE(helper.peer->sent() == Bytes());
  ASSERT_TRUE(block);
  EXPECT_EQ(block->sampleCount(), 8000);
  EXPECT_FLOAT_EQ(block->getChannelData(0)[0], 0.0f);
}

TEST(InputPipe32Test, AHelperThatDiesMidReplyLeavesEmptyResults) {
  LogCapture log;
  PeerReader helper;
  const auto file = helper.open(movieReply());
  helper.peer->reply(Bytes().i32(32000).raw(std::vector<uint8_t>(100).data(), 100));
  helper.peer->die();
  EXPECT_FALSE(file->readAudio(0));
  EXPECT_TRUE(PipeTest::loggedError(log, "read audio failed."));
  EXPECT_EQ(helper.peer->terminations, 1);
  EXPECT_FALSE(file->readVideo(0));
  EXPECT_TRUE(PipeTest::loggedError(log, "read video failed."));
}

TEST(InputPipe32Test, FilesCloseTheirHandleAndTheReaderEndsTheHelper) {
  LogCapture log;
  PeerReader helper;
  auto kept = helper.open(videoReply(5));
  helper.open(videoReply(6)).reset();
  helper.peer->sent();
  helper.peer->reply(Bytes().i32(0));
  auto dropped = helper.reader->openFile("/media/x.peer");
  EXPECT_EQ(helper.peer->sent(), Bytes().i32(10).str(u"/media/x.peer"));

  kept.reset();
  EXPECT_EQ(helper.peer->sent(), Bytes().i32(11).i32(5));

  // A file that outlives its reader closes nothing: the helper has gone with its files.
  kept = helper.open(videoReply(9));
  auto peer = helper.peer;
  helper.reader.reset();
  EXPECT_EQ(peer->sent(), Bytes().i32(0));
  EXPECT_EQ(peer->terminations, 1);
  kept.reset();
  EXPECT_TRUE(log.texts("ERROR").empty());
}

TEST(InputPipe32Test, SettingsWaitForTheHelpersLockOnlyWhenThePluginHasADialog) {
  PeerReader withDialog(3 | 4);
  withDialog.peer->reply(Bytes().i32(0));
  withDialog.reader->showSetting(reinterpret_cast<void*>(uintptr_t{0x1234567890}));
  // The owner window crosses as its low 32 bits, then the lock's descriptor in the helper.
  EXPECT_EQ(withDialog.peer->sent(), Bytes().i32(2).i32(0x34567890).i32(3));
  EXPECT_EQ(withDialog.peer->mutexWaits, 1);

  PeerReader withoutDialog(3);
  withoutDialog.reader->showSetting(nullptr);
  EXPECT_TRUE(withoutDialog.peer->sent() == Bytes());
  EXPECT_EQ(withoutDialog.peer->mutexWaits, 0);
}

TEST(InputPipe32Test, APathTheHelperWouldRefuseIsNotSent) {
  LogCapture log;
  PeerReader helper;
  EXPECT_FALSE(helper.reader->openFile("/" + std::string(4096, 'p')));
  EXPECT_TRUE(PipeTest::loggedError(log, "file load failed."));
  // Nothing went out: the helper waits for the next command as before.
  EXPECT_TRUE(helper.peer->sent() == Bytes());
  EXPECT_TRUE(helper.peer->running);
}

}  // namespace
