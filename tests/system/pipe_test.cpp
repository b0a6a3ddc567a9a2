// The protocol items of the pipe to a helper program: their bytes, and what a failure leaves
// behind (a broken pipe refuses everything after it).
#include "system/pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "exception_text.h"
#include "system/descriptor.h"

namespace {

using System::Pipe;
using TestSupport::whatOf;

const std::string kBrokenPipe = "The pipe has been ended.";

// One pipe looped back: what the Pipe writes, it reads again.
struct Loop {
  System::UniqueDescriptor readEnd;
  System::UniqueDescriptor writeEnd;
  Loop() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) std::abort();
    readEnd.reset(ends[0]);
    writeEnd.reset(ends[1]);
  }
  Pipe pipe() const { return Pipe(readEnd.get(), writeEnd.get()); }
  void put(const std::vector<uint8_t>& bytes) const {
    ASSERT_EQ(::write(writeEnd.get(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
  }
  std::vector<uint8_t> take(std::size_t size) const {
    std::vector<uint8_t> bytes(size);
    EXPECT_EQ(::read(readEnd.get(), bytes.data(), size), static_cast<ssize_t>(size));
    return bytes;
  }
};

std::vector<uint8_t> le32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

void expectBrokenAt(const std::string& text, const std::string& place) {
  EXPECT_EQ(text, kBrokenPipe + "\n\n[Place]\n" + place + "()");
}

TEST(PipeTest, ItemsAreLittleEndianWithCountsAndSizesFirst) {
  Loop loop;
  Pipe pipe = loop.pipe();
  pipe.writeInt(0x01020304);
  EXPECT_EQ(loop.take(4), (std::vector<uint8_t>{4, 3, 2, 1}));
  pipe.writeString(u"A\u3042");
  EXPECT_EQ(loop.take(8), (std::vector<uint8_t>{2, 0, 0, 0, 'A', 0, 0x42, 0x30}));
  const uint8_t data[] = {9, 8, 7};
  pipe.writeBlock(data, 3);
  EXPECT_EQ(loop.take(7), (std::vector<uint8_t>{3, 0, 0, 0, 9, 8, 7}));

  loop.put({0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0, 0x80});
  EXPECT_EQ(pipe.readInt(), -2);
  EXPECT_EQ(pipe.readInt64(), static_cast<int64_t>(0x8000000000000001ull));
  pipe.writeString(u"\u00e9t\u00e9");
  std::u16string text;
  pipe.readString(text);
  EXPECT_EQ(text, u"\u00e9t\u00e9");
  pipe.writeBlock(data, 3);
  uint8_t received[3] = {};
  EXPECT_EQ(pipe.readBlock(received, 3), 3u);
  EXPECT_EQ(std::memcmp(received, data, 3), 0);
  EXPECT_FALSE(pipe.broken());
}

TEST(PipeTest, ReadersRefuseWhatCannotBelongToTheExchange) {
  std::vector<uint8_t> longString = le32(4097);
  std::vector<uint8_t> negativeCount = le32(0xFFFFFFFF);
  std::vector<uint8_t> bigBlock = le32(17);
  bigBlock.resize(bigBlock.size() + 17);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    std::function<void(Pipe&)> read;
    const char* place;
  };
  uint8_t buffer[16];
  std::u16string text;
  const Case cases[] = {
      {"string of 4097 units", longString, [&](Pipe& p) { p.readString(text); },
       "System::Pipe::readString"},
      {"string count -1", negativeCount, [&](Pipe& p) { p.readString(text); },
       "System::Pipe::readString"},
      {"block beyond the buffer", bigBlock, [&](Pipe& p) { p.readBlock(buffer, 16); },
       "System::Pipe::readBlock"},
      {"block size -1", negativeCount, [&](Pipe& p) { p.readBlock(buffer, 16); },
       "System::Pipe::readBlock"},
      {"int cut short", {1, 2}, [](Pipe& p) { p.readInt(); }, "System::Pipe::read"},
      {"string cut short", {2, 0, 0, 0, 'a', 0}, [&](Pipe& p) { p.readString(text); },
       "System::Pipe::read"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Loop loop;
    Pipe pipe = loop.pipe();
    loop.put(c.bytes);
    loop.writeEnd.reset();  // the end of the stream after the bytes
    expectBrokenAt(whatOf([&] { c.read(pipe); }), c.place);
    EXPECT_TRUE(pipe.broken());
    // Whatever is still in the pipe is not read as the next item.
    expectBrokenAt(whatOf([&] { pipe.readInt(); }), "System::Pipe::read");
  }
}

TEST(PipeTest, TheLongestStringIsTaken) {
  Loop loop;
  Pipe pipe = loop.pipe();
  const std::u16string longest(4096, u'z');
  pipe.writeString(longest);
  std::u16string text;
  pipe.readString(text);
  EXPECT_EQ(text, longest);
}

TEST(PipeTest, WritingToAReaderThatWentFailsWithoutEndingTheProgram) {
  Loop loop;
  Pipe pipe = loop.pipe();
  loop.readEnd.reset();
  const std::string text = whatOf([&] { pipe.writeInt(1); });
  EXPECT_NE(text.find("write() failed."), std::string::npos) << text;
  EXPECT_NE(text.find("Broken pipe"), std::string::npos) << text;
  EXPECT_NE(text.find("[Place]\nSystem::Pipe::write()"), std::string::npos) << text;
  EXPECT_TRUE(pipe.broken());
}

TEST(PipeTest, APipeWithoutDescriptorsRefusesEverything) {
  Pipe pipe;
  EXPECT_TRUE(pipe.broken());
  expectBrokenAt(whatOf([&] { pipe.readInt(); }), "System::Pipe::read");
  expectBrokenAt(whatOf([&] { pipe.writeInt(0); }), "System::Pipe::write");
}

TEST(PipeTest, AMarkedPipeRefusesEvenWhatIsThere) {
  Loop loop;
  Pipe pipe = loop.pipe();
  loop.put(le32(5));
  pipe.markBroken();
  expectBrokenAt(whatOf([&] { pipe.readInt(); }), "System::Pipe::read");
}

}  // namespace
