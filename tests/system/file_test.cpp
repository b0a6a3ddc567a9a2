#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "system/file.h"
#include "system/exception_text.h"
#include "system/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using System::File;
using TestSupport::readWholeFile;
using TestSupport::whatOf;
using TestSupport::TempFolder;

std::string openFailureText(const std::string& path) {
  return "failed to open file.\n\n[Note]\n" + path + "\n\n[Place]\nSystem::File::open()";
}

// ---- open, read, write ---------------------------------------------------------------------

TEST(File, WritesAndReadsBackExactBlocks) {
  TempFolder folder;
  const std::string path = folder / "a.bin";
  {
    File file;
    file.open(path, File::WriteExclusive);
    file.write("0123456789", 10);
    file.write(std::string_view("abcdef"));
    EXPECT_EQ(file.position(), 16u);
  }
  File file;
  file.open(path, File::Read);
  EXPECT_EQ(file.size(), 16u);
  std::array<char, 4> block{};
  file.seek(8);
  file.readBlock(block.data(), block.size());
  EXPECT_EQ(std::string(block.data(), 4), "89ab");
  file.readBlock(block.data(), 0);  // nothing asked, nothing read
  EXPECT_EQ(file.position(), 12u);
}

TEST(File, OpenFailureNamesTheFile) {
  TempFolder folder;
  const std::string missing = folder / "100%s missing %d.txt";  // a note is never a format
  File file;
  EXPECT_EQ(whatOf([&] { file.open(missing, File::Read); }), openFailureText(missing));
  EXPECT_FALSE(file.isOpen());

  const std::string noFolder = folder / "no/such/folder/a.txt";
  EXPECT_EQ(whatOf([&] { file.open(noFolder, File::WriteExclusive); }),
            openFailureText(noFolder));
  // A folder cannot be opened as a file, not even for reading.
  EXPECT_EQ(whatOf([&] { file.open(folder.path(), File::Read); }),
            openFailureText(folder.path()));
  // An unknown mode fails like any refused open.
  const std::string existing = folder.writeFile("e.txt", "e");
  EXPECT_EQ(whatOf([&] { file.open(existing, 3); }), openFailureText(existing));
  EXPECT_FALSE(file.isOpen());
}

TEST(File, FailedOpenLeavesTheObjectWithoutAFile) {
  TempFolder folder;
  File file;
  file.open(folder.writeFile("a.txt", "abc"), File::Read);
  EXPECT_ANY_THROW(file.open(folder / "missing", File::Read));
  EXPECT_FALSE(file.isOpen());
}

TEST(File, ShortReadThrowsReadFault) {
  TempFolder folder;
  const std::string path = folder.writeFile("a.bin", std::string(100, 'x'));
  File file;
  file.open(path, File::Read);
  file.seek(90);
  std::array<char, 16> block{};
  EXPECT_EQ(whatOf([&] { file.readBlock(block.data(), block.size()); }),
            "The system cannot read from the specified device.\n\n[Place]\n"
            "System::File::readBlock()");
}

TEST(File, ReadWithoutAFileIsAFailedCall) {
  File file;
  char byte;
  EXPECT_EQ(whatOf([&] { file.readBlock(&byte, 1); }),
            "read() failed.\n\n[Note]\nHRESULT: 0x80070009\nBad file descriptor\n\n[Place]\n"
            "System::File::readBlock()");
}

TEST(File, WriteToAFullDeviceIsAFailedCall) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  File file;
  file.open("/dev/full", File::WriteShared);
  EXPECT_EQ(whatOf([&] { file.write("abc", 3); }),
            "write() failed.\n\n[Note]\nHRESULT: 0x80070070\nNo space left on device\n\n"
            "[Place]\nSystem::File::write()");
}

// Writes 16 bytes under a file size limit of 10: the block goes out only in part. Exits
// with 0 when the write failed with the write-fault text.
[[noreturn]] void writeBeyondTheSizeLimit(const std::string& path) {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit{10, 10};
  setrlimit(RLIMIT_FSIZE, &limit);
  File file;
  file.open(path, File::WriteExclusive);
  const std::string text = whatOf([&] { file.write("0123456789abcdef", 16); });
  const bool expected =
      text == "The system cannot write to the specified device.\n\n[Place]\nSystem::File::write()";
  std::_Exit(expected ? 0 : 1);
}

TEST(FileDeathTest, WriteCutShortThrowsWriteFault) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TempFolder folder;
  EXPECT_EXIT(writeBeyondTheSizeLimit(folder / "limited.bin"), ::testing::ExitedWithCode(0), "");
}

