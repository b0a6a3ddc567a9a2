// Reader plug-in libraries: loading the table, what an opened file's report turns into,
// frames and sound read through the library, a crash inside it, and the plug-in folder's
// registration. The library is tests/plugins/fake_input_plugin.cpp; the names of the opened
// files choose what it reports.
#include "media/plugin/external_input_plugin.h"

#include <dlfcn.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/input/input_file.h"
#include "media/input/input_service.h"
#include "system/exception.h"
#include "system/file.h"
#include "system/temp_folder.h"

namespace {

using Plugin::ExternalInputPlugin;
using Plugin::MediaDescription;

constexpr const char* kLibrary = VELUMO_FAKE_INPUT_PLUGIN;

// Keeps the library loaded for the whole test, so that its counters can be read while and
// after the adapter loads and frees it.
class FakeLibrary {
 public:
  FakeLibrary() : handle_(::dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL)) {}
  ~FakeLibrary() {
    if (handle_) ::dlclose(handle_);
  }
  FakeLibrary(const FakeLibrary&) = delete;
  FakeLibrary& operator=(const FakeLibrary&) = delete;
  int openHandles() const { return call("fakeInputOpenHandles"); }
  int configureCalls() const { return call("fakeInputConfigureCalls"); }

 private:
  int call(const char* name) const {
    auto function = reinterpret_cast<int (*)()>(::dlsym(handle_, name));
    return function ? function() : -1;
  }
  void* handle_;
};

std::string media(const char* name) { return std::string("/no/such/folder/") + name + ".fake"; }

class ExternalInputPluginTest : public ::testing::Test {
 protected:
  FakeLibrary library_;
  ExternalInputPlugin plugin_{kLibrary};

  std::shared_ptr<Plugin::InputFile> open(const char* name) {
    return plugin_.openFile(media(name));
  }
};

TEST_F(ExternalInputPluginTest, TheTableGivesNameFilterAndKinds) {
  EXPECT_EQ(plugin_.name(), "Fake Reader");
  EXPECT_EQ(plugin_.information(), "Fake reader for the tests");
  ASSERT_EQ(plugin_.filter().size(), 1u);
  EXPECT_EQ(plugin_.filter()[0].description, "FakeFile (*.fake)");
  EXPECT_EQ(plugin_.filter()[0].patterns, "*.fake");
  EXPECT_EQ(plugin_.getExtList(), std::vector<std::string>{"fake"});
  EXPECT_EQ(plugin_.kinds(), Plugin::kReaderVideo | Plugin::kReaderAudio | Plugin::kReaderSettings);

  const int before = library_.configureCalls();
  plugin_.showSetting(nullptr);
  EXPECT_EQ(library_.configureCalls(), before + 1);
}

TEST_F(ExternalInputPluginTest, WithoutASettingsDialogThereIsNoSettingsKind) {
  TestSupport::ScopedEnvironment noConfigure("VELUMO_FAKE_PLUGIN", "noconfigure");
  ExternalInputPlugin plain(kLibrary);
  EXPECT_EQ(plain.kinds(), Plugin::kReaderVideo | Plugin::kReaderAudio);
  const int before = library_.configureCalls();
  plain.showSetting(nullptr);  // nothing to show: no call, no error
  EXPECT_EQ(library_.configureCalls(), before);
}

TEST_F(ExternalInputPluginTest, ReportsThatTheProgramCanTakeOpen) {
  struct Case {
    const char* name;
    int32_t kinds, pixelFormat, tag, bits;
  };
  const Case cases[] = {
      {"good", 3, Plugin::PixelFormat::kBgrx, 1, 16},
      {"yuy2", 1, Plugin::PixelFormat::kYuy2, 0, 0},
      {"audiofloat", 2, 0, 3, 32},
      {"noflags", 0, 0, 0, 0},  // opens; the input service then refuses it for each kind
  };
  for (const Case& c : cases) {
    const auto file = open(c.name);
    ASSERT_TRUE(file) << c.name;
    const MediaDescription& d = file->description();
    EXPECT_EQ(d.kinds, c.kinds) << c.name;
    EXPECT_EQ(d.pixelFormat, c.pixelFormat) << c.name;
    EXPECT_EQ(d.audioFormatTag, c.tag) << c.name;
    EXPECT_EQ(d.bitsPerSample, c.bits) << c.name;
    if (d.hasVideo()) {
      EXPECT_EQ(d.width, 64);
      EXPECT_EQ(d.height, 48);
      EXPECT_EQ(d.frameCount, 10);
      EXPECT_EQ(d.rate, 30);
      EXPECT_EQ(d.scale, 1);
    }
    if (d.hasAudio()) {
      EXPECT_EQ(d.audioSampleCount, 20000);
      EXPECT_EQ(d.samplingRate, 8000);
      EXPECT_EQ(d.channels, 2);
    }
  }
}

