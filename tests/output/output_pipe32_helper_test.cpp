// The writer bridge end to end: the real helper program pipe32vlo (32-bit where this
// machine can build and run it) running the fake writer plug-in, which writes a text record
// of what it was handed into the save path (tests/plugins/fake_output_plugin.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake_export_source.h"
#include "media/pipe_test_peer.h"
#include "output/output_pipe32.h"
#include "output/output_service.h"
#include "system/log_capture.h"
#include "system/temp_folder.h"

namespace {

using OutputTest::FakeExportSource;
using Plugin::OutputPipe32;
using Plugin::OutputPipe32File;

// Six frames of 4 x 2 pixels, 100 samples a frame; frames 1 to 2 are selected.
Plugin::ExportScene scene() { return OutputTest::tinyScene(5, 1, 2); }

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct HelperWriter {
  TestSupport::TempFolder folder{"velumo-pipe-writer"};
  OutputPipe32 writer{"fake_output_plugin.vlo",
                      std::make_unique<Plugin::PipeHelperProcess>(VELUMO_PIPE32VLO,
                                                                  VELUMO_HELPER_PLUGINS)};
  Plugin::ExportCaches caches;
  std::shared_ptr<FakeExportSource> source = std::make_shared<FakeExportSource>(scene());
  ~HelperWriter() { caches.stop(); }

  OutputPipe32File file(const std::string& name) {
    return OutputPipe32File(folder / name, writer.controlSection(), scene(), source, caches);
  }
};

TEST(OutputPipe32HelperTest, ThePluginGetsTheJobFramesSoundAndProgress) {
  HelperWriter helper;
  EXPECT_EQ(helper.writer.name(), "Fake Writer");
  EXPECT_EQ(helper.writer.kinds(), 1 | 2 | 4);

  OutputPipe32File file = helper.file("record.txt");
  EXPECT_TRUE(file.save());
  // Frame 0 of the export is scene frame 1 (every byte 17), frame 1 is scene frame 2 (33);
  // the sound starts at sample 100, whose value is 100.
  EXPECT_EQ(readText(helper.folder / "record.txt"),
            "job 3 4 2 30 1 2 3000 2 200\n"
            "video 0 17 17 17 17 17\n"
            "progress 1 2\n"
            "video 1 33 33 33 33 33\n"
            "progress 2 2\n"
            "audio 0 100 100 100\n"
            "audio 100 100 100 200\n"
            "end\n");
  EXPECT_EQ(file.progress().position.load(), 2u);
  EXPECT_EQ(file.progress().total.load(), 2u);
}

TEST(OutputPipe32HelperTest, FramesComeInTheFormThePluginAsks) {
  HelperWriter helper;
  OutputPipe32File packed = helper.file("record_yuy2.txt");
  EXPECT_TRUE(packed.save());
  const std::string record = readText(helper.folder / "record_yuy2.txt");
  EXPECT_NE(record.find("video 1 33 33 33 33 33\n"), std::string::npos) << record;

  // A code without a frame form gets no frame, a sound format other than 1 and 3 no sound;
  // the export itself goes on.
  OutputPipe32File unknown = helper.file("badformat.txt");
  EXPECT_TRUE(unknown.save());
  EXPECT_EQ(readText(helper.folder / "badformat.txt"),
            "job 3 4 2 30 1 2 3000 2 200\n"
            "video 0 null\n"
            "audio 0 100 0 0\n"
            "end\n");
}

TEST(OutputPipe32HelperTest, AnAbortReachesThePlugin) {
  HelperWriter helper;
  OutputPipe32File file = helper.file("aborted.txt");
  file.setAbort();
  EXPECT_TRUE(file.save());
  EXPECT_EQ(readText(helper.folder / "aborted.txt"), "job 3 4 2 30 1 2 3000 2 200\nabort\nend\n");
}

TEST(OutputPipe32HelperTest, AHelperThatCrashesFailsThisExportAndTheNext) {
  TestSupport::LogCapture log;
  HelperWriter helper;
  OutputPipe32File crashing = helper.file("crash.txt");
  EXPECT_FALSE(crashing.save());
  EXPECT_EQ(log.texts("ERROR").back(), "output file failed.");

  log.clear();
  OutputPipe32File next = helper.file("record.txt");
  EXPECT_FALSE(next.save());
  EXPECT_EQ(log.texts("ERROR").back(), "output file failed.");
  EXPECT_FALSE(std::filesystem::exists(helper.folder / "record.txt"));
}

TEST(OutputPipe32HelperTest, TheServiceRegistersThePluginFolderWriters) {
  const PipeTest::HelperInstallation installation(VELUMO_PIPE32VLO, VELUMO_HELPER_PLUGINS,
                                                  "fake_output_plugin.vlo");

  Plugin::OutputService service;
  const auto& plugins = service.plugins();
  EXPECT_NE(std::find_if(plugins.begin(), plugins.end(),
                         [](const auto& plugin) { return plugin->name() == "Fake Writer"; }),
            plugins.end());
}

}  // namespace
