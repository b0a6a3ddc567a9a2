// The recent project files, the backup files with the automatic backup, the resume file and
// the exception backup.
#include "edit/file_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "../system/fake_ui_bridge.h"
#include "edit/project.h"
#include "edit/resume_file.h"
#include "registry_fixture.h"
#include "system/timer.h"

namespace {

class FileHistoryTest : public ChainFixture::RegistryFixture {
 protected:
  static void writeFile(const std::string& path, const std::string& text) {
    System::File file;
    file.open(path, System::File::WriteExclusive);
    file.write(text);
  }
  static std::string readFile(const std::string& path) {
    System::File file;
    file.open(path, System::File::Read);
    std::string text(static_cast<std::size_t>(file.size()), '\0');
    file.readBlock(text.data(), text.size());
    return text;
  }
  static std::string backupFolder() { return System::FileName::getVariable("%Backup%"); }
  // The file names in the backup folder, sorted.
  static std::vector<std::string> backupFiles() {
    std::vector<std::string> names;
    for (const auto& file : System::File::findFilesByPattern(backupFolder() + "/*.vlp2"))
      names.push_back(file.path.substr(file.path.find_last_of('/') + 1));
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> postedErrors() {
    Event::EventService::instance()->processEventCommands();
    std::vector<std::string> texts;
    for (const auto& box : bridge_.boxes) texts.push_back(box.text);
    return texts;
  }

  TestSupport::FakeUiBridge bridge_;
};

// Remembers the paths it was asked to drop.
class RecordingHistory : public Edit::FileHistory {
 public:
  void onRemove(const std::string& path) override { removed.push_back(path); }
  std::vector<std::string> removed;
};

using List = std::vector<std::string>;

TEST_F(FileHistoryTest, AddingPutsAPathFirstOnceAndDropsTheOldestBeyondTheMaximum) {
  RecordingHistory history;
  history.maximum = 3;
  for (const char* path : {"/p/a.vlp2", "/p/b.vlp2", "/p/a.vlp2", "/p/A.vlp2"}) history.add(path);
  EXPECT_EQ(history.getList(), (List{"/p/A.vlp2", "/p/a.vlp2", "/p/b.vlp2"}));
  EXPECT_TRUE(history.removed.empty());
  // Nothing to name a file: ignored.
  for (const char* path : {"", "/p/", "p\\"}) history.add(path);
  EXPECT_EQ(history.getList().size(), 3u);

  history.add("/p/c.vlp2");
  EXPECT_EQ(history.getList(), (List{"/p/c.vlp2", "/p/A.vlp2", "/p/a.vlp2"}));
  EXPECT_EQ(history.removed, List{"/p/b.vlp2"});
  EXPECT_EQ(history.getPath(0), "/p/c.vlp2");
  EXPECT_EQ(history.getPath(2), "/p/a.vlp2");
  EXPECT_EQ(history.getPath(3), "");
  EXPECT_EQ(history.getPath(-1), "");

  // The maximum stays within 0 .. 50: 80 keeps all, a negative one drops all.
  history.setMaximum(80);
  EXPECT_EQ(history.maximum, 50);
  history.setMaximum(-3);
  EXPECT_EQ(history.maximum, 0);
  EXPECT_TRUE(history.getList().empty());
  EXPECT_EQ(history.removed, (List{"/p/b.vlp2", "/p/a.vlp2", "/p/A.vlp2", "/p/c.vlp2"}));
}

TEST_F(FileHistoryTest, TheProjectHistoryReadsKeysOneToFiftyAndWritesThemBackInOrder) {
  const std::string path = Edit::ProjectHistory::getFilePath();
  EXPECT_EQ(path, System::FileName::getVariable("%AppData%") + "/history.ini");
  Edit::ProjectHistory history;
  history.entries = {"stale"};
  history.load();  // no file: empty, no message
  EXPECT_TRUE(history.getList().empty());

  writeFile(path,
            "[project]\r\n2=/m/older.vlp2\r\n60=/m/far.vlp2\r\n1=/m/demo.vlp2\r\n4=\r\n"
            "[other]\r\n3=/m/no.vlp2\r\n");
  history.load();
  EXPECT_EQ(history.getList(), (List{"/m/demo.vlp2", "/m/older.vlp2"}));
  history.setMaximum(3);
  EXPECT_EQ(history.getList().size(), 2u);

  history.add("/m/new.vlp2");
  history.entries.push_back("/m/broken\nline.vlp2");  // cannot stand on one line: left out
  history.save();
  EXPECT_EQ(readFile(path), "[project]\r\n1=/m/new.vlp2\r\n2=/m/demo.vlp2\r\n3=/m/older.vlp2\r\n");
  Edit::ProjectHistory again;
  again.load();
  EXPECT_EQ(again.getList(), (List{"/m/new.vlp2", "/m/demo.vlp2", "/m/older.vlp2"}));

  // A damaged file gives what could be read, and no exception.
  writeFile(path + ".tmp", std::string("[project]\r\n1=/m/ok.vlp2\r\n2=\xff\xfe\r\n"));
  std::rename((path + ".tmp").c_str(), path.c_str());
  EXPECT_NO_THROW(again.load());
}

TEST_F(FileHistoryTest, EveryEndOfTheEditServiceWritesTheRecentFilesNumberedAfresh) {
  const std::string path = Edit::ProjectHistory::getFilePath();
  edit_.reset();
  writeFile(path, "[project]\r\n1=/m/a.vlp2\r\n2=/m/b.vlp2\r\n60=/m/c.vlp2\r\n");
  edit_.emplace();
  EXPECT_EQ(edit().projectSession().projectHistory.getList(), (List{"/m/a.vlp2", "/m/b.vlp2"}));
  // Nothing opened or saved in this run: the file is written all the same.
  edit_.reset();
  EXPECT_EQ(readFile(path), "[project]\r\n1=/m/a.vlp2\r\n2=/m/b.vlp2\r\n");

  // Also an empty list is written, and a file that was missing comes into being.
  std::remove(path.c_str());
  edit_.emplace();
  edit_.reset();
  EXPECT_EQ(readFile(path), "[project]\r\n");
  edit_.emplace();
}

TEST_F(FileHistoryTest, TheBackupHistoryListsTheNewestFirstAndDeletesWhatItDrops) {
  const std::string folder = backupFolder();
  // Made out of order: the list follows the time stamps in the names.
  for (const char* name :
       {"AutoBackup_2026-01-02_00-00-00-000.vlp2", "AutoBackup_2026-01-01_00-00-00-000.vlp2",
        "ExceptionBackup_2026-01-03_00-00-00-000.vlp2", "AutoBackup_2026-01-04_00-00-00-000.vlp2",
        "notes.txt"})
    writeFile(folder + "/" + name, "x");
  Edit::BackupHistory history;
  history.load();
  ASSERT_EQ(history.getList().size(), 4u);
  EXPECT_EQ(history.getPath(0), folder + "/AutoBackup_2026-01-04_00-00-00-000.vlp2");
  EXPECT_EQ(history.getPath(3), folder + "/AutoBackup_2026-01-01_00-00-00-000.vlp2");

  history.setMaximum(2);
  EXPECT_EQ(backupFiles(), (List{"AutoBackup_2026-01-04_00-00-00-000.vlp2",
                                 "ExceptionBackup_2026-01-03_00-00-00-000.vlp2"}));
  // A file that is gone already is no error.
  std::remove(history.getPath(1).c_str());
  EXPECT_NO_THROW(history.setMaximum(0));
  EXPECT_TRUE(backupFiles().empty());
}

TEST_F(FileHistoryTest, TheTimerRunsOnlyWhenBackupIsOnWithAnIntervalAndFilesToKeep) {
  struct Case {
    int autoBackup, interval, fileMax;
    bool running;
  };
  const Case cases[] = {
      {1, 5, 10, true},   {0, 5, 10, false}, {1, 0, 10, false},
      {1, -1, 10, false}, {1, 5, 0, false},  {1, 100000000, 1, true},
  };
  Edit::BackupHistory history;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoBackup << " " << c.interval << " " << c.fileMax);
    history.updateTimer(c.autoBackup, c.interval, c.fileMax);
    EXPECT_EQ(history.timer().isSet(), c.running);
  }
  // The edit service's settings.
  edit().settings.autoBackup = 0;
  history.updateTimer();
  EXPECT_FALSE(history.timer().isSet());
  edit().settings.autoBackup = 1;
  history.updateTimer();
  EXPECT_TRUE(history.timer().isSet());
  history.stopTimer();
  EXPECT_FALSE(history.timer().isSet());
}

