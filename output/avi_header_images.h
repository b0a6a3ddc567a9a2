#pragma once
// The headers and indexes the AVI writer puts into its files, as little-endian byte images.
//
// The headers whose values are known only at the end (frame counts, buffer sizes, the
// OpenDML indexes) are kept in memory with the position of their bytes in the file, and
// rewritten in place after every RIFF part: nothing before the data ever moves.
#include <cstdint>
#include <vector>

#include "media/avi/avi_riff.h"
#include "media/image/bitmap_info_header.h"
#include "output/export_source.h"

namespace Plugin {

class ByteImage {
 public:
  explicit ByteImage(uint32_t size = 0) : bytes_(size) {}

  void set16(uint32_t offset, uint16_t value);
  void set32(uint32_t offset, uint32_t value);
  void set64(uint32_t offset, uint64_t value);
  void append16(uint16_t value);
  void append32(uint32_t value);
  void append64(uint64_t value);
  void reserve(uint64_t size) { bytes_.reserve(size); }

  const uint8_t* data() const { return bytes_.data(); }
  uint32_t size() const { return static_cast<uint32_t>(bytes_.size()); }

  // Where the image's bytes (a chunk's data) lie in the file, once written.
  uint64_t position = 0;

 private:
  std::vector<uint8_t> bytes_;
};

// The audio stream's sample format.
struct AviAudioFormat {
  int32_t formatTag = 1;  // 1 PCM, 3 IEEE float
  int32_t bitsPerSample = 16;
  int32_t channels = 2;
  int32_t blockAlign = 4;
};

// One media chunk of the current part: where its header begins, its data size, its stream.
struct AviIndexEntry {
  int64_t position = 0;
  uint32_t size = 0;
  int16_t stream = 0;  // 0 video, 1 audio
};

namespace AviImage {

// The chunk ids of the two streams' media.
inline constexpr uint32_t kVideoChunk = AviRiff::fourCC("00db");
inline constexpr uint32_t kAudioChunk = AviRiff::fourCC("01wb");

inline constexpr uint32_t kMainHeaderSize = 56;
inline constexpr uint32_t kStreamHeaderSize = 64;
inline constexpr uint32_t kWaveFormatSize = 18;
inline constexpr uint32_t kIndexHeaderSize = 24;
inline constexpr uint32_t kSuperIndexEntries = 100;  // the most parts a file can have
inline constexpr uint32_t kSuperIndexSize = kIndexHeaderSize + kSuperIndexEntries * 16;  // 1624
inline constexpr uint32_t kOdmlListSize = 260;  // "odml" + "dmlh" 248
inline constexpr uint32_t kPaddingAlignment = 2048;

// 'avih': microseconds per frame, flags "has index" and "trust chunk type", two streams,
// the scene's size. The total frames are set later (offset kMainTotalFrames).
ByteImage mainHeader(const ExportScene& scene);
inline constexpr uint32_t kMainTotalFrames = 16;

// 'strh' of the video stream (handler = the DIB compression) and of the audio stream; the
// length and the suggested buffer size are set later.
ByteImage videoStreamHeader(const ExportScene& scene, uint32_t compression);
ByteImage audioStreamHeader(const ExportScene& scene, const AviAudioFormat& format);
void setStreamLength(ByteImage& header, uint32_t length, uint32_t suggestedBufferSize);

// 'strf' of each stream: the BITMAPINFOHEADER and the WAVEFORMATEX.
ByteImage bitmapFormat(const Media::BitmapInfoHeader& header);
ByteImage waveFormat(const ExportScene& scene, const AviAudioFormat& format);

// The super index of a stream, no entries in use yet.
ByteImage superIndex(uint32_t chunkId);
// Puts the entry of part `part` (from 0): the position of the part's standard index chunk,
// that chunk's data size and the part's duration; the entries in use become part + 1.
void setSuperIndexEntry(ByteImage& index, uint32_t part, uint64_t position, uint32_t size,
                        uint32_t duration);

// "odml" { "dmlh" 248 }; the total frames of all parts are set with setOdmlTotalFrames.
ByteImage odmlList();
void setOdmlTotalFrames(ByteImage& list, uint32_t frames);

// The standard index of one stream and part: the entries of `stream` among `entries`, each
// as the offset of the chunk's data from `baseOffset` and its size (all key frames).
ByteImage standardIndex(uint32_t chunkId, uint64_t baseOffset,
                        const std::vector<AviIndexEntry>& entries, int16_t stream);
// The 'idx1' of the first part: every entry with its chunk id, the key-frame flag and the
// offset of its header from the 'movi' type field at `moviType`.
ByteImage legacyIndex(const std::vector<AviIndexEntry>& entries, uint64_t moviType);

}  // namespace AviImage
}  // namespace Plugin
