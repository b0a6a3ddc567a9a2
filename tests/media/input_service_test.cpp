// The input service: which reader opens a path, what the open-file cache keeps, and the
// failures of an open.
#include "media/input/input_service.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "media/input/input_file.h"
#include "media/input/input_plugin.h"

namespace {

using Plugin::InputService;
using Plugin::MediaDescription;

class FakeFile : public Plugin::InputFile {
 public:
  explicit FakeFile(const MediaDescription& description) { description_ = description; }
};

MediaDescription movie() {
  MediaDescription d;
  d.kinds = Plugin::kKindVideo;
  d.frameCount = 10;
  d.rate = 30;
  d.scale = 1;
  return d;
}

MediaDescription still() {
  MediaDescription d = movie();
  d.frameCount = 1;
  return d;
}

// A reader that opens every path it is asked for with a fixed description (or refuses), and
// counts its opens. `onOpen` runs inside the open.
class FakeReader : public Plugin::InputPlugin {
 public:
  FakeReader(std::string name, std::string patterns, int32_t kinds,
             std::optional<MediaDescription> opens)
      : InputPlugin(std::move(name), {{"Files", std::move(patterns)}}, "", kinds),
        opens_(opens) {}
  std::shared_ptr<Plugin::InputFile> openFile(const std::string& path) override {
    ++openCount;
    if (onOpen) onOpen(path);
    if (!opens_) return {};
    return std::make_shared<FakeFile>(*opens_);
  }
  std::atomic<int> openCount{0};
  std::function<void(const std::string&)> onOpen;

