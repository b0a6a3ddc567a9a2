#pragma once
// The walk over an AVI file's RIFF structure during the open: the stream headers and
// formats, and the index of the chosen video and audio streams. It reads through its own
// handle, which is closed when the walk ends.
//
// Every region is clipped to what its parent (and so the file) holds: a size field larger
// than the file, a truncated file or an index pointing past the end never makes a read
// leave the file.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "media/avi/avi_file_input.h"
#include "media/avi/avi_riff.h"
#include "system/file.h"

namespace Plugin {

class AviFileInput::FileParse {
 public:
  explicit FileParse(AviFileInput& input) : input_(input) {}
  void open(const std::string& path);

 private:
  struct Region {
    uint64_t size = 0;
    uint64_t start = 0;
    uint64_t cursor = 0;
    uint64_t declared = 0;  // the size field as stored (the size is what the parent holds)
    uint64_t end() const { return start + size; }
    void rewind() { cursor = start; }
  };

  // Finds the next chunk (or list of that type) with the id from the region's cursor on.
  bool findChunk(Region& region, uint32_t id, Region& found);
  void readStreamHeader(Region& strl, uint32_t number);
  bool readVideoStream(Region& strl, const AviRiff::StreamHeader& header);
  bool readAudioStream(Region& strl, const AviRiff::StreamHeader& header);
  void readSuperIndex(Region& strl, bool video);
  std::vector<uint8_t> readBytes(uint64_t offset, uint64_t size);

  void buildIndexFromIdx1(const Region& idx1);
  void buildIndexFromMovi();
  void buildIndexFromStandardIndexes();
  void addVideoEntry(uint64_t offset, uint64_t size, bool notKey);
  void addAudioEntry(uint64_t offset, uint64_t size);
  void reserveIndexes(uint64_t videoEntries, uint64_t audioEntries);
  void repairCounts();

  bool isVideoChunk(uint32_t id) const;
  bool isAudioChunk(uint32_t id) const;

  AviFileInput& input_;
  System::File file_;
  uint64_t fileSize_ = 0;
  Region riff_;
  Region hdrl_;
  Region movi_;
  std::optional<uint16_t> videoId_;  // the first two bytes of the stream's chunk ids
  std::optional<uint16_t> audioId_;
  bool odml_ = false;
  std::vector<uint64_t> standardIndexOffsets_;
  std::set<uint64_t> knownIndexOffsets_;
  uint64_t expectedVideoEntries_ = 0;
  uint64_t expectedAudioEntries_ = 0;
  uint64_t audioBytes_ = 0;  // running total of the audio index
};

}  // namespace Plugin
