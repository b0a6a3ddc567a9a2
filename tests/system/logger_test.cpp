#include "system/logger.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "system/file.h"
#include "system/ini_file.h"
#include "system/log.h"
#include "system/service_holder.h"
#include "system/setting_service.h"
#include "system/temp_folder.h"
#include "system/thread_test_support.h"

namespace {

namespace fs = std::filesystem;
using Setting::ParameterIni;
using Setting::SettingService;
using System::Logger;
using testing::ElementsAre;
using testing::EndsWith;
using testing::HasSubstr;
using TestSupport::TempFolder;

constexpr const char* kStyle =
    "[Layout]\nSettingItemHeight=18\nExplorerHeaderHeight=26\nListItemHeight=19\n";
const std::regex kLogFileName(R"(velumo2_\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2}-\d{3}\.log)");

struct View {
  std::vector<std::string> levels;  // newest first
  std::vector<std::string> texts;   // newest first
  int32_t counter = 0;
};

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The program's folder is a temporary one with a data folder; the services are created in
// the program's order (settings, then logger) and released in reverse.
class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    install_.writeFile("style.conf", kStyle);
    System::FileName::resetVariableList(install_.path());
  }
  void TearDown() override {
    stop();
    System::FileName::resetVariableList();
  }

  // [Logger] lines for velumo2.ini, read when the logger is created.
  void configure(const std::string& loggerLines) {
    install_.writeFile("data/velumo2.ini", "[Logger]\n" + loggerLines);
  }
  void start() {
    settings_.emplace();
    // Records kept by earlier tests of this process before any output existed are not ours.
    (void)System::Log::takeEarlyRecords();
    logger_.emplace();
  }
  void releaseLogger() { logger_.reset(); }
  void stop() {
    logger_.reset();
    settings_.reset();
  }

  static Logger& logger() { return *Logger::instance(); }
  static View view() {
    View result;
    logger().readView([&](const std::deque<Logger::ViewLine>& lines, int32_t counter) {
      for (const auto& line : lines) {
        result.levels.push_back(line.type->name);
        result.texts.push_back(line.text);
      }
      result.counter = counter;
    });
    return result;
  }

  std::string logFolder() const { return install_ / "data/Log"; }
  // The names in %Log%, sorted.
  std::vector<std::string> logFolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(logFolder()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> logFileNames() const {
    std::vector<std::string> names;
    for (const auto& name : logFolderNames())
      if (std::regex_match(name, kLogFileName)) names.push_back(name);
    return names;
  }

  TempFolder install_;
  std::optional<System::ServiceHolder<SettingService>> settings_;
  std::optional<System::ServiceHolder<Logger>> logger_;
};

