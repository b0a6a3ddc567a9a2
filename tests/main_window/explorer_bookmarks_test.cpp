// The explorers' bookmarks: the name order, the proposed names, and explorer.ini read and
// written.
#include "main_window/explorer/explorer_bookmarks.h"

#include <gtest/gtest.h>

#include "system/file.h"
#include "system/temp_folder.h"

namespace {

using Component::ExplorerBookmark;

TEST(ExplorerBookmarkOrder, IgnoresCaseWidthKanaAndSymbolsAndComparesNumbers) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  const Case cases[] = {
      {"clip2", "clip10", -1}, {"clip10", "clip2", 1},  {"clip02", "clip2", 0},
      {"Music", "music", 0},   {"ＭＵＳＩＣ", "music", 0}, {"あいう", "アイウ", 0},
      {"a-b c", "abc", 0},     {"abc", "abd", -1},     {"ab", "abc", -1},
  };
  for (const Case& test : cases)
    EXPECT_EQ(Component::compareBookmarkNames(test.a, test.b), test.order)
        << test.a << " / " << test.b;
}

TEST(ExplorerBookmarkOrder, SortingPutsNamesThatDifferOnlyInCaseSideBySide) {
  std::vector<ExplorerBookmark> list{{"b", "/1"}, {"Clip10", "/2"}, {"A", "/3"},
                                     {"clip2", "/4"}, {"a", "/5"}};
  Component::sortBookmarks(list);
  EXPECT_EQ(Component::compareBookmarkNames(list[0].name, "a"), 0);
  EXPECT_EQ(Component::compareBookmarkNames(list[1].name, "a"), 0);
  EXPECT_EQ(list[2].name, "b");
  EXPECT_EQ(list[3].name, "clip2");
  EXPECT_EQ(list[4].name, "Clip10");
}

TEST(ExplorerBookmarkName, IsTheLastPartUpToItsLastDot) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/user/Clips", "Clips"}, {"/media/a.b.c", "a.b"}, {"/media/Clips/", "Clips"},
      {"/", ""},                     {"D:\\", ""},            {"D:\\Music", "Music"},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(Component::proposeBookmarkName(path), name) << path;
}

class ExplorerBookmarkFile : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return folder_.path() + "/" + name; }
  TestSupport::TempFolder folder_;
};

TEST_F(ExplorerBookmarkFile, IsWrittenInListOrderAndReadBack) {
  const std::vector<ExplorerBookmark> list{{"Clips", "D:\\Clips"}, {"音楽", "/home/u/音楽"}};
  Component::saveBookmarkFile(list, path("explorer.ini"));
  EXPECT_EQ(TestSupport::readWholeFile(path("explorer.ini")),
            "[bookmark.0]\r\nname=Clips\r\npath=D:\\Clips\r\n"
            "[bookmark.1]\r\nname=音楽\r\npath=/home/u/音楽\r\n");
  std::vector<ExplorerBookmark> read{{"old", "/old"}};
  Component::loadBookmarkFile(read, path("explorer.ini"));
  EXPECT_EQ(read, list);

  Component::saveBookmarkFile({}, path("explorer.ini"));
  EXPECT_EQ(TestSupport::readWholeFile(path("explorer.ini")), "");
  Component::loadBookmarkFile(read, path("missing.ini"));
  EXPECT_TRUE(read.empty());
}

TEST_F(ExplorerBookmarkFile, ReadingStopsAtAGapOrABadEntry) {
  struct Case {
    const char* what;
    const char* text;
    std::size_t count;
  };
  const Case cases[] = {
      {"gap", "[bookmark.0]\nname=a\npath=/a\n[bookmark.1]\nname=b\npath=/b\n"
              "[bookmark.3]\nname=d\npath=/d\n", 2},
      {"no path", "[bookmark.0]\nname=a\npath=/a\n[bookmark.1]\nname=b\n"
                  "[bookmark.2]\nname=c\npath=/c\n", 1},
      {"empty name", "[bookmark.0]\nname=a\npath=/a\n[bookmark.1]\nname=\npath=/b\n", 1},
      {"no first", "[bookmark.1]\nname=b\npath=/b\n", 0},
  };
  for (const Case& test : cases) {
    folder_.writeFile("explorer.ini", test.text);
    std::vector<ExplorerBookmark> read;
    Component::loadBookmarkFile(read, path("explorer.ini"));
    EXPECT_EQ(read.size(), test.count) << test.what;
    if (!read.empty()) {
      EXPECT_EQ(read[0], (ExplorerBookmark{"a", "/a"})) << test.what;
    }
  }
}

TEST_F(ExplorerBookmarkFile, AFailedWriteLeavesTheListAsItWas) {
  const std::vector<ExplorerBookmark> list{{"a", "/a"}};
  Component::saveBookmarkFile(list, path("no/such/folder/explorer.ini"));
  EXPECT_EQ(list.size(), 1u);
}

}  // namespace