// ---- open modes ----------------------------------------------------------------------------

TEST(File, WriteModesTruncateOrCreate) {
  TempFolder folder;
  for (int mode : {File::WriteExclusive, File::WriteShared}) {
    const std::string existing = folder.writeFile("old.txt", "old contents");
    const std::string created = folder / ("new" + std::to_string(mode) + ".txt");
    File file;
    file.open(existing, mode);
    file.write("new", 3);
    file.close();
    EXPECT_EQ(readWholeFile(existing), "new") << mode;
    file.open(created, mode);
    file.close();
    EXPECT_TRUE(fs::exists(created)) << mode;
  }
}

TEST(File, ExclusiveWriterKeepsOtherWritersOutWithoutLosingItsData) {
  TempFolder folder;
  const std::string path = folder / "settings.ini";
  File first;
  first.open(path, File::WriteExclusive);
  first.write("kept", 4);
  File second;
  EXPECT_EQ(whatOf([&] { second.open(path, File::WriteExclusive); }), openFailureText(path));
  EXPECT_EQ(readWholeFile(path), "kept");  // the refused open truncated nothing
  // Readers are still let in.
  File reader;
  reader.open(path, File::Read);
  first.close();
  second.open(path, File::WriteExclusive);
  EXPECT_TRUE(second.isOpen());
}

TEST(File, OpenClosesTheFileItStillHolds) {
  TempFolder folder;
  const std::string path = folder / "a.txt";
  File file;
  file.open(path, File::WriteExclusive);
  // Its own earlier handle would keep the lock if it were not closed first.
  file.open(path, File::WriteExclusive);
  EXPECT_TRUE(file.isOpen());
}

TEST(File, SharedWriterLetsReadersFollow) {
  TempFolder folder;
  const std::string path = folder / "velumo2.log";
  File writer;
  writer.open(path, File::WriteShared);
  writer.write("line 1\n");
  File reader;
  reader.open(path, File::Read);
  std::array<char, 7> line{};
  reader.readBlock(line.data(), line.size());
  EXPECT_EQ(std::string(line.data(), line.size()), "line 1\n");
}

TEST(File, MovedFileHandsItsHandleOver) {
  TempFolder folder;
  File file;
  file.open(folder.writeFile("a.txt", "abc"), File::Read);
  File moved(std::move(file));
  EXPECT_FALSE(file.isOpen());
  ASSERT_TRUE(moved.isOpen());
  File assigned;
  assigned = std::move(moved);
  EXPECT_FALSE(moved.isOpen());
  char bytes[3];
  assigned.readBlock(bytes, 3);
  EXPECT_EQ(std::string(bytes, 3), "abc");
}

// ---- folders and deletion ------------------------------------------------------------------

TEST(File, CreateDirectoryMakesMissingParentsAndAcceptsExistingOnes) {
  TempFolder folder;
  const std::string deep = folder / "a/b/c";
  File::createDirectory(deep);
  EXPECT_TRUE(fs::is_directory(deep));
  File::createDirectory(deep);
  File::createDirectory(deep + "/");
  EXPECT_TRUE(fs::is_directory(deep));
}

TEST(File, CreateDirectoryFailuresNameTheCall) {
  TempFolder folder;
  const std::string blocker = folder.writeFile("file", "x");
  EXPECT_EQ(whatOf([&] { File::createDirectory(blocker); }),
            "mkdir() failed.\n\n[Note]\nHRESULT: 0x80070014\nNot a directory\n\n[Place]\n"
            "System::File::createDirectory()");
  EXPECT_EQ(whatOf([&] { File::createDirectory(blocker + "/below"); }),
            "mkdir() failed.\n\n[Note]\nHRESULT: 0x80070014\nNot a directory\n\n[Place]\n"
            "System::File::createDirectory()");
  if (geteuid() != 0) {
    const std::string locked = folder.makeFolder("locked");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(whatOf([&] { File::createDirectory(locked + "/x"); }),
              "mkdir() failed.\n\n[Note]\nHRESULT: 0x80070005\nPermission denied\n\n[Place]\n"
              "System::File::createDirectory()");
    // An existing folder below an unwritable one is still fine.
    fs::permissions(locked, fs::perms::owner_all);
    fs::create_directory(locked + "/there");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_NO_THROW(File::createDirectory(locked + "/there"));
    fs::permissions(locked, fs::perms::owner_all);
  }
}

