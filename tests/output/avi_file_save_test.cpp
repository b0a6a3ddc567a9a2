// The AVI writer: the file byte for byte for a small export, the OpenDML parts past the part
// size, the part limit, failed frames that leave no file, the abort that finishes the file,
// and the writer's settings.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>

#include "avi_save_fixture.h"
#include "system/service_holder.h"
#include "system/setting_service.h"

namespace {

using namespace AviSaveTest;

void expectZero(const std::string& bytes, uint64_t from, uint64_t to, const char* what) {
  for (uint64_t at = from; at < to; ++at) ASSERT_EQ(bytes[at], 0) << what << " byte " << at - from;
}

class AviExportTest : public AviSaveFixture {};

TEST_F(AviExportTest, ThreeFramesGiveThePlainLayout) {
  struct Case {
    const char* videoType;
    const char* audioType;
    uint16_t bits;
    uint32_t compression;
    uint32_t frameBytes;
    uint32_t formatTag;
    uint32_t blockAlign;
    uint64_t idx1;
    uint64_t fileSize;
  };
  const Case cases[] = {
      {"RGB24bit", "PCM16bit", 24, 0, 320 * 240 * 3, 1, 4, 714544, 714648},
      {"YUY2", "PCM(float)32bit", 16, Media::dibFourCc('Y', 'U', 'Y', '2'), 320 * 240 * 2, 3, 8,
       503344, 503448},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.videoType);
    const std::string bytes = readBytes(saveAs(c.videoType, c.audioType));
    ASSERT_EQ(bytes.size(), c.fileSize);
    const Walk file = walk(bytes);
    EXPECT_EQ(file.outline,
              "RIFF AVI  [LIST hdrl [avih LIST strl [strh strf JUNK] LIST strl [strh strf JUNK] "
              "JUNK] JUNK LIST movi [00db 01wb 00db 01wb 00db 01wb] idx1]");
    EXPECT_EQ(u32(bytes, 4), c.fileSize - 8);

    const uint64_t avih = file.find("avih").data();
    const uint32_t main[] = {33333, 0, 0, 0x810, 3, 0, 2, 0, 320, 240};
    for (uint32_t i = 0; i < 10; ++i) EXPECT_EQ(u32(bytes, avih + 4 * i), main[i]) << "avih " << i;
    expectZero(bytes, avih + 40, avih + 56, "avih");

    const Chunk videoStrh = file.find("strh", 0);
    ASSERT_EQ(videoStrh.size, 64u);
    // type, handler, flags, priority and language, initial frames, scale, rate, start,
    // length, suggested buffer, quality, sample size, two zeros, width, height
    const uint32_t video[] = {Plugin::AviRiff::fourCC("vids"), c.compression, 0, 0, 0, 1, 30, 0,
                              3, c.frameBytes, 0, 0, 0, 0, 320, 240};
    for (uint32_t i = 0; i < 16; ++i)
      EXPECT_EQ(u32(bytes, videoStrh.data() + 4 * i), video[i]) << "video strh " << i;

    const Chunk bitmap = file.find("strf", 0);
    ASSERT_EQ(bitmap.size, 40u);
    EXPECT_EQ(u32(bytes, bitmap.data()), 40u);
    EXPECT_EQ(u32(bytes, bitmap.data() + 4), 320u);
    EXPECT_EQ(u32(bytes, bitmap.data() + 8), 240u);
    EXPECT_EQ(u16(bytes, bitmap.data() + 12), 1u);
    EXPECT_EQ(u16(bytes, bitmap.data() + 14), c.bits);
    EXPECT_EQ(u32(bytes, bitmap.data() + 16), c.compression);
    EXPECT_EQ(u32(bytes, bitmap.data() + 20), c.frameBytes);
    expectZero(bytes, bitmap.data() + 24, bitmap.data() + 40, "strf");

    const Chunk audioStrh = file.find("strh", 1);
    ASSERT_EQ(audioStrh.size, 64u);
    const uint32_t audioBytes = 1600 * c.blockAlign;
    const uint32_t audio[] = {Plugin::AviRiff::fourCC("auds"), c.formatTag, 0, 0, 0,
                              c.blockAlign, c.blockAlign * 48000, 0, 4800, audioBytes, 0,
                              c.blockAlign, 0, 0, 0, 0};
    for (uint32_t i = 0; i < 16; ++i)
      EXPECT_EQ(u32(bytes, audioStrh.data() + 4 * i), audio[i]) << "audio strh " << i;

    const Chunk wave = file.find("strf", 1);
    ASSERT_EQ(wave.size, 18u);
    EXPECT_EQ(u16(bytes, wave.data()), c.formatTag);
    EXPECT_EQ(u16(bytes, wave.data() + 2), 2u);
    EXPECT_EQ(u32(bytes, wave.data() + 4), 48000u);
    EXPECT_EQ(u32(bytes, wave.data() + 8), c.blockAlign * 48000);
    EXPECT_EQ(u16(bytes, wave.data() + 12), c.blockAlign);
    EXPECT_EQ(u16(bytes, wave.data() + 14), c.blockAlign * 4);
    EXPECT_EQ(u16(bytes, wave.data() + 16), 0u);

    // The placeholders keep their final sizes; the padding puts the first frame on 2048.
    const auto junk = file.all("JUNK");
    ASSERT_EQ(junk.size(), 4u);
    EXPECT_EQ(junk[0].size, 1624u);
    EXPECT_EQ(junk[1].size, 1624u);
    EXPECT_EQ(junk[2].size, 260u);
    for (const Chunk& chunk : junk)
      expectZero(bytes, chunk.data(), chunk.data() + chunk.size, "JUNK");
    EXPECT_EQ(file.find("LIST movi").header, 4084u);
    EXPECT_EQ(file.find("00db").header, 4096u);
    EXPECT_EQ(file.find("00db").data(), 4104u);

    // The frames: DIB rows, bottom-up for RGB and top-down for YUY2; then each frame's sound.
    const int32_t format = Plugin::aviVideoFormat(c.videoType);
    const uint32_t pixelBytes = c.bits / 8;
    for (int frame = 0; frame < 3; ++frame) {
      const Chunk picture = file.find("00db", frame);
      ASSERT_EQ(picture.size, c.frameBytes);
      for (uint32_t row = 0; row < 240; ++row) {
        const uint32_t y = c.compression == 0 ? 239 - row : row;
        for (uint32_t x = 0; x < 320; ++x)
          for (uint32_t k = 0; k < pixelBytes; ++k)
            ASSERT_EQ(
                static_cast<uint8_t>(bytes[picture.data() + (row * 320 + x) * pixelBytes + k]),
                pictureByte(format, frame, x, y, k))
                << "frame " << frame << " at " << x << "," << y;
      }
      const Chunk sound = file.find("01wb", frame);
      ASSERT_EQ(sound.size, audioBytes);
      for (uint32_t k = 0; k < 1600; ++k) {
        const int64_t sample = frame * 1600 + k;
        for (uint32_t channel = 0; channel < 2; ++channel) {
          const uint64_t at = sound.data() + k * c.blockAlign + channel * c.blockAlign / 2;
          if (c.formatTag == 1) {
            ASSERT_EQ(static_cast<int16_t>(u16(bytes, at)), OutputTest::samplePattern(sample));
          } else {
            const uint32_t bits = u32(bytes, at);
            float value;
            std::memcpy(&value, &bits, sizeof value);
            ASSERT_EQ(value, sampleValue(sample)) << sample;
          }
        }
      }
    }

    const Chunk idx1 = file.find("idx1");
    EXPECT_EQ(idx1.header, c.idx1);
    ASSERT_EQ(idx1.size, 6u * 16);
    const uint64_t moviType = file.find("LIST movi").data();
    for (int i = 0; i < 6; ++i) {
      const Chunk media = file.find(i % 2 == 0 ? "00db" : "01wb", i / 2);
      const uint64_t entry = idx1.data() + 16 * static_cast<uint64_t>(i);
      EXPECT_EQ(code(u32(bytes, entry)), i % 2 == 0 ? "00db" : "01wb");
      EXPECT_EQ(u32(bytes, entry + 4), 0x10u);
      EXPECT_EQ(u32(bytes, entry + 8), media.header - moviType);
      EXPECT_EQ(u32(bytes, entry + 12), media.size);
    }
  }
}

