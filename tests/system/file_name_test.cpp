#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "system/file.h"
#include "system/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using System::FileName::expandVariable;
using System::FileName::getVariable;
using TestSupport::TempFolder;

const char* const kDataFolders[] = {"Plugin", "Script",   "Default", "Alias", "Figure",
                                    "Transition", "Language", "Backup",  "Log"};

bool isFolder(const std::string& path) { return fs::is_directory(path); }

// The program's folder is a temporary one; it has a data folder unless a test says not.
class PathVariables : public ::testing::Test {
 protected:
  void SetUp() override { System::FileName::resetVariableList(install_.path()); }
  void TearDown() override { System::FileName::resetVariableList(); }
  std::string data() const { return install_ / "data"; }
  TempFolder install_;
};

class PathVariablesWithData : public PathVariables {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    PathVariables::SetUp();
  }
};

TEST_F(PathVariablesWithData, ExpandsOnlyALeadingKnownVariable) {
  struct Case {
    std::string path;
    std::string expected;
  };
  const std::string d = data();
  const Case cases[] = {
      {"%AppData%/velumo2.ini", d + "/velumo2.ini"},
      {"%AppData%\\velumo2.ini", d + "/velumo2.ini"},  // older "\" separators
      {"%AppInstall%/script.anm2", install_.path() + "/script.anm2"},
      {"%Log%/a.log", d + "/Log/a.log"},
      {"%AppData%/x/%AppData%", d + "/x/" + d},  // every occurrence of the leading one
      {"%AppData%/%Log%/a", d + "/%Log%/a"},     // other variables stay
      {"/x/%AppData%/a", "/x/%AppData%/a"},      // not at the start
      {"%appdata%/a", "%appdata%/a"},            // case matters
      {"%Unknown%/a", "%Unknown%/a"},
      {"%%AppData%/a", "%%AppData%/a"},
      {"%AppData", "%AppData"},
      {"/plain/path.txt", "/plain/path.txt"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(expandVariable(c.path), c.expected) << c.path;
}

TEST_F(PathVariablesWithData, DataFolderBesideTheProgramHoldsEveryVariable) {
  EXPECT_EQ(getVariable("%AppInstall%"), install_.path());
  EXPECT_EQ(getVariable("%AppData%"), data());
  for (const char* folder : kDataFolders) {
    const std::string value = getVariable(std::string("%") + folder + "%");
    EXPECT_EQ(value, data() + "/" + folder);
    EXPECT_TRUE(isFolder(value)) << value;
  }
  EXPECT_EQ(getVariable("%Nothing%"), "");
}

TEST_F(PathVariablesWithData, AppInstallGivenWithTrailingSeparator) {
  System::FileName::resetVariableList(install_.path() + "/");
  EXPECT_EQ(expandVariable("%AppData%/a"), data() + "/a");
}

TEST_F(PathVariablesWithData, TableIsBuiltAtTheFirstExpansionOnly) {
  // A path that needs no variable does not build the table.
  EXPECT_EQ(expandVariable("/no/variable"), "/no/variable");
  EXPECT_EQ(expandVariable("x%Log%"), "x%Log%");
  EXPECT_FALSE(isFolder(data() + "/Log"));
  EXPECT_EQ(expandVariable("%Log%"), data() + "/Log");
  EXPECT_TRUE(isFolder(data() + "/Log"));
  // Built once: a folder removed afterwards is not made again.
  fs::remove(data() + "/Log");
  EXPECT_EQ(expandVariable("%Log%/b"), data() + "/Log/b");
  EXPECT_FALSE(isFolder(data() + "/Log"));
}

TEST_F(PathVariablesWithData, ExistingFoldersAreLeftAsTheyAre) {
  const std::string kept = install_.writeFile("data/Default/keep.effect", "x");
  chmod((data() + "/Default").c_str(), 0750);
  (void)expandVariable("%AppData%");
  EXPECT_EQ(TestSupport::readWholeFile(kept), "x");
  struct stat info {};
  ASSERT_EQ(stat((data() + "/Default").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0750u);
}

TEST_F(PathVariables, WithoutDataFolderUsesTheUserDataFolder) {
  TempFolder xdg;
  TestSupport::ScopedEnvironment environment("XDG_DATA_HOME", xdg.path().c_str());
  const std::string appData = xdg / "velumo2";
  EXPECT_EQ(expandVariable("%AppData%/velumo2.ini"), appData + "/velumo2.ini");
  EXPECT_TRUE(isFolder(appData));
  for (const char* folder : kDataFolders) EXPECT_TRUE(isFolder(appData + "/" + folder)) << folder;
  EXPECT_FALSE(isFolder(data()));
}

TEST_F(PathVariables, WithoutXdgDataHomeUsesTheHomeFolder) {
  TempFolder home;
  TestSupport::ScopedEnvironment noXdg("XDG_DATA_HOME", nullptr);
  TestSupport::ScopedEnvironment homeVariable("HOME", home.path().c_str());
  EXPECT_EQ(getVariable("%Plugin%"), home.path() + "/.local/share/velumo2/Plugin");
  EXPECT_TRUE(isFolder(home.path() + "/.local/share/velumo2/Plugin"));
}

TEST_F(PathVariables, RelativeXdgDataHomeIsIgnored) {
  TempFolder home;
  TestSupport::ScopedEnvironment relative("XDG_DATA_HOME", "relative/share");
  TestSupport::ScopedEnvironment homeVariable("HOME", home.path().c_str());
  EXPECT_EQ(getVariable("%AppData%"), home.path() + "/.local/share/velumo2");
}

TEST_F(PathVariablesWithData, FailedFolderCreationKeepsWhatWasEnteredAndIsNotRetried) {
  // A file where the Script folder should be.
  install_.writeFile("data/Script", "not a folder");
  try {
    (void)expandVariable("%Log%/a.log");
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(),
                 "mkdir() failed.\n\n[Note]\nHRESULT: 0x80070014\nNot a directory\n\n"
                 "[Place]\nSystem::File::createDirectory()");
  }
  // The variables entered before the failure stay; the later ones are never entered.
  fs::remove(data() + "/Script");
  EXPECT_EQ(expandVariable("%AppData%/a"), data() + "/a");
  EXPECT_EQ(expandVariable("%Plugin%/a"), data() + "/Plugin/a");
  EXPECT_EQ(expandVariable("%Script%/a"), "%Script%/a");
  EXPECT_EQ(expandVariable("%Log%/a"), "%Log%/a");
  EXPECT_FALSE(isFolder(data() + "/Script"));
}

TEST(FileNameParts, DirectoryTitleAndExtension) {
  struct Case {
    const char* path;
    const char* directory;
    const char* title;
    const char* extension;
  };
  const Case cases[] = {
      {"/a/b.txt", "/a", "b", "txt"},
      {"/a/b.c.TXT", "/a", "b.c", "txt"},
      {"/a/noext", "/a", "noext", ""},
      {"/a.b/c", "/a.b", "c", ""},
      {"/a/.hidden", "/a", "", "hidden"},
      {"/a/name.", "/a", "name", ""},
      {"x.PNG", "", "x", "png"},
      {"C:\\a\\b.Txt", "C:\\a", "b", "txt"},
      {"C:\\", "C:", "", ""},
      {"/a/b/", "/a/b", "", ""},
      {"/a.txt", "", "a", "txt"},
      {"/a/ÄB.ÄX", "/a", "ÄB", "Äx"},  // only A to Z are lower-cased
  };
  for (const auto& c : cases) {
    EXPECT_EQ(System::FileName::getDirectory(c.path), c.directory) << c.path;
    EXPECT_EQ(System::FileName::getTitle(c.path), c.title) << c.path;
    EXPECT_EQ(System::FileName::getExtension(c.path), c.extension) << c.path;
  }
}

TEST_F(PathVariablesWithData, TimeStampNameAtAGivenTime) {
  std::tm time{};
  time.tm_year = 2025 - 1900;
  time.tm_mon = 2;
  time.tm_mday = 2;
  time.tm_hour = 9;
  time.tm_min = 5;
  time.tm_sec = 3;
  EXPECT_EQ(System::FileName::makeTimeStampName("%Log%/", "velumo2", "log", time, 7),
            data() + "/Log/velumo2_2025-03-02_09-05-03-007.log");
  EXPECT_EQ(System::FileName::makeTimeStampName("%Backup%\\", "AutoBackup", "vlp2", time, 999),
            data() + "/Backup/AutoBackup_2025-03-02_09-05-03-999.vlp2");
  // The name is cut at 519 characters before the extension is added.
  const std::string name = System::FileName::makeTimeStampName("/d/", std::string(600, 'p'), "log",
                                                               time, 0);
  EXPECT_EQ(name, "/d/" + std::string(519, 'p') + ".log");
}

TEST_F(PathVariablesWithData, TimeStampNameNow) {
  const std::string name = System::FileName::makeTimeStampName("%Log%/", "velumo2", "log");
  const std::regex pattern(R"(velumo2_\d{4}-\d{2}-\d{2}_\d{2}-\d{2}-\d{2}-\d{3}\.log)");
  EXPECT_EQ(System::FileName::getDirectory(name), data() + "/Log");
  EXPECT_TRUE(std::regex_match(name.substr(name.rfind('/') + 1), pattern)) << name;
}

}  // namespace