TEST(File, ExistsAndRemoveFile) {
  TempFolder folder;
  const std::string path = folder.writeFile("a.txt", "a");
  EXPECT_TRUE(File::exists(path));
  EXPECT_TRUE(File::removeFile(path));
  EXPECT_FALSE(File::exists(path));
  EXPECT_FALSE(File::removeFile(path));
}

TEST(File, DeleteGuardRemovesAnUnfinishedFileOnly) {
  TempFolder folder;
  const std::string failed = folder.writeFile("failed.png", "half");
  const std::string finished = folder.writeFile("finished.png", "whole");
  {
    File::DeleteGuard guard(&failed);
  }
  {
    File::DeleteGuard guard(&finished);
    guard.clear();
  }
  {
    const std::string missing = folder / "missing.png";
    File::DeleteGuard guard(&missing);  // nothing to delete, nothing reported
  }
  { File::DeleteGuard guard(nullptr); }
  EXPECT_FALSE(fs::exists(failed));
  EXPECT_TRUE(fs::exists(finished));
}

// ---- listings ------------------------------------------------------------------------------

std::vector<std::string> pathsOf(const std::vector<File::FileInfo>& files) {
  std::vector<std::string> paths;
  for (const auto& file : files) paths.push_back(file.path);
  std::sort(paths.begin(), paths.end());
  return paths;
}

class FileListing : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_.writeFile("a.log", "12345");
    folder_.writeFile("B.LOG", "");
    folder_.writeFile("c.logx", "");
    folder_.writeFile("d.lo", "");
    folder_.writeFile("noext", "");
    folder_.writeFile(".hidden.log", "");
    folder_.writeFile("x.vlp2", "");
    folder_.writeFile("y.vlp", "");
    folder_.makeFolder("dir.log");
    folder_.makeFolder("dir.vlp2");
    fs::create_symlink(folder_ / "a.log", folder_ / "link.log");
    fs::create_symlink(folder_ / "gone", folder_ / "dead.log");
  }
  TempFolder folder_;
};

TEST_F(FileListing, FindFilesListsOnlyFilesWithTheExactExtensionLength) {
  struct Case {
    std::string namePattern;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"*.log", {".hidden.log", "B.LOG", "a.log", "link.log"}},
      {"*.vlp2", {"x.vlp2"}},
      {"*.vlp", {"y.vlp"}},
      {"a.*", {}},
      {"*.*", {}},
      {"*", {}},
      {"*.", {}},
      {"?.lo?", {"B.LOG", "a.log"}},
      {"*.txt", {}},
  };
  for (const auto& c : cases) {
    const auto files = File::findFiles(folder_ / c.namePattern);
    EXPECT_EQ(pathsOf(files), c.expected) << c.namePattern;
  }
}

TEST_F(FileListing, EntryPathsSizesAndTimes) {
  const auto bare = File::findFiles(folder_ / "a.log");
  ASSERT_EQ(bare.size(), 1u);
  EXPECT_EQ(bare[0].path, "a.log");
  EXPECT_EQ(bare[0].size, 5u);
  struct stat info {};
  ASSERT_EQ(stat((folder_ / "a.log").c_str(), &info), 0);
  EXPECT_EQ(bare[0].lastWriteTime, info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec);

  const auto withFolder = File::findFiles(folder_ / "a.log", "/elsewhere");
  ASSERT_EQ(withFolder.size(), 1u);
  EXPECT_EQ(withFolder[0].path, "/elsewhere/a.log");

  const auto full = File::findFilesByPattern(folder_ / "*.vlp2");
  ASSERT_EQ(full.size(), 1u);
  EXPECT_EQ(full[0].path, folder_ / "x.vlp2");
}

TEST_F(FileListing, MissingFolderListsNothing) {
  EXPECT_TRUE(File::findFiles(folder_ / "none/*.log").empty());
  EXPECT_TRUE(File::findFilesByPattern(folder_ / "none/*.log").empty());
  EXPECT_TRUE(File::findDirectories(folder_ / "none/*").empty());
}

TEST_F(FileListing, FindDirectoriesGivesBareNamesWithoutDotFolders) {
  folder_.makeFolder(".git");
  folder_.makeFolder("plain");
  fs::create_directory_symlink(folder_ / "plain", folder_ / "linked");
  struct Case {
    std::string namePattern;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"*", {"dir.log", "dir.vlp2", "linked", "plain"}},
      {"*.*", {"dir.log", "dir.vlp2", "linked", "plain"}},  // also names without a dot
      {"dir.*", {"dir.log", "dir.vlp2"}},
      {"PL*", {"plain"}},
      {".git", {}},
  };
  for (const auto& c : cases) {
    auto names = File::findDirectories(folder_ / c.namePattern);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, c.expected) << c.namePattern;
  }
}