// Past the part size the file goes on in "AVIX" parts: the placeholders become the OpenDML
// indexes and the extended header, and every part ends its 'movi' with its standard indexes.
TEST_F(AviExportTest, PartsPastTheLimitBecomeOpenDml) {
  setFrames(5);
  // A part holds two frames (236816 bytes each) before it passes 300000 bytes.
  const std::string bytes = save("odml.avi", 300000);
  const Walk file = walk(bytes);
  EXPECT_EQ(file.outline,
            "RIFF AVI  [LIST hdrl [avih LIST strl [strh strf indx] LIST strl [strh strf indx] "
            "LIST odml [dmlh]] JUNK LIST movi [00db 01wb 00db 01wb ix00 ix01] idx1] "
            "RIFF AVIX [JUNK LIST movi [00db 01wb 00db 01wb ix00 ix01]] "
            "RIFF AVIX [JUNK LIST movi [00db 01wb ix00 ix01]]");

  EXPECT_EQ(u32(bytes, file.find("avih").data() + 16), 2u) << "avih counts the first part";
  EXPECT_EQ(u32(bytes, file.find("dmlh").data()), 5u) << "dmlh counts all parts";
  EXPECT_EQ(file.find("dmlh").size, 248u);
  EXPECT_EQ(u32(bytes, file.find("strh", 0).data() + 32), 5u);
  EXPECT_EQ(u32(bytes, file.find("strh", 1).data() + 32), 8000u);
  EXPECT_EQ(file.find("idx1").size, 4u * 16) << "the legacy index covers the first part";

  const auto movis = file.all("LIST movi");
  ASSERT_EQ(movis.size(), 3u);
  for (const Chunk& movi : movis) EXPECT_EQ((movi.data() + 4) % 2048, 0u);

  struct Stream {
    const char* chunk;
    const char* index;
    uint32_t durations[3];
  };
  const Stream streams[] = {{"00db", "ix00", {2, 2, 1}}, {"01wb", "ix01", {3200, 3200, 1600}}};
  for (int s = 0; s < 2; ++s) {
    SCOPED_TRACE(streams[s].chunk);
    const Chunk super = file.all("indx")[s];
    ASSERT_EQ(super.size, 1624u);
    EXPECT_EQ(u16(bytes, super.data()), 4u);
    EXPECT_EQ(u16(bytes, super.data() + 2), 0u) << "sub-type 0, type 0";
    EXPECT_EQ(u32(bytes, super.data() + 4), 3u);
    EXPECT_EQ(code(u32(bytes, super.data() + 8)), streams[s].chunk);
    const auto indexes = file.all(streams[s].index);
    ASSERT_EQ(indexes.size(), 3u);
    int chunkNumber = 0;
    for (int part = 0; part < 3; ++part) {
      const uint64_t entry = super.data() + 24 + 16 * static_cast<uint64_t>(part);
      const Chunk& index = indexes[part];
      const uint32_t entries = streams[s].durations[part] / (s == 0 ? 1 : 1600);
      EXPECT_EQ(u64(bytes, entry), index.header);
      EXPECT_EQ(u32(bytes, entry + 8), 24 + 8 * entries);
      EXPECT_EQ(u32(bytes, entry + 12), streams[s].durations[part]);

      ASSERT_EQ(index.size, 24 + 8 * entries);
      EXPECT_EQ(u16(bytes, index.data()), 2u);
      EXPECT_EQ(bytes[index.data() + 3], 1) << "an index of chunks";
      EXPECT_EQ(u32(bytes, index.data() + 4), entries);
      EXPECT_EQ(code(u32(bytes, index.data() + 8)), streams[s].chunk);
      const uint64_t base = u64(bytes, index.data() + 12);
      EXPECT_EQ(base, movis[part].data() + 4);
      EXPECT_EQ(u32(bytes, index.data() + 20), 0u);
      for (uint32_t i = 0; i < entries; ++i) {
        const Chunk media = file.find(streams[s].chunk, chunkNumber++);
        EXPECT_EQ(base + u32(bytes, index.data() + 24 + 8 * i), media.data());
        EXPECT_EQ(u32(bytes, index.data() + 28 + 8 * i), media.size) << "key frame, its size";
      }
      expectZero(bytes, super.data() + 24 + 16 * 3, super.data() + 1624, "unused entries");
    }
  }
}

