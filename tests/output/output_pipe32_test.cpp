// The writer bridge to the helper program, against a helper played byte for byte by the
// test: the output command, the answers to the helper's requests, and how a request that
// cannot be served or a helper that misbehaves ends the export.
#include "output/output_pipe32.h"

#include <gtest/gtest.h>

#include "fake_export_source.h"
#include "media/pipe_test_peer.h"
#include "system/exception.h"
#include "system/log_capture.h"

namespace {

using OutputTest::FakeExportSource;
using PipeTest::Bytes;
using PipeTest::PeerLink;
using PipeTest::PeerState;
using Plugin::OutputPipe32;
using Plugin::OutputPipe32File;
using TestSupport::LogCapture;

constexpr const char* kPath = "/out/movie.vid";

// Ten frames of 4 x 2 pixels, 100 samples a frame; frames 2 to 5 are selected.
Plugin::ExportScene scene() { return OutputTest::tinyScene(9, 2, 5); }

// The output command of the scene above: frames 2 to 5, samples 200 to 599.
Bytes outputCommand() {
  return Bytes().i32(10).str(u"/out/movie.vid").i32(4).i32(2).i32(30).i32(1).i32(4).i32(3000)
      .i32(400);
}

// A writer whose helper is the test.
struct PeerWriter {
  std::shared_ptr<PeerState> peer = std::make_shared<PeerState>();
  std::unique_ptr<OutputPipe32> writer;
  Plugin::ExportCaches caches;
  std::shared_ptr<FakeExportSource> source = std::make_shared<FakeExportSource>(scene());

  explicit PeerWriter(int32_t kinds = 3) {
    peer->reply(PipeTest::loadReply(kinds));
    writer = std::make_unique<OutputPipe32>("peer.vlo", std::make_unique<PeerLink>(peer));
    peer->sent();
  }
  ~PeerWriter() { caches.stop(); }

  // One export whose helper sends `requests`.
  bool save(const Bytes& requests) {
    peer->reply(requests);
    OutputPipe32File file(kPath, writer->controlSection(), scene(), source, caches);
    const bool result = file.save();
    lastProgress = file.progressText(file.progress().startTick);
    return result;
  }