TEST(FileListingVariables, EntryPathsAreExpanded) {
  TempFolder install;
  install.makeFolder("data");
  System::FileName::resetVariableList(install.path());
  const std::string palette = install.writeFile("data/Default/a.palette", "");
  const auto files =
      File::findFiles(System::FileName::expandVariable("%Default%/*.palette"), "%Default%");
  System::FileName::resetVariableList();
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].path, palette);
}

// ---- SafeFileWriter ------------------------------------------------------------------------

std::vector<std::string> namesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SafeFileWriter, CommitReplacesTheFile) {
  TempFolder folder;
  const std::string path = folder.writeFile("velumo2.ini", "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  {
    System::SafeFileWriter writer(path);
    writer.write("new ");
    writer.write("contents", 8);
    EXPECT_EQ(readWholeFile(path), "old");  // untouched until the commit
    writer.commit();
    writer.commit();  // a second commit changes nothing
  }
  EXPECT_EQ(readWholeFile(path), "new contents");
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"velumo2.ini"});
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(SafeFileWriter, WithoutCommitTheOldFileStays) {
  TempFolder folder;
  const std::string path = folder.writeFile("project.vlp2", "old project");
  try {
    System::SafeFileWriter writer(path);
    writer.write("half of a new proj");
    throw std::runtime_error("failed half-way");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(readWholeFile(path), "old project");
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"project.vlp2"});
}

// A long stream is sent to disk while it is written (an exported movie): blocks written past
// the writeback interval, and a header rewritten in place at the start, all come out whole.
TEST(SafeFileWriter, ALongStreamWithRewritesComesOutWhole) {
  TempFolder folder;
  const std::string path = folder.writeFile("movie.avi", "the earlier export");
  constexpr std::size_t kBlock = 1 << 20;
  constexpr int kBlocks = 40;  // past the interval at which writeback starts
  std::vector<char> block(kBlock);
  {
    System::SafeFileWriter writer(path);
    writer.write("HEADER??");
    for (int i = 0; i < kBlocks; ++i) {
      std::fill(block.begin(), block.end(), static_cast<char>('a' + i % 26));
      writer.write(block.data(), block.size());
    }
    writer.file().seek(6);
    writer.write("OK");
    writer.commit();
  }
  const std::string bytes = readWholeFile(path);
  ASSERT_EQ(bytes.size(), 8 + kBlock * kBlocks);
  EXPECT_EQ(bytes.substr(0, 8), "HEADEROK");
  for (int i = 0; i < kBlocks; ++i) {
    const std::size_t at = 8 + kBlock * static_cast<std::size_t>(i);
    ASSERT_EQ(bytes[at], 'a' + i % 26) << "block " << i;
    ASSERT_EQ(bytes[at + kBlock - 1], 'a' + i % 26) << "block " << i;
  }
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"movie.avi"});
}

TEST(SafeFileWriter, NewFileGetsOrdinaryPermissions) {
  TempFolder folder;
  const std::string path = folder / "new.ini";
  const mode_t mask = umask(022);
  {
    System::SafeFileWriter writer(path);
    writer.write("x");
    writer.commit();
  }
  umask(mask);
  EXPECT_EQ(readWholeFile(path), "x");
  EXPECT_EQ(fs::status(path).permissions(), static_cast<fs::perms>(0644));
}

TEST(SafeFileWriter, FailuresThrowAndLeaveNoTemporaryFile) {
  TempFolder folder;
  const std::string missing = folder / "no/folder/a.ini";
  EXPECT_EQ(whatOf([&] { System::SafeFileWriter writer(missing); }), openFailureText(missing));

  // A folder in the target's place: the rename fails, and says so.
  const std::string blocked = folder.makeFolder("blocked.ini");
  folder.writeFile("blocked.ini/inside", "");
  const std::string text = whatOf([&] {
    System::SafeFileWriter writer(blocked);
    writer.write("x");
    writer.commit();
  });
  EXPECT_EQ(text.substr(0, text.find('\n')), "rename() failed.") << text;
  EXPECT_NE(text.find("[Place]\nSystem::SafeFileWriter::commit()"), std::string::npos) << text;
  EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"blocked.ini"});
}

}  // namespace
