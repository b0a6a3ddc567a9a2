#include "output/riff_file.h"

#include <algorithm>

#include "system/exception.h"

namespace Plugin {
namespace {

void put32(uint8_t* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

void RiffFile::write(const void* data, uint64_t size) {
  file_.write(data, static_cast<std::size_t>(size));
  position_ += size;
}

void RiffFile::writeZeros(uint64_t size) {
  static constexpr uint8_t kZeros[4096] = {};
  while (size > 0) {
    const uint64_t part = std::min<uint64_t>(size, sizeof kZeros);
    write(kZeros, part);
    size -= part;
  }
}

void RiffFile::writeHeader(uint32_t id, uint32_t size) {
  uint8_t bytes[8];
  put32(bytes, id);
  put32(bytes + 4, size);
  write(bytes, sizeof bytes);
}

uint64_t RiffFile::beginList(uint32_t id, uint32_t type) {
  uint8_t bytes[12];
  put32(bytes, id);
  put32(bytes + 4, 0);
  put32(bytes + 8, type);
  write(bytes, sizeof bytes);
  return position_ - 4;
}

uint64_t RiffFile::beginChunk(uint32_t id) {
  writeHeader(id, 0);
  return position_;
}

void RiffFile::endChunk(uint64_t position) {
  const uint64_t size = position_ - position;
  // The size field has 32 bits; a part that grew past it cannot be described.
  if (size > UINT32_MAX)
    throw System::makeFormattedException("Plugin::RiffFile::endChunk", "chunk too large.",
                                         "size = %llu", static_cast<unsigned long long>(size));
  uint8_t bytes[4];
  put32(bytes, static_cast<uint32_t>(size));
  rewrite(position - 4, bytes, sizeof bytes);
}

void RiffFile::renameChunk(uint64_t position, uint32_t id) {
  uint8_t bytes[4];
  put32(bytes, id);
  rewrite(position - 8, bytes, sizeof bytes);
}

uint64_t RiffFile::writeChunk(const void* data, uint32_t size, uint32_t id) {
  writeHeader(id, size);
  const uint64_t dataPosition = position_;
  write(data, size);
  if (size % 2 != 0) writeZeros(1);
  return dataPosition;
}

uint64_t RiffFile::writeZeroChunk(uint32_t size, uint32_t id) {
  writeHeader(id, size);
  const uint64_t dataPosition = position_;
  writeZeros(static_cast<uint64_t>(size) + size % 2);
  return dataPosition;
}

void RiffFile::rewrite(uint64_t position, const void* data, uint32_t size) {
  const uint64_t end = position_;
  file_.seek(position);
  position_ = position;
  write(data, size);
  file_.seek(end);
  position_ = end;
}

}  // namespace Plugin
