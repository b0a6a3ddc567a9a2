// Feeds arbitrary bytes to the readers of the plug-in helpers' replies, as if a helper had
// sent them: the load reply, and the open reply followed by a frame block. A reply either
// fails with an exception, or gives a plug-in or a file description whose every value lies
// within what the program can hold, and a block never larger than the buffer it was read
// into. No input may crash, hang or make a reader allocate without bound.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <exception>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "media/plugin/pipe_protocol.h"
#include "system/descriptor.h"
#include "system/pipe.h"

namespace {

using FuzzSupport::fail;

// The helper's output as a memory file: read() gives the bytes, then the end of the stream,
// as a pipe whose writer has gone would.
class ReplyFile {
 public:
  ReplyFile() : folder_("velumo-pipe-fuzz"), file_(::memfd_create("pipe-reply", MFD_CLOEXEC)),
                sink_(::open("/dev/null", O_WRONLY | O_CLOEXEC)) {
    if (!file_ || !sink_) fail("no memory file");
  }
  // A pipe that reads `data` from its start (writes go to a sink no reader uses).
  System::Pipe pipe(const uint8_t* data, size_t size) {
    if (::ftruncate(file_.get(), 0) != 0 || ::pwrite(file_.get(), data, size, 0) !=
                                                static_cast<ssize_t>(size) ||
        ::lseek(file_.get(), 0, SEEK_SET) != 0)
      fail("memory file write");
    return System::Pipe(file_.get(), sink_.get());
  }

 private:
  FuzzSupport::ProgramFolder folder_;
  System::UniqueDescriptor file_;
  System::UniqueDescriptor sink_;
};

void checkLoad(const Plugin::PipePluginInfo& info) {
  if ((info.kinds & ~7) != 0) fail("unknown kind bits kept");
  // Each string holds at most 4096 units, at most 3 UTF-8 bytes each.
  if (info.name.size() > 3 * 4096 || info.information.size() > 3 * 4096) fail("long text");
  if (info.filter.size() > 2048) fail("more filter entries than the string can hold");
}

void checkUsable(const Plugin::MediaDescription& d) {
  if (d.hasVideo()) {
    if (d.frameCount <= 0 || d.width <= 0 || d.height <= 0 || d.rate <= 0 || d.scale <= 0)
      fail("video without frames, size or rate");
    if (Plugin::videoBlockBytes(d) > uint64_t{8192} * 8192 * 8) fail("frame beyond the limit");
  }
  if (d.hasAudio()) {
    if (d.audioSampleCount < 0 || d.samplingRate <= 0) fail("audio without samples or rate");
    if (Plugin::audioBlockBytes(d) > 2u * 4u * 768000u) fail("second beyond the limit");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ReplyFile replies;
  try {
    System::Pipe pipe = replies.pipe(data, size);
    checkLoad(Plugin::readLoadReply(pipe));
  } catch (const std::exception&) {
  }

  try {
    System::Pipe pipe = replies.pipe(data, size);
    const Plugin::PipeOpenReply reply = Plugin::readOpenReply(pipe);
    if (reply.handle != 0 && !Plugin::checkDescription(reply.description)) {
      checkUsable(reply.description);
      const Plugin::MediaDescription& d = reply.description;
      // The frame block that would follow, into a buffer of exactly the announced size.
      if (d.hasVideo()) {
        std::vector<uint8_t> frame(Plugin::videoBlockBytes(d));
        const uint32_t got = pipe.readBlock(frame.data(), static_cast<uint32_t>(frame.size()));
        if (got > frame.size()) fail("block larger than its buffer");
      }
    }
  } catch (const std::exception&) {
  }
  return 0;
}
