// The export run: registration, start, the save on the export worker, the end on the UI
// thread with its log line and notice, failures, the abort question and the progress.
#include <gtest/gtest.h>
#include <poll.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "fake_export_source.h"
#include "output/export_ui.h"
#include "output/output_service.h"
#include "system/event_service.h"
#include "system/log_capture.h"
#include "system/service_holder.h"
#include "system/temp_folder.h"
#include "system/file.h"
#include <filesystem>

namespace {

using namespace std::chrono_literals;

enum class Outcome { Complete, Throw, ReturnFalse, WaitForAbort };

class ScriptedFile final : public Plugin::OutputFile {
 public:
  ScriptedFile(std::string path, bool notify, Outcome outcome, Plugin::ExportCaches& caches)
      : OutputFile(std::move(path), notify, OutputTest::smallScene(10),
                   std::make_shared<OutputTest::FakeExportSource>(OutputTest::smallScene(10)),
                   caches),
        outcome_(outcome) {}

  bool save() override {
    progress().position = 50;
    progress().total = 200;
    saving = true;
    switch (outcome_) {
      case Outcome::Complete:
        return getVideoFrame(0, Plugin::kFrameBgr24, true) != nullptr;
      case Outcome::Throw:
        throw std::runtime_error("disk full");
      case Outcome::ReturnFalse:
        return false;
      case Outcome::WaitForAbort:
        while (!isAborted()) std::this_thread::sleep_for(1ms);
        return true;
    }
    return true;
  }

  std::atomic<bool> saving{false};

 private:
  Outcome outcome_;
};

class ScriptedWriter final : public Plugin::OutputPlugin {
 public:
  ScriptedWriter(std::string name, bool notify, Outcome outcome)
      : OutputPlugin(std::move(name), {{"Test (*.tst)", "*.tst"}}, {}, Plugin::kWriterVideo),
        notify_(notify),
        outcome_(outcome) {}

  std::shared_ptr<Plugin::OutputFile> openFile() override {
    const std::string path = chooseSavePath();
    if (path.empty()) return nullptr;
    auto file = std::make_shared<ScriptedFile>(
        path, notify_, outcome_, Plugin::OutputService::instance()->caches());
    lastFile = file;
    return file;
  }

  std::shared_ptr<ScriptedFile> lastFile;

 private:
  bool notify_;
  Outcome outcome_;
};

class RecordingUi final : public Plugin::ExportUi {
 public:
  std::string chooseSavePath(const std::string& title, const System::Filter&,
                             Plugin::OutputPlugin*) override {
    titles.push_back(title);
    return savePath;
  }
  void setStatus(const std::string& text, const std::string& detail, float) override {
    statuses.push_back(text + "|" + detail);
  }
  void enableMenus(bool enable) override { menus.push_back(enable); }
  bool confirm(const std::string& text, const std::string& caption) override {
    questions.push_back(text);
    return answer;
  }
  void showNotice(const std::string& title, const std::string& text) override {
    notices.push_back(title + "|" + text);
  }

  std::string savePath = "/tmp/export.tst";
  bool answer = true;
  std::vector<std::string> titles, statuses, questions, notices;
  std::vector<bool> menus;
};

class OutputServiceTest : public ::testing::Test {
 protected:
  void SetUp() override { Plugin::setExportUi(&ui_); }
  void TearDown() override { Plugin::setExportUi(nullptr); }

  // The writers: 0 completes with a notice, 1 completes without, 2 throws, 3 returns
  // false, 4 runs until it is aborted.
  Plugin::OutputService& service() {
    if (!service_) {
      Plugin::OutputService::PluginList writers = {
          std::make_shared<ScriptedWriter>("notify", true, Outcome::Complete),
          std::make_shared<ScriptedWriter>("quiet", false, Outcome::Complete),
          std::make_shared<ScriptedWriter>("throws", true, Outcome::Throw),
          std::make_shared<ScriptedWriter>("false", true, Outcome::ReturnFalse),
          std::make_shared<ScriptedWriter>("abortable", true, Outcome::WaitForAbort)};
      service_.emplace(std::move(writers));
      Plugin::OutputService::instance()->setEndListener([this](bool completed) {
        ended_ = true;
        completed_ = completed;
      });
    }
    return *Plugin::OutputService::instance();
  }

