// Writer plug-in libraries: the table, an export handed to the library through its job
// record and callbacks, the fallbacks when a frame or sound cannot be had, and a crash in
// the library. The library is tests/plugins/fake_output_plugin.cpp: it writes a record of
// what it received into the save path.
#include "output/external_output_plugin.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "fake_export_source.h"
#include "output/export_ui.h"
#include "system/exception.h"
#include "system/temp_folder.h"

namespace {

using OutputTest::framePattern;
using OutputTest::samplePattern;
using Plugin::ExternalOutputFile;
using Plugin::ExternalOutputPlugin;

constexpr const char* kLibrary = VELUMO_FAKE_OUTPUT_PLUGIN;

// Frames whose rows differ: row y of frame n holds framePattern(n) + y in every byte, so
// the first bytes of a DIB tell which row comes first.
class RowSource : public OutputTest::FakeExportSource {
 public:
  using FakeExportSource::FakeExportSource;
  std::shared_ptr<Media::ImageBuffer> renderVideo(int frame, int format,
                                                  bool straightAlpha) override {
    auto image = FakeExportSource::renderVideo(frame, format, straightAlpha);
    for (uint32_t y = 0; y < image->height; ++y)
      std::memset(image->row(y), framePattern(frame) + static_cast<int>(y), image->pitch);
    return image;
  }
};

// A 6 x 3 scene (24-bit rows of 18 bytes padded to 20) at 30/1 and 48000 Hz.
Plugin::ExportScene scene(int frames) {
  Plugin::ExportScene s = OutputTest::smallScene(frames);
  s.width = 6;
  s.height = 3;
  return s;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines,
                                           const std::string& word) {
  std::vector<std::string> found;
  for (const auto& line : lines)
    if (line.rfind(word + " ", 0) == 0 || line == word) found.push_back(line);
  return found;
}

class ExternalOutputPluginTest : public ::testing::Test {
 protected:
  // Runs an export of `exportScene` into a file named `name` and returns the plug-in's record.
  std::vector<std::string> save(const std::string& name, const Plugin::ExportScene& exportScene,
                                const std::function<void(RowSource&, ExternalOutputFile&)>& setUp =
                                    nullptr) {
    source_ = std::make_shared<RowSource>(exportScene);
    file_ = std::make_unique<ExternalOutputFile>(folder_ / name, plugin_.module(), exportScene,
                                                 source_, caches_);
    if (setUp) setUp(*source_, *file_);
    EXPECT_TRUE(file_->save());
    caches_.clear();  // the read-ahead is done
    return linesOf(TestSupport::readWholeFile(folder_ / name));
  }