TEST_F(ExternalInputPluginTest, ReportsThatCannotBeTakenFailAndCloseTheHandle) {
  const char* refused[] = {
      "badformat",   // compression 0 with 16 bits
      "huge",        // 100000 x 100000: would size the read buffer without bound
      "hugeaudio",   // 2147483647 Hz
      "badtag",      // format tag 2
      "nullformat",  // video without a frame format
      "badinfo",     // fnGetInfo answers false
      "refuse",      // fnOpen answers null
  };
  for (const char* name : refused) {
    EXPECT_FALSE(open(name)) << name;
    EXPECT_EQ(library_.openHandles(), 0) << name;
  }
}

TEST_F(ExternalInputPluginTest, FramesArriveRightSideUp) {
  const auto file = open("good");
  ASSERT_TRUE(file);
  const auto image = file->readVideo(3);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->format, Plugin::PixelFormat::kBgrx);
  ASSERT_EQ(image->width, 64u);
  ASSERT_EQ(image->height, 48u);
  // The plug-in's DIB rows are bottom-up: its row 47 is the picture's top row.
  const uint8_t* top = image->row(0) + 5 * 4;
  EXPECT_EQ(top[0], 3);   // blue: the frame
  EXPECT_EQ(top[1], 47);  // green: the DIB row
  EXPECT_EQ(top[2], 5);   // red: the column
  EXPECT_EQ(top[3], 0);
  EXPECT_EQ(image->row(47)[1], 0);

  // A frame the plug-in writes only in part is black in the rest, never the rows of the
  // frame read before it.
  const auto partial = open("shortvideo");
  ASSERT_TRUE(partial);
  const auto half = partial->readVideo(4);
  ASSERT_TRUE(half);
  EXPECT_EQ(half->row(47)[0], 4);
  EXPECT_EQ(half->row(24)[1], 23);
  for (uint32_t y = 0; y < 24; ++y)
    for (uint32_t x = 0; x < 64 * 4; ++x) ASSERT_EQ(half->row(y)[x], 0) << y << " " << x;

  const auto packed = open("yuy2");
  ASSERT_TRUE(packed);
  const auto yuy2 = packed->readVideo(0);
  ASSERT_TRUE(yuy2);
  EXPECT_EQ(yuy2->format, Plugin::PixelFormat::kYuy2);
  EXPECT_EQ(yuy2->row(47)[127], 0x80);
}

TEST_F(ExternalInputPluginTest, AudioBlocksAreOneSecondAndSilentWhereNothingWasWritten) {
  struct Case {
    const char* name;
    int32_t block;
    int32_t written;  // samples the plug-in writes into the block
    int32_t first;    // the first of them
  };
  const Case cases[] = {
      {"good", 0, 8000, 0},
      {"good", 2, 4000, 16000},         // the stream ends half-way through the block
      {"audiofloat", 1, 8000, 8000},
      {"shortaudio", 0, 4000, 0},       // the plug-in writes fewer samples than asked
      {"good", 300000, 0, 0},           // past the 32-bit sample positions: not asked
      {"good", -1, 0, 0},
  };
  for (const Case& c : cases) {
    const auto file = open(c.name);
    ASSERT_TRUE(file) << c.name;
    const auto block = file->readAudio(c.block);
    ASSERT_TRUE(block) << c.name;
    ASSERT_EQ(block->sampleCount(), 8000) << c.name << " " << c.block;
    ASSERT_EQ(block->channels(), 2);
    const float* left = block->getChannelData(0);
    const float* right = block->getChannelData(1);
    for (int32_t i = 0; i < 8000; ++i) {
      const float expected =
          i < c.written ? static_cast<float>((c.first + i) % 30000) / 32768.0f : 0.0f;
      ASSERT_FLOAT_EQ(left[i], expected) << c.name << " " << c.block << " sample " << i;
      ASSERT_FLOAT_EQ(right[i], -expected) << c.name << " " << c.block << " sample " << i;
    }
  }
}

