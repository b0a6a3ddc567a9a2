// Files the AVI reader must survive: empty, cut short, wrong, lying about sizes and counts,
// or random. Each either does not open (and says why in the log) or opens to reads that
// stay inside the file.
#include <gtest/gtest.h>

#include <random>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/avi/avi_riff.h"
#include "media/avi_test_file.h"
#include "media/avi_test_media.h"
#include "system/log_capture.h"

namespace {

using namespace AviTest;

// Reads what the file offers the way a timeline does: the first and the last frame and the
// first second of audio. Read failures are exceptions, never crashes.
void readAround(const OpenedAvi& avi) {
  try {
    if (avi->description().hasVideo()) {
      EXPECT_TRUE(avi->readVideo(0));
      EXPECT_TRUE(avi->readVideo(avi->description().frameCount - 1));
    }
    if (avi->description().hasAudio()) {
      EXPECT_TRUE(avi->readAudio(0));
    }
  } catch (const std::exception&) {
  }
}

std::string validFile() {
  File file;
  file.video = rgbVideo(3, 4, 2, 24);
  file.audio = AudioStream{};
  file.audio->chunks = pcm16StereoChunks(3000, 1000);
  return writeAvi(file);
}

// Overwrites four bytes at the position of the first `code` in `bytes`, plus `skip`.
void patchAfter(std::string& bytes, const char* code, std::ptrdiff_t skip, uint32_t value) {
  const std::size_t at = bytes.find(code);
  ASSERT_NE(at, std::string::npos) << code;
  for (int i = 0; i < 4; ++i)
    bytes[static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + skip + i)] =
        static_cast<char>(value >> (8 * i));
}

TEST(AviBadFileTest, FilesThatAreNoAviDoNotOpenAndSayWhy) {
  const struct {
    const char* name;
    std::string bytes;
    const char* logged;
  } cases[] = {
      {"empty", "", "invalid RIFF file."},
      {"eleven bytes", "RIFF\x10\0\0\0AVI", "invalid RIFF file."},
      {"a wave file", std::string("RIFF\x04\0\0\0WAVE", 12), "AVI chunk not found."},
      {"no header list", std::string("RIFF\x04\0\0\0AVI ", 12), "hdrl chunk not found."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestSupport::LogCapture log;
    OpenedAvi avi(c.bytes);
    EXPECT_FALSE(avi);
    bool found = false;
    for (const auto& text : log.texts("ERROR")) found |= text.find(c.logged) != std::string::npos;
    EXPECT_TRUE(found) << c.logged;
  }
}

TEST(AviBadFileTest, AMissingFileDoesNotOpen) {
  Plugin::AviFileReader reader;
  EXPECT_EQ(reader.openFile("/nonexistent/velumo/none.avi"), nullptr);
}

TEST(AviBadFileTest, EveryCutOfAValidFileOpensOrNotWithoutReadingPastIt) {
  const std::string whole = validFile();
  // Every few bytes through the headers, then a sample of the chunks and the index.
  for (std::size_t size = 0; size < whole.size(); size += size < 400 ? 3 : 101) {
    SCOPED_TRACE(size);
    OpenedAvi avi(whole.substr(0, size));
    if (avi) readAround(avi);
  }
}

TEST(AviBadFileTest, HeadersThatLieAreRefusedOrRepaired) {
  const struct {
    const char* name;
    const char* code;
    std::ptrdiff_t skip;
    uint32_t value;
    int32_t kinds;  // what survives: video 1, audio 2
  } cases[] = {
      {"a huge width", "strf", 12, 1000000, Plugin::kKindAudio},
      {"a huge height", "strf", 16, 0x7FFFFFFF, Plugin::kKindAudio},
      {"a zero width", "strf", 12, 0, Plugin::kKindAudio},
      {"a zero frame rate", "vids", 24, 0, Plugin::kKindAudio},
      {"a zero frame scale", "vids", 20, 0, Plugin::kKindAudio},
      {"a format of 64 KiB", "strf", 4, 65536, Plugin::kKindAudio},
      {"a format shorter than its header", "strf", 4, 12, Plugin::kKindAudio},
      {"a zero audio scale", "auds", 20, 0, Plugin::kKindVideo},
      {"a zero sampling rate", "auds", 56 + 8 + 4, 0, Plugin::kKindVideo},
      {"a RIFF size beyond the file", "RIFF", 4, 0xFFFFFFF0, 3},
      {"a movi list beyond the file", "movi", -4, 0xFFFFFFF0, 3},
      {"an idx1 beyond the file", "idx1", 4, 0xFFFFFFF0, 3},
      {"a frame count beyond the index", "vids", 32, 0xFFFFFFFF, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string bytes = validFile();
    patchAfter(bytes, c.code, c.skip, c.value);
    OpenedAvi avi(bytes);
    ASSERT_TRUE(avi);
    EXPECT_EQ(avi->description().kinds, c.kinds);
    readAround(avi);
  }
}

TEST(AviBadFileTest, IndexEntriesPointingOutsideTheFileReadAsEmptyChunks) {
  File file;
  file.video = rgbVideo(2, 4, 2, 24);
  std::string bytes = writeAvi(file);
  // The second idx1 entry's offset far past the end.
  const std::size_t idx1 = bytes.find("idx1");
  ASSERT_NE(idx1, std::string::npos);
  for (int i = 0; i < 4; ++i) bytes[idx1 + 8 + 16 + 8 + i] = '\x7F';
  OpenedAvi avi(bytes);
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().frameCount, 2);
  // The chunk has nothing in the file: the frame before it shows.
  EXPECT_EQ(avi->readVideo(1)->row(0)[0], pixelOf(0, 0, 0).b);
}

TEST(AviBadFileTest, SuperIndexesThatRepeatOneChunkReadItOnce) {
  File file;
  file.video = rgbVideo(3, 4, 2, 24);
  file.index = Index::OpenDml;
  file.secondPartFrom = 3;  // the second part holds nothing
  file.video->length = 10;  // so that the frame count shows how many entries were read
  std::string bytes = writeAvi(file);
  // Both super index entries name the first standard index.
  const std::size_t indx = bytes.find("indx");
  ASSERT_NE(indx, std::string::npos);
  bytes.replace(indx + 8 + 24 + 16, 16, bytes.substr(indx + 8 + 24, 16));
  OpenedAvi avi(bytes);
  ASSERT_TRUE(avi);
  EXPECT_EQ(avi->description().frameCount, 3);
}

TEST(AviBadFileTest, RandomBytesAfterAValidHeaderNeverCrash) {
  const std::string whole = validFile();
  const std::size_t header = whole.find("movi");
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes = whole;
    // Flip a few bytes anywhere after the RIFF header.
    for (int i = 0; i < 6; ++i)
      bytes[12 + random() % (bytes.size() - 12)] = static_cast<char>(random());
    if (round % 2 == 0) bytes.resize(header + random() % (bytes.size() - header));
    OpenedAvi avi(bytes);
    if (avi) readAround(avi);
  }
}

}  // namespace
