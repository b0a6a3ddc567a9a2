#pragma once
// This program's side of the byte stream to a helper program: the pipe it reads the helper's
// output from and the pipe it writes the helper's input to, with the items of their
// protocol. Every value is little-endian:
//   int32, int64   4 and 8 bytes
//   string         int32 count of UTF-16 code units, then the units (no terminator)
//   block          int32 byte size, then the bytes
//
// The descriptors belong to whoever made them (normally a System::PipeProcess); this only
// reads and writes them.
//
// A failed operation leaves the stream at a position nobody knows, or shows that the other
// side sends something that cannot belong to the exchange. From then on the pipe is broken:
// every later operation fails at once with the broken-pipe error (109) instead of reading
// whatever follows as a new item. A pipe made without descriptors is broken from the start.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace System {

// A write into a pipe whose reader has gone must fail with EPIPE instead of ending this
// program with SIGPIPE. Sets SIGPIPE to be ignored once per process, unless someone
// installed a handler of their own.
void ignoreBrokenPipeSignal();

class Pipe {
 public:
  // The longest string a reader accepts, in UTF-16 units.
  static constexpr uint32_t kMaxStringUnits = 4096;

  Pipe() = default;
  Pipe(int readDescriptor, int writeDescriptor);

  // Exactly `size` bytes. A failed call throws "read" (the system's error), the end of the
  // stream before `size` bytes the broken-pipe error; place "System::Pipe::read".
  void read(void* buffer, std::size_t size);
  int32_t readInt();
  int64_t readInt64();
  // An int32 size (taken as unsigned), then that many bytes into `buffer`; returns the size.
  // A size above `capacity` throws the broken-pipe error at "System::Pipe::readBlock"
  // without reading the bytes.
  uint32_t readBlock(void* buffer, uint32_t capacity);
  // An int32 count (unsigned), then that many UTF-16 units. A count above 4096 throws the
  // broken-pipe error at "System::Pipe::readString".
  void readString(std::u16string& text);

  // Exactly `size` bytes. A failed call throws "write" (EPIPE when the reader has gone), a
  // write that takes nothing the broken-pipe error; place "System::Pipe::write".
  void write(const void* data, std::size_t size);
  void writeInt(int32_t value);
  // The count of units, then the units. A text longer than an int32 can count is refused
  // before anything is written.
  void writeString(std::u16string_view text);
  // The size, then the bytes.
  void writeBlock(const void* data, uint32_t size);

  bool broken() const { return broken_; }
  // Refuses every later operation (the owner found the exchange out of step).
  void markBroken() { broken_ = true; }

 private:
  // Throws the broken-pipe error at `place` when the pipe is already broken.
  void checkUsable(const char* place) const;
  [[noreturn]] void failBroken(const char* place);

  int read_ = -1;
  int write_ = -1;
  bool broken_ = true;
};

}  // namespace System