 private:
  std::optional<MediaDescription> opens_;
};

std::shared_ptr<FakeReader> reader(std::string name, std::string patterns, int32_t kinds,
                                   std::optional<MediaDescription> opens) {
  return std::make_shared<FakeReader>(std::move(name), std::move(patterns), kinds, opens);
}

TEST(InputServiceTest, ReadersAreRegisteredInOrderWithTheirPriorities) {
  InputService service({reader("a", "*.png", 9, still()), reader("b", "*.avi", 3, movie()),
                        reader("c", "*.mp4", 3, movie())});
  ASSERT_EQ(service.plugins().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(service.plugins()[i]->priority(), i);
    EXPECT_EQ(service.plugins()[i]->sectionName(), "Input." + service.plugins()[i]->name());
  }
  EXPECT_TRUE(service.isVideoExtension("png"));
  EXPECT_FALSE(service.isAudioExtension("png"));
  EXPECT_TRUE(service.isAudioExtension("mp4"));
  EXPECT_EQ(service.imageFilter().front().description, "ImageFile (*.png)");
}

TEST(InputServiceTest, OpenFailuresSayWhy) {
  auto videoOnly = reader("video", "*.mp4", 1, movie());
  auto refuses = reader("refuses", "*.bad", 3, std::nullopt);
  InputService service({videoOnly, refuses});
  struct Case {
    const char* path;
    int kind;
    const char* message;
  };
  const Case cases[] = {
      {"/m/clip.mp4", 2, "not supported file."},  // audio map: no reader for mp4
      {"/m/noext", 1, "not supported file."},
      {"/m/clip.bad", 1, "can not open file."},
  };
  for (const auto& c : cases) {
    try {
      service.openFile(c.path, c.kind);
      ADD_FAILURE() << c.path;
    } catch (const std::exception& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
    EXPECT_EQ(service.getInputFile(c.path, c.kind), nullptr);
  }
}

TEST(InputServiceTest, UpperCaseExtensionsAndSecondReadersAreFound) {
  auto first = reader("first", "*.mp4", 3, std::nullopt);  // asked first, opens nothing
  auto second = reader("second", "*.mp4", 3, movie());
  InputService service({first, second});
  auto file = service.getInputFile("/m/CLIP.MP4", 1);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->owner(), second.get());
  EXPECT_EQ(first->openCount, 1);
}

TEST(InputServiceTest, AFileWithoutTheKindFailsWithoutAskingTheNextReader) {
  auto audioOnly = reader("sound", "*.mp4", 3, [] {
    MediaDescription d;
    d.kinds = Plugin::kKindAudio;
    d.samplingRate = 48000;
    return d;
  }());
  auto video = reader("video", "*.mp4", 3, movie());
  InputService service({audioOnly, video});
  EXPECT_THROW(service.openFile("/m/a.mp4", 1), std::exception);
  EXPECT_EQ(video->openCount, 0);
  // Asked as audio, the same file opens and is cached; asked as video again, the cached file
  // has no picture and the answer is empty without a new open.
  EXPECT_NE(service.getInputFile("/m/a.mp4", 2), nullptr);
  EXPECT_EQ(service.getInputFile("/m/a.mp4", 1), nullptr);
  EXPECT_EQ(audioOnly->openCount, 2);
}

TEST(InputServiceTest, MoviesAreCachedAndStillImagesOpenedEveryTime) {
  auto movies = reader("movies", "*.avi", 3, movie());
  auto stills = reader("stills", "*.png", 9, still());
  InputService service({movies, stills});
  auto a = service.getInputFile("/m/a.avi", 1);
  EXPECT_EQ(service.getInputFile("/m/a.avi", 1), a);
  EXPECT_EQ(movies->openCount, 1);
  service.getInputFile("/m/p.png", 1);
  service.getInputFile("/m/p.png", 1);
  EXPECT_EQ(stills->openCount, 2);
  // Clearing keeps the file usable for its holder; the next request opens it anew.
  service.clearFileCache();
  EXPECT_EQ(a->description().frameCount, 10);
  EXPECT_NE(service.getInputFile("/m/a.avi", 1), a);
  EXPECT_EQ(movies->openCount, 2);
}

TEST(InputServiceTest, TheLeastRecentlyRequestedFileIsEvicted) {
  auto movies = reader("movies", "*.avi", 3, movie());
  InputService service({movies});
  ASSERT_EQ(service.fileHandleMax(), 20);
  for (int i = 0; i < 20; ++i) service.getInputFile("/m/" + std::to_string(i) + ".avi", 1);
  service.getInputFile("/m/0.avi", 1);   // protects 0
  service.getInputFile("/m/20.avi", 1);  // evicts 1
  EXPECT_EQ(service.fileCache().size(), 20);
  EXPECT_TRUE(service.fileCache().contains("/m/0.avi"));
  EXPECT_FALSE(service.fileCache().contains("/m/1.avi"));
  service.setFileHandleMax(5);
  EXPECT_EQ(service.fileCache().size(), 5);
  EXPECT_TRUE(service.fileCache().contains("/m/20.avi"));
}

TEST(InputServiceTest, ASlowOpenDoesNotHoldUpOtherOpensAndAReentrantOpenWorks) {
  auto slow = reader("slow", "*.slow", 3, movie());
  auto fast = reader("fast", "*.avi", 3, movie());
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::promise<void> entered;
  slow->onOpen = [&](const std::string&) {
    entered.set_value();
    released.wait();
  };
  auto nested = reader("nested", "*.outer", 3, movie());
  InputService service({slow, fast, nested});
  // A reader that opens another file through the service while it opens its own.
  nested->onOpen = [&](const std::string&) { service.getInputFile("/m/inner.avi", 1); };
  EXPECT_NE(service.getInputFile("/m/x.outer", 1), nullptr);
  EXPECT_TRUE(service.fileCache().contains("/m/inner.avi"));
  std::thread blocked([&] { service.getInputFile("/m/a.slow", 1); });
  entered.get_future().wait();
  EXPECT_NE(service.getInputFile("/m/b.avi", 1), nullptr);  // not held up by the slow open
  release.set_value();
  blocked.join();
  EXPECT_TRUE(service.fileCache().contains("/m/a.slow"));
}

}  // namespace

#include "media/input/input_service_seams.h"

namespace {

// What the effect framework sees of the service: a file's description with its reader's
// name, and what a dropped file holds.
TEST(InputServiceSeamsTest, TheServiceAnswersTheEffectFramework) {
  MediaDescription sound;
  sound.kinds = Plugin::kKindAudio;
  sound.samplingRate = 44100;
  sound.audioSampleCount = 44100 * 3;
  sound.channels = 2;
  InputService service({reader("movie reader", "*.avi", 3, movie()),
                        reader("sound reader", "*.wav", 2, sound)});
  Plugin::InputServiceSource source(service);
  const auto file = source.getInputFile("/m/a.avi", 1);
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->hasVideo);
  EXPECT_EQ(file->videoFrames, 10);
  EXPECT_EQ(file->pluginName, "movie reader");
  EXPECT_FALSE(source.getInputFile("/m/a.avi", 2));

  Plugin::InputServiceProbe probe(service);
  EXPECT_TRUE(probe.isMediaExtension("avi"));
  EXPECT_TRUE(probe.isMediaExtension("wav"));
  EXPECT_FALSE(probe.isMediaExtension("txt"));
  const auto dropped = probe.probeMediaFile("/m/b.wav");  // video first, then audio
  ASSERT_TRUE(dropped);
  EXPECT_FALSE(dropped->hasVideo);
  EXPECT_EQ(dropped->audioRate, 44100);
  EXPECT_FALSE(probe.probeMediaFile("/m/c.txt"));
}

}  // namespace