TEST_F(FileHistoryTest, TheSettingsCutBothHistoriesAndSetTheTimer) {
  struct Case {
    int autoBackup, fileMax, historyMax;
    std::size_t backupsLeft, projectsLeft;
    bool running;
  };
  const Case cases[] = {
      {1, 10, 10, 10, 10, true},  // the defaults keep the ten newest
      {1, 50, 50, 12, 12, true},  // nothing beyond the maximum
      {1, 80, 3, 12, 3, true},    // 80 acts as 50
      {0, 5, 80, 5, 12, false},   // backup off: still listed and trimmed
      {1, 0, 0, 0, 0, false},     // no backups kept: every file goes, no timer
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoBackup << " " << c.fileMax << " " << c.historyMax);
    std::filesystem::remove_all(backupFolder());
    std::filesystem::create_directories(backupFolder());
    Edit::ProjectHistory projects;
    Edit::BackupHistory backups;
    for (int i = 0; i < 12; ++i) {
      const std::string stamp = "_2026-01-" + std::to_string(10 + i) + "_00-00-00-000.vlp2";
      writeFile(backupFolder() + "/AutoBackup" + stamp, "x");
      projects.add("/m/p" + std::to_string(i) + ".vlp2");
    }
    backups.load();
    edit().settings.autoBackup = c.autoBackup;
    edit().settings.autoBackupFileMax = c.fileMax;
    edit().settings.historyFileMax = c.historyMax;
    Edit::applyHistorySettings(projects, backups);
    EXPECT_EQ(backups.getList().size(), c.backupsLeft);
    EXPECT_EQ(backupFiles().size(), c.backupsLeft);
    EXPECT_EQ(projects.getList().size(), c.projectsLeft);
    if (c.projectsLeft) EXPECT_EQ(projects.getPath(0), "/m/p11.vlp2");
    if (c.backupsLeft)
      EXPECT_EQ(backups.getPath(0), backupFolder() + "/AutoBackup_2026-01-21_00-00-00-000.vlp2");
    EXPECT_EQ(backups.timer().isSet(), c.running);
  }
}

