#include <gtest/gtest.h>

#include "system/file.h"

namespace {

using System::Filter;
using System::FileFilter::findIndex;
using System::FileFilter::getExtension;
using System::FileFilter::getExtensionList;

const Filter kImages = {
    {"PngFile (*.png)", "*.png"},
    {"JpegFile (*.jpg)", "*.jpg"},
    {"BmpFile (*.bmp)", "*.bmp"},
    {"GifFile (*.gif)", "*.gif"},
};

TEST(FileFilter, FindIndexMatchesTheLowerCasedExtension) {
  struct Case {
    const char* path;
    int index;
  };
  const Case cases[] = {
      {"C:\\a\\B.JPG", 2}, {"/a/b.png", 1}, {"/a/b.gif", 4},  {"C:\\a\\b.tif", 0},
      {"/a/b", 0},         {"/a.png/b", 0}, {"/a/b.jpg.bak", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(findIndex(kImages, c.path), c.index) << c.path;
  EXPECT_EQ(findIndex({}, "/a/b.png"), 0);
}

TEST(FileFilter, GetExtensionOfTheDialogsNumber) {
  struct Case {
    int index;
    const char* extension;
  };
  const Case cases[] = {{0, "png"}, {1, "png"}, {2, "jpg"}, {4, "gif"}, {5, ""}, {-1, ""}};
  for (const auto& c : cases) EXPECT_EQ(getExtension(kImages, c.index), c.extension) << c.index;
  EXPECT_EQ(getExtension({}, 0), "");
}

TEST(FileFilter, PatternListsWithSeveralEntries) {
  const Filter filter = {
      {"Movie (*.mp4;*.AVI)", "*.mp4;*.AVI;*.mp4"},
      {"Images (*.png;*.jpg)", "*.PNG; *.jpg ;image.bmp"},
      {"Without extension", "*."},
      {"AllFile (*.*)", "*.*"},
  };
  // Descriptions contribute nothing, duplicates stay, "*.*" and "*." give nothing.
  EXPECT_EQ(getExtensionList(filter),
            (std::vector<std::string>{"mp4", "avi", "mp4", "png", "jpg"}));
  EXPECT_EQ(findIndex(filter, "/v/clip.avi"), 1);
  EXPECT_EQ(findIndex(filter, "/v/still.jpg"), 2);  // spaces around a pattern do not count
  EXPECT_EQ(findIndex(filter, "/v/image.bmp"), 0);  // not a "*." pattern
  EXPECT_EQ(findIndex(filter, "/v/README"), 3);     // only "*." matches a bare name
  EXPECT_EQ(getExtension(filter, 1), "mp4");
  EXPECT_EQ(getExtension(filter, 2), "png");
  EXPECT_EQ(getExtension(filter, 3), "");
  EXPECT_EQ(getExtension(filter, 4), "*");
}

TEST(FileFilter, EntryWithoutAnyExtensionPattern) {
  const Filter filter = {{"Named", "image.bmp"}, {"Empty", ""}, {"Text", "*.txt"}};
  EXPECT_EQ(getExtension(filter, 1), "");
  EXPECT_EQ(getExtension(filter, 2), "");
  EXPECT_EQ(getExtensionList(filter), std::vector<std::string>{"txt"});
  EXPECT_EQ(findIndex(filter, "/a/b.txt"), 3);  // entries count even when they give nothing
  EXPECT_EQ(findIndex(filter, "/a/b"), 0);
}

}  // namespace