  ScriptedWriter& writer(int index) {
    return static_cast<ScriptedWriter&>(*service().plugins()[static_cast<std::size_t>(index)]);
  }

  // Runs the UI thread's commands until the export has ended.
  void runUntilEnded() {
    Event::EventService& events = *Event::EventService::instance();
    const auto limit = std::chrono::steady_clock::now() + 20s;
    while (!ended_ && std::chrono::steady_clock::now() < limit) {
      pollfd watch{events.commandDescriptor(), POLLIN, 0};
      ::poll(&watch, 1, 10);
      try {
        events.processEventCommands();
      } catch (const std::exception&) {
        // A rethrown worker exception would leave the loop; none is expected here.
      }
    }
    ASSERT_TRUE(ended_) << "the export never ended";
  }

  std::vector<std::string> infoTexts() const { return log_.texts("INFO"); }

  TestSupport::LogCapture log_;
  RecordingUi ui_;
  System::ServiceHolder<Event::EventService> events_;
  std::optional<System::ServiceHolder<Plugin::OutputService>> service_;
  bool ended_ = false;
  bool completed_ = false;
};

}  // namespace

namespace {

bool contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST_F(OutputServiceTest, WritersRegisterInOrderWithTheirSections) {
  Plugin::OutputService& run = service();
  ASSERT_EQ(run.plugins().size(), 5u);
  EXPECT_EQ(run.plugins()[0]->sectionName(), "Output.notify");
  EXPECT_EQ(run.plugins()[4]->order(), 4);
  EXPECT_TRUE(contains(infoTexts(), "register output plugin [abortable]"));
}

TEST_F(OutputServiceTest, AFailingRegistrationIsLeftOutAndTheOthersGoOn) {
  Plugin::OutputService& run = service();
  run.registerPlugin("Test::Broken", []() -> std::shared_ptr<Plugin::OutputPlugin> {
    throw std::runtime_error("no table");
  });
  run.registerPlugin(std::make_shared<ScriptedWriter>("after", true, Outcome::Complete));
  ASSERT_EQ(run.plugins().size(), 6u);
  EXPECT_EQ(run.plugins()[5]->name(), "after");
  EXPECT_EQ(run.plugins()[5]->order(), 5) << "the failed one takes no index";
  bool reported = false;
  for (const auto& record : log_.records())
    reported |= record.text.find("failed to register output plugin. [Test::Broken]\n\nno table") !=
                std::string::npos;
  EXPECT_TRUE(reported);
}

TEST_F(OutputServiceTest, EndingsByOutcome) {
  struct Case {
    int writer;
    const char* logText;
    bool notice;
    bool completed;
  };
  const Case cases[] = {
      {0, "export file complete", true, true},
      {1, "export file complete", false, true},  // stills show no balloon
      {2, "export file failed", false, false},   // an exception is never "complete"
      {3, "export file failed", false, false},   // nor is a writer that says it failed
  };
  for (const Case& c : cases) {
    ended_ = false;
    ui_.notices.clear();
    ui_.menus.clear();
    log_.clear();
    service().outputFile(c.writer);
    EXPECT_TRUE(service().isRunning());
    runUntilEnded();
    EXPECT_FALSE(service().isRunning());
    const auto texts = infoTexts();
    EXPECT_TRUE(contains(texts, "export file start : /tmp/export.tst")) << c.writer;
    EXPECT_TRUE(contains(texts, c.logText)) << c.writer;
    EXPECT_EQ(ui_.notices.size(), c.notice ? 1u : 0u) << c.writer;
    if (c.notice) {
      EXPECT_EQ(ui_.notices[0], "Velumo Kivrun2|ファイル出力が完了しました");
    }
    EXPECT_EQ(completed_, c.completed) << c.writer;
    EXPECT_EQ(ui_.menus, (std::vector<bool>{false, true})) << c.writer;
    ASSERT_FALSE(ui_.statuses.empty());
    EXPECT_EQ(ui_.statuses.back(), "|") << "the footer is cleared at the end";
  }
  // The failure reached the user as an exception box.
  bool shown = false;
  for (const auto& record : log_.records())
    shown |= record.text.find("output file failed.") != std::string::npos;
  EXPECT_TRUE(shown);
}

TEST_F(OutputServiceTest, AbortAsksOnceAndEndsAsCancel) {
  service().outputFile(4);
  ScriptedFile& file = *writer(4).lastFile;
  while (!file.saving) std::this_thread::sleep_for(1ms);
  service().updateProgress();
  EXPECT_EQ(ui_.statuses.back(), "ファイル出力中|25.00% (50/200)");

  ui_.answer = false;
  service().confirmAbort();
  EXPECT_FALSE(file.isAborted()) << "Cancel goes on";
  ui_.answer = true;
  service().confirmAbort();
  EXPECT_TRUE(file.isAborted());
  service().confirmAbort();  // after OK nothing is asked again
  EXPECT_EQ(ui_.questions.size(), 2u);
  EXPECT_EQ(ui_.questions[0], "ファイル出力を中断しますか？");
  runUntilEnded();
  EXPECT_TRUE(contains(infoTexts(), "export file cancel"));
  EXPECT_TRUE(ui_.notices.empty());
  EXPECT_FALSE(completed_);
}

TEST_F(OutputServiceTest, NothingStartsWhileAnExportRunsOrWhenTheDialogIsCancelled) {
  service().outputFile(4);
  auto running = service().currentOutputFile();
  service().outputFile(0);
  EXPECT_EQ(ui_.titles.size(), 1u) << "no second dialog";
  EXPECT_EQ(service().currentOutputFile(), running);
  running->setAbort();
  runUntilEnded();

  log_.clear();
  ui_.savePath.clear();
  service().outputFile(0);
  EXPECT_FALSE(service().isRunning());
  EXPECT_TRUE(infoTexts().empty()) << "a cancelled dialog logs nothing";
}

TEST_F(OutputServiceTest, AnIndexOutsideTheListIsRefused) {
  for (int index : {-1, 5}) {
    try {
      service().outputFile(index);
      FAIL() << index;
    } catch (const std::exception& error) {
      EXPECT_NE(std::string(error.what()).find("not found output plugin."), std::string::npos);
    }
  }
}

}  // namespace

namespace {

TEST(OutputServiceFolderTest, BuiltInWritersFirstThenThePluginFolder) {
  TestSupport::LogCapture log;
  TestSupport::TempFolder install("velumo-output-folder");
  install.makeFolder("data/Plugin");
  std::filesystem::create_symlink(VELUMO_FAKE_OUTPUT_PLUGIN, install / "data/Plugin/fake.vlo2");
  install.writeFile("data/Plugin/broken.vlo2", "not a shared object");
  System::FileName::resetVariableList(install.path());
  {
    Plugin::OutputService service;
    std::vector<std::string> names;
    for (const auto& plugin : service.plugins()) names.push_back(plugin->name());
    EXPECT_EQ(names, (std::vector<std::string>{"AVIファイル出力", "PNGファイル出力",
                                               "JPEGファイル出力", "Fake Writer"}));
    EXPECT_EQ(service.plugins()[3]->order(), 3);
  }
  bool reported = false;
  for (const auto& record : log.records())
    reported |= record.text.find("failed to register output plugin. "
                                 "[Plugin::ExternalOutputPlugin]") != std::string::npos;
  EXPECT_TRUE(reported) << "the broken library is reported and skipped";
  System::FileName::resetVariableList();
}

}  // namespace