// A super index has 100 entries: 100 parts are written, the 101st is refused and no file is
// left.
TEST_F(AviExportTest, AFileHasAtMostOneHundredParts) {
  for (int frames : {100, 101}) {
    SCOPED_TRACE(frames);
    scene_ = OutputTest::smallScene(frames);
    scene_.width = 8;
    scene_.height = 4;
    source_ = std::make_shared<PictureSource>(scene_);
    const std::string name = std::to_string(frames) + ".avi";
    auto file = makeFile(name);
    file->setPartLimit(1);  // every frame fills a part
    if (frames == 100) {
      ASSERT_TRUE(file->save());
      const Walk walked = walk(readBytes(path(name)));
      EXPECT_EQ(walked.all("RIFF AVIX").size(), 99u);
      EXPECT_EQ(u32(readBytes(path(name)), walked.find("indx").data() + 4), 100u);
    } else {
      try {
        file->save();
        ADD_FAILURE() << "the 101st part was written";
      } catch (const std::exception& exception) {
        EXPECT_NE(std::string(exception.what()).find("exceeded super index entry max."),
                  std::string::npos)
            << exception.what();
      }
      EXPECT_FALSE(std::filesystem::exists(path(name)));
    }
  }
}

// A frame or a frame's sound that cannot be made fails the export: nothing appears under the
// target's name, an existing file there stays as it was, and no temporary file is left.
TEST_F(AviExportTest, AFailedFrameLeavesNoFile) {
  struct Case {
    const char* name;
    int failVideo;
    int failAudio;
    bool existing;
  };
  const Case cases[] = {{"video", 1, -1, false},
                        {"audio", -1, 2, false},
                        {"video over a file", 0, -1, true},
                        {"audio over a file", -1, 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestSupport::TempFolder folder("velumo-avi-fail");
    const std::string target = folder / "out.avi";
    if (c.existing) folder.writeFile("out.avi", "the earlier export");
    source_ = std::make_shared<PictureSource>(scene_);
    if (c.failVideo >= 0) source_->failVideo = {c.failVideo};
    if (c.failAudio >= 0) source_->failAudio = {c.failAudio};
    Plugin::AviFileSaveFile file(target, plugin_, scene_, source_, caches_);
    try {
      file.save();
      ADD_FAILURE() << "the export succeeded";
    } catch (const std::exception& exception) {
      EXPECT_NE(std::string(exception.what()).find("frame failed"), std::string::npos)
          << "the frame's own error: " << exception.what();
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
      left.push_back(entry.path().filename().string());
    if (c.existing) {
      EXPECT_EQ(left, std::vector<std::string>{"out.avi"});
      EXPECT_EQ(readBytes(target), "the earlier export");
    } else {
      EXPECT_TRUE(left.empty()) << left.front();
    }
  }
}

// A scene without a picture size (none open) cannot be described: refused before any file
// is made.
TEST_F(AviExportTest, ASceneWithoutSizeIsRefused) {
  scene_.width = 0;
  auto file = makeFile();
  EXPECT_THROW(file->save(), std::exception);
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
  EXPECT_TRUE(source_->videoFrames().empty());
}

// Waits (at most ten seconds) until `done` holds; the result tells whether it did.
template <class Condition>
bool waitFor(const Condition& done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// An abort stops before the next frame; the file is finished with the frames so far and
// takes the target's name. The progress follows the frames. Frame 1's maker waits until the
// writer asks for it (the read-ahead would make it earlier) and then aborts, so the writer
// stops after exactly two frames.
TEST_F(AviExportTest, AnAbortedExportIsAWellFormedFile) {
  setFrames(5);
  auto file = makeFile();
  std::mutex mutex;
  std::vector<std::pair<uint32_t, uint32_t>> progress;
  source_->onVideo = [&](int frame) {
    if (frame == 1) EXPECT_TRUE(waitFor([&] { return file->progress().position.load() == 1; }));
    std::lock_guard lock(mutex);
    progress.emplace_back(file->progress().position.load(), file->progress().total.load());
    if (frame == 1) file->setAbort();
  };
  ASSERT_TRUE(file->save());
  const std::vector<int> made = source_->videoFrames();
  ASSERT_GE(made.size(), 2u);
  EXPECT_EQ(made[0], 0);
  EXPECT_EQ(made[1], 1);
  {
    std::lock_guard lock(mutex);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress[0], (std::pair<uint32_t, uint32_t>{0, 5}));
    EXPECT_EQ(progress[1], (std::pair<uint32_t, uint32_t>{1, 5}));
  }

  const std::string bytes = readBytes(path("out.avi"));
  const Walk walked = walk(bytes);
  EXPECT_EQ(walked.outline,
            "RIFF AVI  [LIST hdrl [avih LIST strl [strh strf JUNK] LIST strl [strh strf JUNK] "
            "JUNK] JUNK LIST movi [00db 01wb 00db 01wb] idx1]");
  EXPECT_EQ(u32(bytes, 4), bytes.size() - 8);
  EXPECT_EQ(u32(bytes, walked.find("avih").data() + 16), 2u);
  EXPECT_EQ(u32(bytes, walked.find("strh", 0).data() + 32), 2u);
  EXPECT_EQ(u32(bytes, walked.find("strh", 1).data() + 32), 3200u);
  EXPECT_EQ(walked.find("idx1").size, 4u * 16);
}

// While the writer waits for frame 0's sound, the next frames are already being rendered:
// frame 1's picture is made before the writer has finished frame 0.
TEST_F(AviExportTest, FramesAreRenderedAheadOfTheWriter) {
  setFrames(4);
  std::atomic<bool> secondFrameMade{false};
  std::atomic<bool> madeWhileWriterWaited{false};
  source_->onVideo = [&](int frame) {
    if (frame == 1) secondFrameMade = true;
  };
  source_->onAudio = [&](int frame) {
    if (frame == 0) madeWhileWriterWaited = waitFor([&] { return secondFrameMade.load(); });
  };
  const std::string bytes = save();
  EXPECT_TRUE(madeWhileWriterWaited);
  EXPECT_EQ(walk(bytes).all("00db").size(), 4u);
  EXPECT_EQ(walk(bytes).all("01wb").size(), 4u);
}

TEST(AviExportSettingsTest, TheWriterAndItsKeys) {
  Plugin::AviFileSave writer;
  EXPECT_EQ(writer.name(), "AVIファイル出力");
  ASSERT_EQ(writer.filter().size(), 1u);
  EXPECT_EQ(writer.filter()[0].description, "AVI File (*.avi)");
  EXPECT_EQ(writer.filter()[0].patterns, "*.avi");
  EXPECT_EQ(writer.kinds(), 5);
  EXPECT_EQ(writer.getSettingText(), "Video: RGB24bit / Audio: PCM16bit");

  System::ServiceHolder<Setting::ParameterIni> holder;
  System::IniFile& store = *Setting::ParameterIni::instance();
  const char* section = "Output.AVIファイル出力";
  store.getOrCreateValue(section, "VideoType").text = "YUY2";
  {
    Plugin::AviFileSave saved;
    saved.loadConfig(0);
    EXPECT_EQ(saved.videoType(), "YUY2");
    EXPECT_EQ(saved.audioType(), "PCM16bit") << "a missing key takes its default";
    EXPECT_EQ(saved.getSettingText(), "Video: YUY2 / Audio: PCM16bit");
    saved.setAudioType("PCM(float)32bit");
  }
  EXPECT_EQ(store.findValue(section, "AudioType").text, "PCM(float)32bit");
  EXPECT_EQ(store.findValue(section, "VideoType").text, "YUY2");
}

TEST(AviExportSettingsTest, TypesMapToFormats) {
  const std::pair<const char*, int32_t> video[] = {
      {"RGB24bit", Plugin::kFrameBgr24},         {"RGBA32bit", Plugin::kFrameBgra32},
      {"YUY2", Plugin::kFrameYuy2},              {"RGBA64bit(RU64)", Plugin::kFrameRgba64},
      {"RGBA64bit(RF64)", Plugin::kFrameRgba64Float}, {"yuy2", Plugin::kFrameBgr24},
      {"", Plugin::kFrameBgr24}};
  for (const auto& [text, format] : video) EXPECT_EQ(Plugin::aviVideoFormat(text), format) << text;

  const auto pcm = Plugin::aviAudioFormat("PCM16bit");
  const auto other = Plugin::aviAudioFormat("PCM24bit");
  const auto single = Plugin::aviAudioFormat("PCM(float)32bit");
  for (const auto& format : {pcm, other})
    EXPECT_EQ((std::array{format.formatTag, format.bitsPerSample, format.channels,
                          format.blockAlign}),
              (std::array{1, 16, 2, 4}));
  EXPECT_EQ((std::array{single.formatTag, single.bitsPerSample, single.channels,
                        single.blockAlign}),
            (std::array{3, 32, 2, 8}));
}

}  // namespace
