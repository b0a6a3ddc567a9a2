#pragma once
// AVI exports for the writer's tests: a source of pictures whose every byte tells its frame,
// row, column and channel, an export in a temporary folder, and a walk over the written
// file's RIFF structure.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fake_export_source.h"
#include "media/avi/avi_riff.h"
#include "output/avi_file_save.h"
#include "output/avi_file_save_file.h"
#include "system/temp_folder.h"

namespace AviSaveTest {

// Byte `k` of pixel (x, y) in frame `frame` of the test pictures. Neighbours differ, so a
// flipped, shifted or swapped row shows. The fourth byte of a 24-bit frame's pixel is 0,
// which is what a 24-bit image carries there.
inline uint8_t pictureByte(int32_t format, int frame, uint32_t x, uint32_t y, uint32_t k) {
  if (format == Plugin::kFrameBgr24 && k == 3) return 0;
  return static_cast<uint8_t>(x * 7 + y * 13 + static_cast<uint32_t>(frame) * 31 + k * 3 + 1);
}

class PictureSource : public OutputTest::FakeExportSource {
 public:
  using FakeExportSource::FakeExportSource;

  std::shared_ptr<Media::ImageBuffer> renderVideo(int frame, int format,
                                                  bool straightAlpha) override {
    auto image = FakeExportSource::renderVideo(frame, format, straightAlpha);
    const uint32_t bytes = Media::ImageBuffer::getBytesPerPixel(format);
    for (uint32_t y = 0; y < image->height; ++y)
      for (uint32_t x = 0; x < image->width; ++x)
        for (uint32_t k = 0; k < bytes; ++k)
          image->row(y)[x * bytes + k] = pictureByte(format, frame, x, y, k);
    if (onVideo) onVideo(frame);
    return image;
  }

  void renderAudio(int frame, Media::RawAudioBuffer& out) override {
    if (onAudio) onAudio(frame);
    FakeExportSource::renderAudio(frame, out);
  }

  // Called on the caches' workers: after each frame was made, before each frame's sound.
  std::function<void(int frame)> onVideo;
  std::function<void(int frame)> onAudio;
};

// The test pictures' sample value of a 16-bit export at `sample`, as the reader's float.
inline float sampleValue(int64_t sample) {
  return static_cast<float>(OutputTest::samplePattern(sample)) / 32768.0f;
}

inline std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uint32_t u16(const std::string& bytes, uint64_t at) {
  return Plugin::AviRiff::readU16(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}
inline uint32_t u32(const std::string& bytes, uint64_t at) {
  return Plugin::AviRiff::readU32(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}
inline uint64_t u64(const std::string& bytes, uint64_t at) {
  return Plugin::AviRiff::readU64(reinterpret_cast<const uint8_t*>(bytes.data()) + at);
}
inline std::string code(uint32_t id) {
  return std::string{static_cast<char>(id), static_cast<char>(id >> 8),
                     static_cast<char>(id >> 16), static_cast<char>(id >> 24)};
}

// One chunk or list of a written file.
struct Chunk {
  std::string id;    // a list's id is "RIFF" or "LIST" followed by its type: "LIST movi"
  uint64_t header = 0;
  uint32_t size = 0;
  uint64_t data() const { return header + 8; }
};

// Every chunk in file order, lists before their contents. `outline` gets the structure as
// text: "RIFF AVI [LIST hdrl [avih ...] ...]". A chunk that runs past its parent fails.
inline void walkChunks(const std::string& bytes, uint64_t begin, uint64_t end,
                       std::vector<Chunk>& chunks, std::string& outline) {
  uint64_t at = begin;
  bool first = true;
  while (at + 8 <= end) {
    Chunk chunk;
    chunk.header = at;
    chunk.size = u32(bytes, at + 4);
    chunk.id = code(u32(bytes, at));
    const uint64_t next = chunk.data() + chunk.size + chunk.size % 2;
    if (next > end) {
      ADD_FAILURE() << chunk.id << " at " << at << " runs past its parent's end " << end;
      return;
    }
    outline += (first ? "" : " ");
    first = false;
    const bool list = chunk.id == "RIFF" || chunk.id == "LIST";
    if (list) chunk.id += " " + code(u32(bytes, chunk.data()));
    outline += chunk.id;
    chunks.push_back(chunk);
    if (list) {
      outline += " [";
      walkChunks(bytes, chunk.data() + 4, chunk.data() + chunk.size, chunks, outline);
      outline += "]";
    }
    at = next;
  }
  if (at != end) ADD_FAILURE() << "bytes left over at " << at << " before " << end;
}

struct Walk {
  std::vector<Chunk> chunks;
  std::string outline;

  // The `nth` chunk (from 0) with that id, in file order.
  Chunk find(const std::string& id, int nth = 0) const {
    for (const Chunk& chunk : chunks)
      if (chunk.id == id && nth-- == 0) return chunk;
    ADD_FAILURE() << "no " << id;
    return {};
  }
  std::vector<Chunk> all(const std::string& id) const {
    std::vector<Chunk> found;
    for (const Chunk& chunk : chunks)
      if (chunk.id == id) found.push_back(chunk);
    return found;
  }
};

inline Walk walk(const std::string& bytes) {
  Walk result;
  walkChunks(bytes, 0, bytes.size(), result.chunks, result.outline);
  return result;
}

// An export of `frames` frames of the 320 x 240, 30/1, 48000 Hz scene into a folder of its
// own.
class AviSaveFixture : public ::testing::Test {
 protected:
  AviSaveFixture() { setFrames(3); }

  void setFrames(int frames) {
    scene_ = OutputTest::smallScene(frames);
    source_ = std::make_shared<PictureSource>(scene_);
  }

  std::unique_ptr<Plugin::AviFileSaveFile> makeFile(const std::string& name = "out.avi") {
    return std::make_unique<Plugin::AviFileSaveFile>(path(name), plugin_, scene_, source_,
                                                     caches_);
  }
  // Saves with the plug-in's settings and returns the file's bytes.
  std::string save(const std::string& name = "out.avi", uint64_t partLimit = 0) {
    auto file = makeFile(name);
    if (partLimit) file->setPartLimit(partLimit);
    EXPECT_TRUE(file->save());
    return readBytes(path(name));
  }
  // Saves with the two types into "<videoType>.avi"; returns that file's path.
  std::string saveAs(const char* videoType, const char* audioType) {
    plugin_.setVideoType(videoType);
    plugin_.setAudioType(audioType);
    const std::string name = std::string(videoType) + ".avi";
    save(name);
    return path(name);
  }
  std::string path(const std::string& name) const { return folder_ / name; }

  TestSupport::TempFolder folder_{"velumo-avi-save"};
  Plugin::ExportScene scene_;
  std::shared_ptr<PictureSource> source_;
  Plugin::ExportCaches caches_;
  Plugin::AviFileSave plugin_;
};

}  // namespace AviSaveTest