  TestSupport::TempFolder folder_{"velumo-output-plugin"};
  ExternalOutputPlugin plugin_{kLibrary};
  Plugin::ExportCaches caches_;
  std::shared_ptr<RowSource> source_;
  std::unique_ptr<ExternalOutputFile> file_;
};

int configureCalls() {
  void* handle = ::dlopen(kLibrary, RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return -1;
  auto function = reinterpret_cast<int (*)()>(::dlsym(handle, "fakeOutputConfigureCalls"));
  const int calls = function ? function() : -1;
  ::dlclose(handle);
  return calls;
}

TEST_F(ExternalOutputPluginTest, TheTableGivesNameFilterKindsAndSettings) {
  EXPECT_EQ(plugin_.name(), "Fake Writer");
  EXPECT_EQ(plugin_.information(), "Fake writer for the tests");
  ASSERT_EQ(plugin_.filter().size(), 1u);
  EXPECT_EQ(plugin_.filter()[0].patterns, "*.fakeout");
  EXPECT_EQ(plugin_.kinds(), Plugin::kWriterVideo | Plugin::kWriterAudio | Plugin::kWriterSettings);
  EXPECT_EQ(plugin_.getSettingText(), "fake settings ✓");
  const int before = configureCalls();
  plugin_.showSetting();
  EXPECT_EQ(configureCalls(), before + 1);
}

TEST_F(ExternalOutputPluginTest, WithoutASettingsDialogThereIsNoSettingsKindNorText) {
  TestSupport::ScopedEnvironment noConfigure("VELUMO_FAKE_PLUGIN", "noconfigure");
  const auto plain = Plugin::makeExternalOutputPlugin(kLibrary);
  EXPECT_EQ(plain->kinds(), Plugin::kWriterVideo | Plugin::kWriterAudio);
  EXPECT_EQ(plain->getSettingText(), "");
  const int before = configureCalls();
  plain->showSetting();
  EXPECT_EQ(configureCalls(), before);
}

// A save dialog that records whether it was given the settings row, and is cancelled.
class RecordingUi : public Plugin::ExportUi {
 public:
  std::string chooseSavePath(const std::string& title, const System::Filter& filter,
                             Plugin::OutputPlugin* settings) override {
    titles.push_back(title);
    settingsGiven.push_back(settings != nullptr);
    return {};
  }
  std::vector<std::string> titles;
  std::vector<bool> settingsGiven;
};

TEST_F(ExternalOutputPluginTest, TheSaveDialogHasTheSettingsRowOnlyWithASettingsDialog) {
  RecordingUi ui;
  Plugin::setExportUi(&ui);
  EXPECT_FALSE(plugin_.openFile());  // cancelled
  {
    TestSupport::ScopedEnvironment noConfigure("VELUMO_FAKE_PLUGIN", "noconfigure");
    EXPECT_FALSE(Plugin::makeExternalOutputPlugin(kLibrary)->openFile());
  }
  Plugin::setExportUi(nullptr);
  EXPECT_EQ(ui.titles, (std::vector<std::string>{"Fake Writer", "Fake Writer"}));
  EXPECT_EQ(ui.settingsGiven, (std::vector<bool>{true, false}));
}

TEST_F(ExternalOutputPluginTest, TheExportReachesThePluginFrameByFrame) {
  struct Case {
    const char* name;
    int frames, selectStart, selectEnd;
    int firstFrame, frameCount;
  };
  const Case cases[] = {
      {"whole.fakeout", 4, -1, -1, 0, 4},
      // Frame 0 of the plug-in is the export's first frame, not the scene's.
      {"range.fakeout", 30, 10, 13, 10, 4},
  };
  for (const Case& c : cases) {
    Plugin::ExportScene s = scene(c.frames);
    s.selectedFrameStart = c.selectStart;
    s.selectedFrameEnd = c.selectEnd;
    const auto lines = save(c.name, s);
    ASSERT_FALSE(lines.empty()) << c.name;
    EXPECT_EQ(lines[0], "job 3 6 3 30 1 " + std::to_string(c.frameCount) + " 48000 2 " +
                            std::to_string(c.frameCount * 1600))
        << c.name;
    const auto video = linesStartingWith(lines, "video");
    ASSERT_EQ(video.size(), static_cast<size_t>(c.frameCount)) << c.name;
    for (int i = 0; i < c.frameCount; ++i) {
      // A bottom-up 24-bit DIB: the picture's last row (y = 2) comes first, and the row's
      // padding byte is 0.
      const int bottom = framePattern(c.firstFrame + i) + 2;
      EXPECT_EQ(video[static_cast<size_t>(i)],
                "video " + std::to_string(i) + " " + std::to_string(bottom) + " " +
                    std::to_string(bottom) + " " + std::to_string(bottom) + " " +
                    std::to_string(bottom) + " 0")
          << c.name;
    }
    const auto audio = linesStartingWith(lines, "audio");
    ASSERT_EQ(audio.size(), static_cast<size_t>(c.frameCount)) << c.name;
    for (int i = 0; i < c.frameCount; ++i)
      EXPECT_EQ(audio[static_cast<size_t>(i)],
                "audio " + std::to_string(i * 1600) + " 1600 1600 " +
                    std::to_string(samplePattern(int64_t{c.firstFrame + i} * 1600)))
          << c.name;
    EXPECT_EQ(lines.back(), "end");
    EXPECT_EQ(file_->progress().position.load(), static_cast<uint32_t>(c.frameCount));
    EXPECT_EQ(file_->progress().total.load(), static_cast<uint32_t>(c.frameCount));
  }
}

TEST_F(ExternalOutputPluginTest, PackedFramesComeTopDown) {
  const auto video = linesStartingWith(save("yuy2.fakeout", scene(2)), "video");
  ASSERT_EQ(video.size(), 2u);
  // 6 x 2 bytes a row, no padding: the first bytes are the top row's.
  const std::string top = std::to_string(framePattern(1));
  EXPECT_EQ(video[1], "video 1 " + top + " " + top + " " + top + " " + top + " " + top);
}

TEST_F(ExternalOutputPluginTest, ThePluginsReadAheadDepthsApply) {
  // The plug-in asks for depths 0 and 8: no video beyond the asked frame, sound up to four
  // frames ahead.
  Plugin::ExportScene s = scene(20);
  s.selectedFrameStart = 0;
  s.selectedFrameEnd = 3;
  save("depths.fakeout", s);
  const auto video = source_->videoFrames();
  const auto audio = source_->audioFrames();
  EXPECT_EQ(*std::max_element(video.begin(), video.end()), 3);
  EXPECT_EQ(*std::max_element(audio.begin(), audio.end()), 3 + 4);
}

TEST_F(ExternalOutputPluginTest, WhatCannotBeHadComesAsZerosOrNoSamples) {
  const auto lines = save("failing.fakeout", scene(4), [](RowSource& source, ExternalOutputFile&) {
    source.failVideo = {1};
    source.failAudio = {2};
  });
  const auto video = linesStartingWith(lines, "video");
  ASSERT_EQ(video.size(), 4u);
  EXPECT_EQ(video[1], "video 1 0 0 0 0 0");
  const auto audio = linesStartingWith(lines, "audio");
  ASSERT_EQ(audio.size(), 4u);
  EXPECT_EQ(audio[2], "audio 3200 1600 0 0");
  EXPECT_EQ(audio[3], "audio 4800 1600 1600 " + std::to_string(samplePattern(4800)));
}

TEST_F(ExternalOutputPluginTest, UnknownFormatsGiveNoFrameAndNoSamples) {
  const auto lines = save("badformat.fakeout", scene(2));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "video 0 null");
  EXPECT_EQ(lines[2], "audio 0 100 0 0");
}

TEST_F(ExternalOutputPluginTest, AnAbortStopsThePluginBeforeTheNextFrame) {
  const auto lines = save("abort.fakeout", scene(4),
                          [](RowSource&, ExternalOutputFile& file) { file.setAbort(); });
  EXPECT_TRUE(linesStartingWith(lines, "video").empty());
  EXPECT_EQ(linesStartingWith(lines, "abort").size(), 1u);
}

TEST_F(ExternalOutputPluginTest, ACrashInTheLibraryFailsTheExportOnly) {
  const Plugin::ExportScene s = scene(2);
  auto source = std::make_shared<RowSource>(s);
  ExternalOutputFile crashing(folder_ / "crash.fakeout", plugin_.module(), s, source, caches_);
  std::string text;
  try {
    crashing.save();
  } catch (const System::Exception& error) {
    text = error.what();
  }
  EXPECT_NE(text.find("table.fnOutput() structured exception"), std::string::npos) << text;
  EXPECT_NE(text.find("Plugin::ExternalOutputFile::save()"), std::string::npos) << text;
  EXPECT_NE(text.find("Module: fake_output_plugin.vlo2"), std::string::npos) << text;
  // The next export runs: the callbacks serve it.
  EXPECT_EQ(linesStartingWith(save("after.fakeout", s), "video").size(), 2u);
}

}  // namespace