  std::string lastProgress;
};

// A 24-bit DIB of 4 x 2 of the fake source's frame: every byte is the frame's pattern.
std::vector<uint8_t> frameDib(int frame) {
  return std::vector<uint8_t>(24, OutputTest::framePattern(frame));
}

// 16-bit stereo samples of the fake source from `start` (absolute), both channels alike.
std::vector<uint8_t> pcm(int64_t start, int32_t count) {
  Bytes bytes;
  for (int32_t i = 0; i < count; ++i) {
    const auto value = static_cast<int16_t>(OutputTest::samplePattern(start + i));
    bytes.raw(&value, 2).raw(&value, 2);
  }
  return bytes.bytes();
}

TEST(OutputPipe32Test, LoadTakesTheWritersFieldsFromTheReply) {
  PeerWriter helper(1 | 2 | 4);
  EXPECT_EQ(helper.writer->name(), "Peer Plugin");
  EXPECT_EQ(helper.writer->information(), "a plug-in played by the test");
  EXPECT_EQ(helper.writer->kinds(), 7);
  ASSERT_EQ(helper.writer->filter().size(), 1u);
  EXPECT_EQ(helper.writer->filter()[0].patterns, "*.peer;*.pr");

  auto peer = std::make_shared<PeerState>();
  peer->reply(Bytes().i32(3).str(std::u16string(4097, u'n')));
  try {
    OutputPipe32 writer("long.vlo", std::make_unique<PeerLink>(peer));
    ADD_FAILURE() << "loaded";
  } catch (const System::Exception& exception) {
    const std::string text = exception.what();
    EXPECT_NE(text.find("load plugin failed.\n\n[Note]\nlong.vlo"), std::string::npos) << text;
    EXPECT_NE(text.find("Plugin::OutputPipe32Process::ControlSection::loadPlugin()"),
              std::string::npos)
        << text;
  }
  EXPECT_EQ(peer->terminations, 1);
}

TEST(OutputPipe32Test, AnExportAnswersEachRequestInItsWireFormat) {
  PeerWriter helper;
  const Bytes requests = Bytes()
                             .i32(21).i32(1).i32(88)     // frame 1 of the export: scene frame 3
                             .i32(22).i32(10).i32(150)   // samples 210 to 359
                             .i32(23)                    // abort?
                             .i32(24).i32(50).i32(200)   // progress
                             .i32(20).i32(1);            // finished, success
  EXPECT_TRUE(helper.save(requests));
  const Bytes expected = outputCommand()
                             .block(frameDib(3))
                             .i32(150).block(pcm(210, 150))
                             .i32(0);
  EXPECT_EQ(helper.peer->sent(), expected);
  EXPECT_EQ(helper.lastProgress, "25.00% (50/200)");
  EXPECT_TRUE(helper.peer->running);
}

TEST(OutputPipe32Test, TheHelpersResultEndsTheExport) {
  PeerWriter helper;
  EXPECT_FALSE(helper.save(Bytes().i32(20).i32(0)));
  EXPECT_EQ(helper.peer->sent(), outputCommand());
  // The helper stays, and the next export goes through it.
  EXPECT_TRUE(helper.save(Bytes().i32(20).i32(7)));
}

TEST(OutputPipe32Test, AFetchThatFailsGetsAnEmptyReplyAndTheExportFails) {
  struct Case {
    const char* what;
    Bytes request;
    Bytes emptyReply;
  };
  const Case cases[] = {
      {"format 0", Bytes().i32(21).i32(0).i32(0), Bytes().i32(0)},
      {"a format without a DIB form", Bytes().i32(21).i32(0).i32(28), Bytes().i32(0)},
      {"a frame that cannot be rendered", Bytes().i32(21).i32(2).i32(88), Bytes().i32(0)},
      {"a negative length", Bytes().i32(22).i32(0).i32(-1), Bytes().i32(0).i32(0)},
      {"a negative start", Bytes().i32(22).i32(-5).i32(10), Bytes().i32(0).i32(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PeerWriter helper;
    helper.source->failVideo = {4};
    // The helper carries on after the empty reply; from then on it is told to stop.
    Bytes requests = c.request;
    requests.i32(23).i32(20).i32(1);
    EXPECT_FALSE(helper.save(requests));
    EXPECT_EQ(helper.peer->sent(), Bytes(outputCommand()).raw(c.emptyReply.bytes().data(),
                                                             c.emptyReply.bytes().size())
                                       .i32(1));
    EXPECT_TRUE(helper.peer->running);
    EXPECT_EQ(helper.peer->terminations, 0);
  }
}

TEST(OutputPipe32Test, AnAbortedExportAnswersTheAbortQuestionWithOne) {
  PeerWriter helper;
  helper.peer->reply(Bytes().i32(23).i32(20).i32(1));
  OutputPipe32File file(kPath, helper.writer->controlSection(), scene(), helper.source,
                        helper.caches);
  file.setAbort();
  EXPECT_TRUE(file.save());
  EXPECT_EQ(helper.peer->sent(), outputCommand().i32(1));
}

TEST(OutputPipe32Test, SoundIsCutAtTheScenesEnd) {
  PeerWriter helper;
  // From sample 200 + 700 = 900 the scene (1000 samples) holds 100 more.
  EXPECT_TRUE(helper.save(Bytes().i32(22).i32(700).i32(0x7FFFFFFF).i32(20).i32(1)));
  EXPECT_EQ(helper.peer->sent(), outputCommand().i32(100).block(pcm(900, 100)));
}

TEST(OutputPipe32Test, AnUnknownRequestEndsTheExportAndTheHelper) {
  LogCapture log;
  PeerWriter helper;
  EXPECT_FALSE(helper.save(Bytes().i32(99).i32(20).i32(1)));
  EXPECT_TRUE(PipeTest::loggedError(log, "output file failed."));
  const auto texts = log.texts("ERROR");
  EXPECT_NE(std::find_if(texts.begin(), texts.end(),
                         [](const std::string& text) {
                           return text.find("invalid pipe command.") != std::string::npos &&
                                  text.find("[99]") != std::string::npos;
                         }),
            texts.end());
  EXPECT_EQ(helper.peer->terminations, 1);

  // No restart: the next export fails at once, without a byte on the pipe.
  log.clear();
  EXPECT_FALSE(helper.save(Bytes()));
  EXPECT_TRUE(PipeTest::loggedError(log, "output file failed."));
  EXPECT_EQ(helper.peer->starts, 1);
}

TEST(OutputPipe32Test, AHelperThatDiesMidExportEndsItWithFalse) {
  LogCapture log;
  PeerWriter helper;
  helper.peer->reply(Bytes().i32(21).i32(0));  // the format never comes
  helper.peer->die();
  EXPECT_FALSE(helper.save(Bytes()));
  EXPECT_TRUE(PipeTest::loggedError(log, "output file failed."));
  EXPECT_EQ(helper.peer->terminations, 1);
  EXPECT_FALSE(helper.peer->running);
}

TEST(OutputPipe32Test, SettingsGoToTheHelperOnlyWhenThePluginHasADialog) {
  PeerWriter withDialog(1 | 2 | 4);
  withDialog.peer->reply(Bytes().i32(0));
  withDialog.writer->showSetting();
  EXPECT_EQ(withDialog.peer->sent(), Bytes().i32(2).i32(0).i32(3));
  EXPECT_EQ(withDialog.peer->mutexWaits, 1);
  EXPECT_EQ(withDialog.writer->getSettingText(), "Peer Plugin");

  PeerWriter withoutDialog(3);
  withoutDialog.writer->showSetting();
  EXPECT_TRUE(withoutDialog.peer->sent() == Bytes());
}

TEST(OutputPipe32Test, TheWriterEndsItsHelperWhenItGoes) {
  PeerWriter helper;
  auto peer = helper.peer;
  helper.writer.reset();
  EXPECT_EQ(peer->sent(), Bytes().i32(0));
  EXPECT_EQ(peer->terminations, 1);
}

}  // namespace
