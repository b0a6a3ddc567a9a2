#include "media/avi/avi_riff.h"

namespace Plugin::AviRiff {

uint32_t normalizeFourCC(uint32_t code) {
  if (code == fourCC("DIB ") || code == 0x42494400u) return 0;
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    uint32_t byte = (code >> shift) & 0xFF;
    if (byte >= 'a' && byte <= 'z') byte -= 'a' - 'A';
    result |= byte << shift;
  }
  // Upper-casing can turn "dib " into "DIB ", which is uncompressed RGB as well.
  if (result == fourCC("DIB ")) return 0;
  return result;
}

StreamHeader StreamHeader::parse(const uint8_t* bytes) {
  StreamHeader header;
  header.type = readU32(bytes + 0);
  header.handler = readU32(bytes + 4);
  header.scale = readU32(bytes + 20);
  header.rate = readU32(bytes + 24);
  header.length = readU32(bytes + 32);
  header.sampleSize = readU32(bytes + 44);
  return header;
}

BitmapFormat BitmapFormat::parse(const uint8_t* bytes) {
  BitmapFormat format;
  format.width = readI32(bytes + 4);
  format.height = readI32(bytes + 8);
  format.bitCount = readU16(bytes + 14);
  format.compression = readU32(bytes + 16);
  return format;
}

WaveFormat WaveFormat::parse(const uint8_t* bytes) {
  WaveFormat format;
  format.formatTag = readU16(bytes + 0);
  format.channels = readU16(bytes + 2);
  format.samplesPerSec = readU32(bytes + 4);
  format.avgBytesPerSec = readU32(bytes + 8);
  format.blockAlign = readU16(bytes + 12);
  format.bitsPerSample = readU16(bytes + 14);
  return format;
}

IndexHeader IndexHeader::parse(const uint8_t* bytes) {
  IndexHeader header;
  header.entriesInUse = readU32(bytes + 4);
  header.chunkId = readU32(bytes + 8);
  header.baseOffset = readU64(bytes + 12);
  return header;
}

}  // namespace Plugin::AviRiff
