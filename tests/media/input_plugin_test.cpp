// The extension list of a reader: its filter's list, or the user's comma-separated text.
#include "media/input/input_plugin.h"

#include <gtest/gtest.h>

#include "media/input/input_file.h"

namespace {

class ListedReader : public Plugin::InputPlugin {
 public:
  ListedReader()
      : InputPlugin("test reader",
                    {{"Mp4File (*.mp4)", "*.mp4"},
                     {"MpgFile (*.mpg)", "*.MPG"},
                     {"WavFile (*.wav)", "*.wav;*.*"},
                     {"Mp3File (*.mp3)", "*.mp3"}},
                    "", Plugin::kReaderVideo | Plugin::kReaderAudio) {}
  std::shared_ptr<Plugin::InputFile> openFile(const std::string&) override { return {}; }
};

TEST(InputPluginTest, ExtensionListFollowsTheFilterOrTheUsersText) {
  struct Case {
    const char* ext;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"", {"mp4", "mpg", "wav", "mp3"}},    // lower-cased, "*.*" left out
      {"avi,mp4", {"avi", "mp4"}},           // exactly the user's two
      {"AVI, mp4", {"AVI", " mp4"}},         // kept as written: matches no file
      {"avi,", {"avi", ""}},                 // a trailing comma claims the empty extension
      {"a,,b", {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    ListedReader reader;
    reader.setExtText(c.ext);
    EXPECT_EQ(reader.getExtList(), c.expected) << c.ext;
  }
}

TEST(InputPluginTest, TheDefaultListTypedByHandIsStoredEmpty) {
  ListedReader reader;
  reader.setExtText("mp4,mpg,wav,mp3");
  EXPECT_EQ(reader.extText(), "");
  reader.setExtText("mp3,mp4,mpg,wav");
  EXPECT_EQ(reader.extText(), "mp3,mp4,mpg,wav");
}

TEST(InputPluginTest, BaseReadsSayTheKindIsMissing) {
  struct Empty : Plugin::InputFile {};
  Empty file;
  EXPECT_THROW(file.readVideo(0), std::exception);
  EXPECT_THROW(file.readAudio(0), std::exception);
  EXPECT_EQ(file.videoSeconds(), 0.0);
}

}  // namespace