TEST_F(LoggerTest, DefaultLevelsRouteEachRecordToItsSinks) {
  using Writer = void (*)(const char*, const char*, ...);
  struct Case {
    const char* level;
    Writer writer;
    bool inView;
    bool inFile;
  };
  const Case cases[] = {
      {"VERBOSE", System::Log::verbose, false, false}, {"INFO", System::Log::info, true, false},
      {"SCRIPT", System::Log::script, true, false},    {"WARN", System::Log::warn, true, false},
      {"ERROR", System::Log::error, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    start();
    const int32_t before = view().counter;
    testing::internal::CaptureStderr();
    c.writer("Test::route", "record %d", 7);
    const std::string debuggerOutput = testing::internal::GetCapturedStderr();

    const View after = view();
    EXPECT_EQ(debuggerOutput, "");
    if (c.inView) {
      ASSERT_EQ(after.texts.size(), 1u);
      EXPECT_EQ(after.levels[0], c.level);
      EXPECT_THAT(after.texts[0],
                  EndsWith(std::string("] [") + c.level + "] [Test::route] record 7"));
      EXPECT_EQ(after.counter, before + 1);
    } else {
      EXPECT_TRUE(after.texts.empty());
      EXPECT_EQ(after.counter, before);
    }
    EXPECT_EQ(logFileNames().size(), c.inFile ? 1u : 0u);
    stop();
    for (const auto& name : logFolderNames()) fs::remove(logFolder() + "/" + name);
  }
}

TEST_F(LoggerTest, ErrorRecordsGoToOneTimeStampedFileAsFormattedLines) {
  start();
  System::Log::error("Test::file", "first %s", "failure");
  System::Log::info("Test::file", "not for the file");
  System::Log::error("Test::file", "second");

  const auto files = logFileNames();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(std::regex_match(files[0], kLogFileName)) << files[0];

  // The file is readable while the logger holds it open.
  const std::string content = TestSupport::readWholeFile(logFolder() + "/" + files[0]);
  const auto lines = splitLines(content);
  ASSERT_EQ(lines.size(), 2u) << content;
  const std::regex firstLine(
      R"(\[\d{2}/\d{2} \d{2}:\d{2}:\d{2}\] \[ERROR\] \[Test::file\] first failure)");
  EXPECT_TRUE(std::regex_match(lines[0], firstLine)) << lines[0];
  EXPECT_THAT(lines[1], EndsWith("] [ERROR] [Test::file] second"));
  EXPECT_EQ(content.back(), '\n');
  EXPECT_EQ(content.find('\r'), std::string::npos);

  // The view shows the same lines, without their line breaks.
  const View shown = view();
  ASSERT_EQ(shown.texts.size(), 3u);
  EXPECT_EQ(shown.texts[2], lines[0]);
  EXPECT_EQ(shown.texts[0], lines[1]);
}

TEST_F(LoggerTest, LineBreaksSplitARecordIntoViewLinesWithTheLastLineInFront) {
  start();
  const int32_t before = view().counter;
  System::Log::info("Test::split", "a\r\nb");

  const View after = view();
  EXPECT_EQ(after.counter, before + 2);
  ASSERT_EQ(after.texts.size(), 2u);
  EXPECT_EQ(after.texts[0], "b");
  EXPECT_THAT(after.texts[1], EndsWith("] [INFO] [Test::split] a"));
  EXPECT_THAT(after.levels, ElementsAre("INFO", "INFO"));
}

TEST_F(LoggerTest, SectionValuesSetTheSinks) {
  struct Case {
    const char* name;
    const char* loggerLines;
    std::vector<std::string> expectedView;  // record texts, newest first
    int32_t counterRise;
    bool fileWritten;
  };
  const Case cases[] = {
      {"view sink off", "ViewLogLevel=0\n", {}, 0, true},
      {"no view line kept", "MaxViewLine=0\n", {}, 3, true},
      {"two view lines kept", "MaxViewLine=2\n", {"error", "warn"}, 3, true},
      {"view from verbose",
       "ViewLogLevel=1\nMaxViewLine=10\n",
       {"error", "warn", "info", "verbose"},
       4,
       true},
      {"file sink off", "FileLogLevel=0\n", {"error", "warn", "info"}, 3, false},
      {"unreadable value keeps the default",
       "MaxViewLine=many\nFileLogLevel=x\n",
       {"error", "warn", "info"},
       3,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    configure(c.loggerLines);
    start();
    const int32_t before = view().counter;
    System::Log::verbose("Test::sinks", "verbose");
    System::Log::info("Test::sinks", "info");
    System::Log::warn("Test::sinks", "warn");
    System::Log::error("Test::sinks", "error");

    const View after = view();
    std::vector<std::string> texts;
    for (const auto& line : after.texts) texts.push_back(line.substr(line.rfind(' ') + 1));
    EXPECT_EQ(texts, c.expectedView);
    EXPECT_EQ(after.counter - before, c.counterRise);
    EXPECT_EQ(logFileNames().size(), c.fileWritten ? 1u : 0u);
    stop();
    for (const auto& name : logFolderNames()) fs::remove(logFolder() + "/" + name);
  }
}

TEST_F(LoggerTest, DebuggerSinkWritesFromItsLevel) {
  configure("DebuggerLogLevel=3\n");
  start();
  testing::internal::CaptureStderr();
  System::Log::info("Test::debugger", "quiet");
  System::Log::warn("Test::debugger", "loud");
  const std::string output = testing::internal::GetCapturedStderr();
  EXPECT_THAT(output, EndsWith("] [WARN] [Test::debugger] loud\n"));
  EXPECT_THAT(output, testing::Not(HasSubstr("quiet")));
}

TEST_F(LoggerTest, TheFirstFileOfARunLeavesTheNewestFilesByName) {
  // Seven older files made in an order that is neither name order nor its reverse, and
  // with modification times that run against their names.
  const int days[] = {4, 1, 7, 2, 6, 3, 5};
  const auto now = fs::file_time_type::clock::now();
  for (const int day : days) {
    const std::string path = install_.writeFile(
        "data/Log/velumo2_2020-01-0" + std::to_string(day) + "_00-00-00-000.log", "old\n");
    fs::last_write_time(path, now - std::chrono::hours(day));
  }
  install_.writeFile("data/Log/notes.txt", "not a log\n");

  start();
  System::Log::error("Test::rotate", "new");
  const auto files = logFileNames();
  ASSERT_EQ(files.size(), 5u);
  EXPECT_THAT(
      std::vector<std::string>(files.begin(), files.begin() + 4),
      ElementsAre("velumo2_2020-01-04_00-00-00-000.log", "velumo2_2020-01-05_00-00-00-000.log",
                  "velumo2_2020-01-06_00-00-00-000.log", "velumo2_2020-01-07_00-00-00-000.log"));
  EXPECT_THAT(TestSupport::readWholeFile(logFolder() + "/" + files[4]), HasSubstr("] new\n"));
  EXPECT_TRUE(fs::exists(logFolder() + "/notes.txt"));

  // Old files are cleared once per run: a second error writes to the same file.
  System::Log::error("Test::rotate", "again");
  EXPECT_EQ(logFileNames(), files);
}

TEST_F(LoggerTest, TheLoggersOwnFileStaysWhateverTheLimit) {
  for (const char* limit : {"0", "1"}) {
    SCOPED_TRACE(std::string("MaxFileNum=") + limit);
    install_.writeFile("data/Log/velumo2_2020-01-01_00-00-00-000.log", "old\n");
    // Sorts after the time-stamped names, so it counts as newer than the logger's own file.
    install_.writeFile("data/Log/zz-notes.log", "other\n");
    configure(std::string("MaxFileNum=") + limit + "\n");
    start();
    System::Log::error("Test::rotate", "kept");
    System::Log::error("Test::rotate", "still written");

    const auto files = logFileNames();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(files[0], "velumo2_2020-01-01_00-00-00-000.log");
    const auto lines = splitLines(TestSupport::readWholeFile(logFolder() + "/" + files[0]));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(lines[1], EndsWith("still written"));
    EXPECT_EQ(fs::exists(logFolder() + "/zz-notes.log"), std::string(limit) == "1");
    stop();
    // The next run starts with a new file and may clear this one.
    fs::remove(logFolder() + "/" + files[0]);
  }
}

TEST_F(LoggerTest, AFileThatCannotBeOpenedCostsItsLineAndIsTriedAgain) {
  start();
  // A plain file where the log folder should be: opening the log file fails.
  fs::remove_all(logFolder());
  install_.writeFile("data/Log", "in the way\n");
  const int32_t before = view().counter;

  System::Log::error("Test::open", "lost for the file");

  // The failure of the open, itself an error record, was dropped instead of recursing.
  View after = view();
  EXPECT_EQ(after.counter, before + 1);
  ASSERT_EQ(after.texts.size(), 1u);
  EXPECT_THAT(after.texts[0], EndsWith("lost for the file"));

  fs::remove(logFolder());
  fs::create_directory(logFolder());
  System::Log::error("Test::open", "written");
  const auto files = logFileNames();
  ASSERT_EQ(files.size(), 1u);
  const auto lines = splitLines(TestSupport::readWholeFile(logFolder() + "/" + files[0]));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_THAT(lines[0], EndsWith("] [ERROR] [Test::open] written"));
}

TEST_F(LoggerTest, RecordsOfManyThreadsAllArrive) {
  configure("MaxViewLine=100000\n");
  start();
  const int32_t before = view().counter;
  constexpr int kThreads = 8;
  constexpr int kRecords = 200;
  {
    TestSupport::Watchdog watchdog("logging threads");
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([t] {
        for (int i = 0; i < kRecords; ++i) System::Log::error("Test::threads", "t%d-r%d", t, i);
      });
    for (auto& thread : threads) thread.join();
  }

  const View after = view();
  EXPECT_EQ(after.counter - before, kThreads * kRecords);
  EXPECT_EQ(after.texts.size(), static_cast<std::size_t>(kThreads * kRecords));

  const auto files = logFileNames();
  ASSERT_EQ(files.size(), 1u);
  std::set<std::string> expected;
  for (int t = 0; t < kThreads; ++t)
    for (int i = 0; i < kRecords; ++i)
      expected.insert("t" + std::to_string(t) + "-r" + std::to_string(i));
  std::set<std::string> inFile;
  for (const auto& line : splitLines(TestSupport::readWholeFile(logFolder() + "/" + files[0])))
    inFile.insert(line.substr(line.rfind(' ') + 1));
  EXPECT_EQ(inFile, expected);
  // Whole lines only: no record was cut into another.
  EXPECT_EQ(splitLines(TestSupport::readWholeFile(logFolder() + "/" + files[0])).size(),
            expected.size());
}

TEST_F(LoggerTest, AfterReleaseRecordsGoNowhere) {
  start();
  System::Log::error("Test::release", "before");
  const auto files = logFileNames();
  ASSERT_EQ(files.size(), 1u);
  const std::string path = logFolder() + "/" + files[0];
  const std::string content = TestSupport::readWholeFile(path);

  releaseLogger();
  EXPECT_EQ(Logger::instance(), nullptr);
  System::Log::error("Test::release", "after");
  System::Log::warn("Test::release", "after");

  EXPECT_EQ(logFileNames(), files);
  EXPECT_EQ(TestSupport::readWholeFile(path), content);
  // A new logger does not receive them either.
  logger_.emplace();
  EXPECT_TRUE(view().texts.empty());
}

TEST_F(LoggerTest, TheSectionIsSavedIntoTheParameterStoreAtRelease) {
  configure("MaxViewLine=50\n");
  start();
  EXPECT_EQ(logger().maxViewLine, 50);
  EXPECT_EQ(logger().maxFileNum, 5);
  logger().maxFileNum = 9;
  logger().debuggerLogLevel = 1;
  releaseLogger();

  const System::IniFile& store = *ParameterIni::instance();
  EXPECT_EQ(store.findValue("Logger", "MaxViewLine").text, "50");
  EXPECT_EQ(store.findValue("Logger", "MaxFileNum").text, "9");
  EXPECT_EQ(store.findValue("Logger", "ViewLogLevel").text, "2");
  EXPECT_EQ(store.findValue("Logger", "FileLogLevel").text, "4");
  EXPECT_EQ(store.findValue("Logger", "DebuggerLogLevel").text, "1");

  // And velumo2.ini carries them into the next run.
  stop();
  start();
  EXPECT_EQ(logger().maxFileNum, 9);
  EXPECT_EQ(logger().debuggerLogLevel, 1);
}

// Runs in a process of its own: records are kept only until the first log output is
// installed, and other tests of this program install one.
TEST(LoggerEarlyRecordsDeathTest, WarningsAndErrorsFromBeforeTheLoggerAreWrittenOnceItExists) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const auto run = [] {
    std::string failure;
    {
      TempFolder install;
      install.writeFile("style.conf", kStyle);
      install.writeFile("data/velumo2.ini", "[Logger]\nFileLogLevel=3\nMaxViewLine=1000\n");
      System::FileName::resetVariableList(install.path());

      System::Log::info("Test::early", "early info");
      for (int i = 0; i < 260; ++i) System::Log::warn("Test::early", "early %d", i);
      System::Log::error("Test::early", "early error");
      {
        System::ServiceHolder<SettingService> settings;
        System::ServiceHolder<Logger> logger;
        std::vector<std::string> view;
        Logger::instance()->readView([&](const auto& lines, int32_t) {
          for (const auto& line : lines) view.push_back(line.text);
        });
        std::vector<std::string> file;
        for (const auto& entry : fs::directory_iterator(install / "data/Log"))
          file = splitLines(TestSupport::readWholeFile(entry.path().string()));

        // At most 256 kept, the oldest dropped: warnings 5 to 259 and the error.
        const auto endsWith = [](const std::string& text, const std::string& tail) {
          return text.size() >= tail.size() &&
                 text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
        };
        if (file.size() != 256)
          failure += "file lines: " + std::to_string(file.size()) + "\n";
        else if (!endsWith(file.front(), "] [WARN] [Test::early] early 5") ||
                 !endsWith(file.back(), "] [ERROR] [Test::early] early error"))
          failure += "file: " + file.front() + " ... " + file.back() + "\n";
        if (view.size() != 256 || !endsWith(view.front(), "early error"))
          failure += "view lines: " + std::to_string(view.size()) + "\n";
        for (const auto& line : view)
          if (line.find("early info") != std::string::npos) failure += "info was kept\n";
      }
      System::FileName::resetVariableList();
    }
    std::fputs(failure.c_str(), stderr);
    std::exit(failure.empty() ? 0 : 1);
  };
  EXPECT_EXIT(run(), testing::ExitedWithCode(0), "");
}

}  // namespace
