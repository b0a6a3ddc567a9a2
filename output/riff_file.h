#pragma once
// Writes RIFF chunks and lists forward through a file, keeping its own count of the bytes
// written as the position. A chunk or list is opened with a zero size and closed once its
// contents are out: the size is then written in place and the writing goes on at the end.
#include <cstdint>

#include "system/file.h"

namespace Plugin {

class RiffFile {
 public:
  explicit RiffFile(System::File& file) : file_(file) {}

  uint64_t position() const { return position_; }

  // Writes id, a zero size and the list type; returns the position of the type field.
  uint64_t beginList(uint32_t id, uint32_t type);
  // Writes id and a zero size; returns the position of the chunk's data.
  uint64_t beginChunk(uint32_t id);
  // Closes the chunk whose data (or list type) begins at `position`: its size becomes the
  // bytes from there to the current position. A size past 32 bits throws "chunk too large.".
  void endChunk(uint64_t position);
  // Gives the chunk whose data begins at `position` another id.
  void renameChunk(uint64_t position, uint32_t id);
  // A whole chunk: id, size, the data and a zero byte when the size is odd. Returns the
  // position of its data.
  uint64_t writeChunk(const void* data, uint32_t size, uint32_t id);
  // A chunk of `size` zero bytes (the placeholders and the padding); returns its data's
  // position.
  uint64_t writeZeroChunk(uint32_t size, uint32_t id);
  // Writes `size` bytes at `position` over what is there, then returns to the end.
  void rewrite(uint64_t position, const void* data, uint32_t size);

 private:
  void write(const void* data, uint64_t size);
  void writeZeros(uint64_t size);
  void writeHeader(uint32_t id, uint32_t size);

  System::File& file_;
  uint64_t position_ = 0;
};

}  // namespace Plugin