TEST_F(FileHistoryTest, EachTickSavesABackupAndOnlyTheNewestFilesRemain) {
  Edit::BackupHistory history;
  history.setMaximum(10);
  std::vector<std::string> saved;
  history.setSaveProject([&](const std::string& path) {
    saved.push_back(path);
    writeFile(path, "backup " + std::to_string(saved.size()));
  });
  history.updateTimer(1, 5, 10);
  for (int tick = 0; tick < 12; ++tick) {
    System::Timer::timerProc(history.timer().identifier());
    // Two ticks in the same millisecond would share a name.
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(saved.size(), 12u);
  const std::string name = saved.front().substr(saved.front().find_last_of('/') + 1);
  EXPECT_EQ(saved.front().substr(0, backupFolder().size() + 1), backupFolder() + "/");
  EXPECT_EQ(name.substr(0, 11), "AutoBackup_");
  EXPECT_EQ(name.size(), std::string("AutoBackup_2026-01-01_00-00-00-000.vlp2").size());
  EXPECT_EQ(history.getList(), List(saved.rbegin(), saved.rbegin() + 10));
  EXPECT_EQ(backupFiles().size(), 10u);
  EXPECT_FALSE(System::File::exists(saved[0]));
  EXPECT_TRUE(System::File::exists(saved[2]));
  EXPECT_TRUE(postedErrors().empty());

  // A failed save is told to the user; the entry stays and the timer runs on.
  history.setSaveProject([](const std::string&) {
    throw System::makeException("Edit::Project::saveFile", "disk full.");
  });
  System::Timer::timerProc(history.timer().identifier());
  EXPECT_EQ(postedErrors(), List{"プロジェクトの保存に失敗しました"});
  EXPECT_EQ(history.getList().size(), 10u);
  EXPECT_NE(history.getPath(0), saved.back());
  EXPECT_TRUE(history.timer().isSet());
}

TEST_F(FileHistoryTest, WithoutASaverTheBackupWritesTheEditServicesProject) {
  auto object = scene().createEmptyObject(2, 5, 25);
  object->setEffectByName("図形", nullptr);
  scene().update();
  edit().project.path = "/home/me/p.vlp2";
  Edit::BackupHistory history;
  history.autoBackupProject();
  ASSERT_EQ(history.getList().size(), 1u);
  Edit::Project copy;
  copy.loadFile(history.getPath(0));
  EXPECT_EQ(copy.path, "/home/me/p.vlp2");  // the project's own path, not the backup's
  EXPECT_EQ(copy.findScene(0)->getLayerObjects(2).objects.size(), 1u);
  EXPECT_TRUE(postedErrors().empty());
}

TEST_F(FileHistoryTest, TheResumeFileReopensTheEditsUnderTheUsersOwnPath) {
  Edit::Project project;
  EXPECT_FALSE(Edit::loadResumeFile(project));
  EXPECT_EQ(Edit::getResumeFilePath(), System::FileName::getVariable("%AppData%") + "/resume.vlp2");

  auto scene = project.getOrCreateScene(0);
  auto object = scene->createEmptyObject(1, 10, 20);
  object->setEffectByName("図形", nullptr);
  scene->update();
  project.path = "/home/me/a/p.vlp2";
  Edit::saveResumeFile(project);
  project.reset();

  Edit::Project next;
  ASSERT_TRUE(Edit::loadResumeFile(next));
  EXPECT_EQ(next.path, "/home/me/a/p.vlp2");
  ASSERT_EQ(next.findScene(0)->getLayerObjects(1).objects.size(), 1u);
  EXPECT_EQ(next.findScene(0)->getLayerObjects(1).objects[0]->start, 10);
  EXPECT_TRUE(System::File::exists(Edit::getResumeFilePath()));
  next.reset();
}

TEST_F(FileHistoryTest, AnExceptionBackupReplacesTheResumeFile) {
  Edit::Project project;
  project.getOrCreateScene(0);
  project.path = "/home/me/p.vlp2";
  Edit::saveResumeFile(project);
  const std::string path = Edit::saveExceptionBackup(project);
  ASSERT_FALSE(path.empty());
  const std::string name = path.substr(path.find_last_of('/') + 1);
  EXPECT_EQ(name.substr(0, 16), "ExceptionBackup_");
  EXPECT_EQ(backupFiles(), List{name});
  EXPECT_FALSE(System::File::exists(Edit::getResumeFilePath()));
  // The next start lists it with the automatic backups.
  Edit::BackupHistory history;
  history.load();
  EXPECT_EQ(history.getList(), List{path});

  // When the backup cannot be written the resume file stays as the last good state.
  Edit::saveResumeFile(project);
  std::filesystem::remove_all(backupFolder());
  writeFile(backupFolder(), "not a folder");
  EXPECT_EQ(Edit::saveExceptionBackup(project), "");
  EXPECT_TRUE(System::File::exists(Edit::getResumeFilePath()));
}

}  // namespace
