#include "output/avi_header_images.h"

namespace Plugin {

using AviRiff::fourCC;

void ByteImage::set16(uint32_t offset, uint16_t value) {
  for (uint32_t i = 0; i < 2; ++i) bytes_.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

void ByteImage::set32(uint32_t offset, uint32_t value) {
  for (uint32_t i = 0; i < 4; ++i) bytes_.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

void ByteImage::set64(uint32_t offset, uint64_t value) {
  set32(offset, static_cast<uint32_t>(value));
  set32(offset + 4, static_cast<uint32_t>(value >> 32));
}

void ByteImage::append16(uint16_t value) {
  bytes_.resize(bytes_.size() + 2);
  set16(size() - 2, value);
}

void ByteImage::append32(uint32_t value) {
  bytes_.resize(bytes_.size() + 4);
  set32(size() - 4, value);
}

void ByteImage::append64(uint64_t value) {
  bytes_.resize(bytes_.size() + 8);
  set64(size() - 8, value);
}

namespace AviImage {
namespace {

constexpr uint32_t kHasIndex = 0x10;
constexpr uint32_t kTrustChunkType = 0x800;
constexpr uint32_t kKeyFrame = 0x10;
constexpr uint32_t kStreamLength = 32;
constexpr uint32_t kStreamSuggestedBuffer = 36;
constexpr uint32_t kOdmlTotalFrames = 12;
constexpr uint32_t kDmlhSize = 248;

}  // namespace

ByteImage mainHeader(const ExportScene& scene) {
  ByteImage image(kMainHeaderSize);
  // Computed in 64 bits: a scale of a few thousand times a million overflows 32.
  const uint64_t microseconds = static_cast<uint64_t>(scene.scale) * 1000000u /
                                static_cast<uint64_t>(scene.rate);
  image.set32(0, static_cast<uint32_t>(microseconds));
  image.set32(12, kHasIndex | kTrustChunkType);
  image.set32(24, 2);  // streams
  image.set32(32, static_cast<uint32_t>(scene.width));
  image.set32(36, static_cast<uint32_t>(scene.height));
  return image;
}

ByteImage videoStreamHeader(const ExportScene& scene, uint32_t compression) {
  ByteImage image(kStreamHeaderSize);
  image.set32(0, fourCC("vids"));
  image.set32(4, compression);
  image.set32(20, static_cast<uint32_t>(scene.scale));
  image.set32(24, static_cast<uint32_t>(scene.rate));
  image.set32(56, static_cast<uint32_t>(scene.width));
  image.set32(60, static_cast<uint32_t>(scene.height));
  return image;
}

ByteImage audioStreamHeader(const ExportScene& scene, const AviAudioFormat& format) {
  ByteImage image(kStreamHeaderSize);
  const auto blockAlign = static_cast<uint32_t>(format.blockAlign);
  image.set32(0, fourCC("auds"));
  image.set32(4, static_cast<uint32_t>(format.formatTag));
  image.set32(20, blockAlign);
  image.set32(24, blockAlign * static_cast<uint32_t>(scene.audioRate));
  image.set32(44, blockAlign);  // sample size
  return image;
}

void setStreamLength(ByteImage& header, uint32_t length, uint32_t suggestedBufferSize) {
  header.set32(kStreamLength, length);
  header.set32(kStreamSuggestedBuffer, suggestedBufferSize);
}

ByteImage bitmapFormat(const Media::BitmapInfoHeader& header) {
  ByteImage image;
  image.append32(header.size);
  image.append32(static_cast<uint32_t>(header.width));
  image.append32(static_cast<uint32_t>(header.height));
  image.append16(header.planes);
  image.append16(header.bitCount);
  image.append32(header.compression);
  image.append32(header.sizeImage);
  image.append32(static_cast<uint32_t>(header.xPelsPerMeter));
  image.append32(static_cast<uint32_t>(header.yPelsPerMeter));
  image.append32(header.clrUsed);
  image.append32(header.clrImportant);
  return image;
}

ByteImage waveFormat(const ExportScene& scene, const AviAudioFormat& format) {
  ByteImage image;
  const auto rate = static_cast<uint32_t>(scene.audioRate);
  image.append16(static_cast<uint16_t>(format.formatTag));
  image.append16(static_cast<uint16_t>(format.channels));
  image.append32(rate);
  image.append32(static_cast<uint32_t>(format.blockAlign) * rate);
  image.append16(static_cast<uint16_t>(format.blockAlign));
  image.append16(static_cast<uint16_t>(format.bitsPerSample));
  image.append16(0);  // no extra bytes
  return image;
}

ByteImage superIndex(uint32_t chunkId) {
  ByteImage image(kSuperIndexSize);
  image.set16(0, 4);  // longs per entry; sub-type 0, type 0 (an index of indexes)
  image.set32(8, chunkId);
  return image;
}

void setSuperIndexEntry(ByteImage& index, uint32_t part, uint64_t position, uint32_t size,
                        uint32_t duration) {
  const uint32_t entry = kIndexHeaderSize + part * 16;
  index.set64(entry, position);
  index.set32(entry + 8, size);
  index.set32(entry + 12, duration);
  index.set32(4, part + 1);
}

ByteImage odmlList() {
  ByteImage image(kOdmlListSize);
  image.set32(0, fourCC("odml"));
  image.set32(4, fourCC("dmlh"));
  image.set32(8, kDmlhSize);
  return image;
}

void setOdmlTotalFrames(ByteImage& list, uint32_t frames) { list.set32(kOdmlTotalFrames, frames); }

ByteImage standardIndex(uint32_t chunkId, uint64_t baseOffset,
                        const std::vector<AviIndexEntry>& entries, int16_t stream) {
  ByteImage image(kIndexHeaderSize);
  image.set16(0, 2);       // longs per entry
  image.set16(2, 0x0100);  // sub-type 0, type 1 (an index of chunks)
  image.set32(8, chunkId);
  image.set64(12, baseOffset);
  uint32_t count = 0;
  for (const AviIndexEntry& entry : entries) {
    if (entry.stream != stream) continue;
    // The offset points at the chunk's data, past its 8-byte header; bit 31 stays clear: every
    // chunk is a key frame.
    image.append32(static_cast<uint32_t>(static_cast<uint64_t>(entry.position) + 8 - baseOffset));
    image.append32(entry.size);
    ++count;
  }
  image.set32(4, count);
  return image;
}

ByteImage legacyIndex(const std::vector<AviIndexEntry>& entries, uint64_t moviType) {
  ByteImage image;
  image.reserve(static_cast<uint64_t>(entries.size()) * 16);
  for (const AviIndexEntry& entry : entries) {
    image.append32(entry.stream == 0 ? kVideoChunk : kAudioChunk);
    image.append32(kKeyFrame);
    image.append32(static_cast<uint32_t>(static_cast<uint64_t>(entry.position) - moviType));
    image.append32(entry.size);
  }
  return image;
}

}  // namespace AviImage
}  // namespace Plugin
