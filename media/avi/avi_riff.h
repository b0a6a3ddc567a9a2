#pragma once
// The RIFF and AVI records the reader walks: four-character codes, little-endian fields and
// the fixed-size headers of streams, indexes and formats. Everything is decoded from bytes
// so that no record is ever cast over file data.
#include <cstdint>
#include <cstring>

namespace Plugin::AviRiff {

constexpr uint32_t fourCC(const char (&code)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(code[0])) |
         static_cast<uint32_t>(static_cast<uint8_t>(code[1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

inline constexpr uint32_t kRiff = fourCC("RIFF");
inline constexpr uint32_t kList = fourCC("LIST");
inline constexpr uint32_t kAvi = fourCC("AVI ");
inline constexpr uint32_t kHdrl = fourCC("hdrl");
inline constexpr uint32_t kOdml = fourCC("odml");
inline constexpr uint32_t kStrl = fourCC("strl");
inline constexpr uint32_t kStrh = fourCC("strh");
inline constexpr uint32_t kStrf = fourCC("strf");
inline constexpr uint32_t kIndx = fourCC("indx");
inline constexpr uint32_t kMovi = fourCC("movi");
inline constexpr uint32_t kIdx1 = fourCC("idx1");
inline constexpr uint32_t kVids = fourCC("vids");
inline constexpr uint32_t kAuds = fourCC("auds");
inline constexpr uint32_t kYuy2 = fourCC("YUY2");
inline constexpr uint32_t kRu64 = fourCC("RU64");
inline constexpr uint32_t kRf64 = fourCC("RF64");

// Largest frame the reader accepts: a side of 16384 pixels and 64 Mi pixels in all (an 8K
// frame has a tenth of that). A header may claim anything; the frame buffers are sized
// from it.
inline constexpr int32_t kMaxFrameSide = 16384;
inline constexpr int64_t kMaxFramePixels = int64_t{8192} * 8192;

inline uint16_t readU16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}
inline uint32_t readU32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}
inline int32_t readI32(const uint8_t* bytes) { return static_cast<int32_t>(readU32(bytes)); }
inline uint64_t readU64(const uint8_t* bytes) {
  return static_cast<uint64_t>(readU32(bytes)) | static_cast<uint64_t>(readU32(bytes + 4)) << 32;
}

// Codes are compared with their lower-case ASCII letters upper-cased, and the two spellings
// of uncompressed RGB ("DIB " and "\0DIB") count as 0.
uint32_t normalizeFourCC(uint32_t code);
inline bool sameFourCC(uint32_t left, uint32_t right) {
  return normalizeFourCC(left) == normalizeFourCC(right);
}
inline bool isUncompressedRgb(uint32_t code) { return normalizeFourCC(code) == 0; }

// The 56-byte stream header of a "strh" chunk.
struct StreamHeader {
  static constexpr uint32_t kSize = 56;
  uint32_t type = 0;
  uint32_t handler = 0;
  uint32_t scale = 0;
  uint32_t rate = 0;
  uint32_t length = 0;
  uint32_t sampleSize = 0;

  static StreamHeader parse(const uint8_t* bytes);
};

// The fields of a stored BITMAPINFOHEADER the reader uses (the format has at least 40 bytes).
struct BitmapFormat {
  static constexpr uint32_t kSize = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;

  static BitmapFormat parse(const uint8_t* bytes);
};

// The fields of a stored WAVEFORMATEX (at least the 16 bytes of its PCM form; cbSize and the
// codec's extra bytes follow when the format is longer).
struct WaveFormat {
  static constexpr uint32_t kMinimumSize = 16;
  static constexpr uint32_t kExtendedSize = 18;
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;

  static WaveFormat parse(const uint8_t* bytes);
};

// Header of an OpenDML index chunk's body (super index and standard index alike): 24 bytes.
struct IndexHeader {
  static constexpr uint32_t kSize = 24;
  uint32_t entriesInUse = 0;
  uint32_t chunkId = 0;
  uint64_t baseOffset = 0;  // standard index only

  static IndexHeader parse(const uint8_t* bytes);
};
inline constexpr uint32_t kSuperIndexEntrySize = 16;
inline constexpr uint32_t kStandardIndexEntrySize = 8;
inline constexpr uint32_t kIdx1EntrySize = 16;
inline constexpr uint32_t kIdx1KeyFrame = 0x10;
inline constexpr uint32_t kStandardIndexNotKey = 0x80000000u;

}  // namespace Plugin::AviRiff