TEST_F(ExternalInputPluginTest, ACrashInTheLibraryIsAnExceptionAndTheProgramGoesOn) {
  const auto crashing = open("crashvideo");
  ASSERT_TRUE(crashing);
  std::string text;
  try {
    crashing->readVideo(0);
  } catch (const System::Exception& error) {
    text = error.what();
  }
  EXPECT_NE(text.find("table.fnReadVideo() structured exception"), std::string::npos) << text;
  EXPECT_NE(text.find("Plugin::ExternalInputPlugin::ExternalInputFile::readVideo()"),
            std::string::npos);
  EXPECT_NE(text.find("Module: fake_input_plugin.vli2"), std::string::npos) << text;

  // The read buffers and the file's lock were let go: the same file's sound and another
  // file's frames still read.
  EXPECT_TRUE(crashing->readAudio(0));
  const auto good = open("good");
  ASSERT_TRUE(good);
  EXPECT_EQ(good->readVideo(1)->row(0)[0], 1);
}

TEST_F(ExternalInputPluginTest, AWildFormatPointerFailsTheOpenWithAnException) {
  try {
    open("wildformat");
    FAIL() << "no exception";
  } catch (const System::Exception& error) {
    EXPECT_NE(std::string(error.what()).find("table.fnGetInfo() structured exception"),
              std::string::npos)
        << error.what();
  }
  // The handle the plug-in opened is closed with the dropped file.
  EXPECT_EQ(library_.openHandles(), 0);
}

TEST_F(ExternalInputPluginTest, AFileOutlivesItsReaderAndClosesItsHandle) {
  std::optional<ExternalInputPlugin> reader(std::in_place, kLibrary);
  auto file = reader->openFile(media("good"));
  ASSERT_TRUE(file);
  EXPECT_EQ(library_.openHandles(), 1);
  reader.reset();
  // The library stays loaded while a file of it is open.
  EXPECT_EQ(file->readVideo(2)->row(0)[0], 2);
  file.reset();
  EXPECT_EQ(library_.openHandles(), 0);
}

TEST_F(ExternalInputPluginTest, ReadsFromManyThreadsGiveEachTheirFrame) {
  std::vector<std::shared_ptr<Plugin::InputFile>> files{open("good"), open("good")};
  std::vector<std::thread> threads;
  std::atomic<int> wrong{0};
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int frame = 0; frame < 10; ++frame) {
        const auto image = files[static_cast<std::size_t>(t % 2)]->readVideo(frame);
        if (!image || image->row(0)[0] != frame) ++wrong;
        if (!files[static_cast<std::size_t>(t % 2)]->readAudio(frame % 3)) ++wrong;
      }
    });
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(wrong.load(), 0);
}

TEST(ExternalInputRegistrationTest, ThePluginFolderIsRegisteredAndBrokenLibrariesSkipped) {
  FakeLibrary library;
  TestSupport::TempFolder install("velumo-plugin-folder");
  install.makeFolder("data/Plugin");
  // A link: the loader takes it for the library this test already holds, whose counters
  // the test reads.
  std::filesystem::create_symlink(kLibrary, install / "data/Plugin/fake.vli2");
  install.writeFile("data/Plugin/broken.vli2", "not a shared object");
  install.writeFile("data/Plugin/other.vli", "left to the helper program");
  System::FileName::resetVariableList(install.path());
  {
    Plugin::InputService service(Plugin::InputService::PluginList{});
    ASSERT_EQ(service.plugins().size(), 1u);
    EXPECT_EQ(service.plugins()[0]->name(), "Fake Reader");
    EXPECT_TRUE(service.isVideoExtension("fake"));
    EXPECT_TRUE(service.isAudioExtension("fake"));

    const auto file = service.getInputFile(media("good"), 1);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->owner(), service.plugins()[0].get());
    EXPECT_FALSE(service.getInputFile(media("noflags"), 1));
    EXPECT_FALSE(service.getInputFile(media("badformat"), 1));
  }
  EXPECT_EQ(library.openHandles(), 0);
  System::FileName::resetVariableList();
}

}  // namespace
