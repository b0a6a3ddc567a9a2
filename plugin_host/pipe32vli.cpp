// pipe32vli: runs one reader plug-in ("*.vli") for the program, which cannot load it into
// its own process, and serves the reader commands of the pipe protocol: open, close, read a
// frame, read a second of sound.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

#include "media/plugin/pipe_commands.h"
#include "media/plugin/plugin_abi.h"
#include "media/plugin/plugin_formats.h"
#include "plugin_host/helper_session.h"

namespace {

using PluginHost::HelperPipe;

// The largest frame or sound block the program may ask for: a 8192 x 8192 frame of 8 bytes
// a pixel.
constexpr int64_t kMaxBlockBytes = int64_t{8192} * 8192 * 8;

struct OpenFile {
  void* handle = nullptr;
  int32_t blockAlign = 0;  // bytes of one sample frame of its sound
};

class ReaderSession final : public PluginHost::HelperSession {
 public:
  void load(HelperPipe& pipe, PluginHost::PluginLibrary& library, const std::string& folder,
            std::u16string_view name) override {
    PluginHost::loadTable(pipe, library, folder, name, "VelumoInputPluginTable", table_);
  }

  PluginHost::ConfigureFunction configure() const override { return table_.fnConfigure; }

  bool serve(HelperPipe& pipe, int32_t command) override {
    switch (static_cast<Plugin::PipeCommand>(command)) {
      case Plugin::PipeCommand::OpenFile: openFile(pipe); return true;
      case Plugin::PipeCommand::CloseFile: closeFile(pipe.readInt()); return true;
      case Plugin::PipeCommand::ReadVideo: readVideo(pipe); return true;
      case Plugin::PipeCommand::ReadAudio: readAudio(pipe); return true;
      default: return false;
    }
  }

  void finish() override {
    while (!files_.empty()) closeFile(files_.begin()->first);
  }

 private:
  void requireLoaded() const {
    if (!table_.fnOpen) HelperPipe::lost("no plug-in is loaded");
  }

  // Opens and describes the file; 0 (and the plug-in's handle closed) when the plug-in
  // cannot, or describes it in a form the program does not take.
  void openFile(HelperPipe& pipe) {
    const std::u16string path = pipe.readString();
    requireLoaded();
    void* handle = table_.fnOpen(path.c_str());
    if (!handle) {
      pipe.writeInt(0);
      return;
    }
    VelumoInputMediaInfo info;
    std::memset(&info, 0, sizeof info);
    int32_t reply[6] = {};
    int32_t kinds = 0;
    int64_t sampleCount = 0;
    int32_t audio[4] = {};
    bool usable = table_.fnGetInfo && table_.fnGetInfo(handle, &info);
    if (usable && (info.flag & 1)) {
      const VelumoBitmapInfoHeader* format = info.videoFormat;
      const int32_t pixel =
          format ? Plugin::pixelFormatOfDib(format->compression, format->bitCount) : 0;
      usable = pixel != 0 && table_.fnReadVideo;
      if (usable) {
        kinds |= Plugin::kPipeKindVideo;
        const int32_t fields[6] = {info.frameCount, pixel,     format->width,
                                   format->height,  info.rate, info.scale};
        std::memcpy(reply, fields, sizeof reply);
      }
    }
    int32_t blockAlign = 0;
    if (usable && (info.flag & 2)) {
      const VelumoWaveFormat* format = info.audioFormat;
      usable = format && (format->formatTag == 1 || format->formatTag == 3) &&
               table_.fnReadAudio;
      if (usable) {
        kinds |= Plugin::kPipeKindAudio;
        sampleCount = info.audioSampleCount;
        audio[0] = format->formatTag;
        audio[1] = format->bitsPerSample;
        audio[2] = format->channels;
        audio[3] = static_cast<int32_t>(format->samplesPerSec);
        blockAlign = format->channels * (format->bitsPerSample / 8);
      }
    }
    if (!usable) {
      if (table_.fnClose) table_.fnClose(handle);
      pipe.writeInt(0);
      return;
    }
    const int32_t id = nextId();
    files_[id] = {handle, blockAlign};
    pipe.writeInt(id);
    pipe.writeInt(kinds);
    if (kinds & Plugin::kPipeKindVideo) pipe.write(reply, sizeof reply);
    if (kinds & Plugin::kPipeKindAudio) {
      pipe.write(&sampleCount, sizeof sampleCount);
      pipe.write(audio, sizeof audio);
    }
  }

  void closeFile(int32_t id) {
    const auto found = files_.find(id);
    if (found == files_.end()) return;
    if (table_.fnClose) table_.fnClose(found->second.handle);
    files_.erase(found);
  }

  // The block of the program's buffer size, zeroed first so that what the plug-in does not
  // write is black.
  void readVideo(HelperPipe& pipe) {
    const int32_t id = pipe.readInt();
    const int32_t frame = pipe.readInt();
    const uint32_t size = checkedSize(pipe.readInt());
    const auto found = files_.find(id);
    if (found == files_.end()) {
      pipe.writeBlock(nullptr, 0);
      return;
    }
    buffer_.assign(size, 0);
    table_.fnReadVideo(found->second.handle, frame, buffer_.data());
    pipe.writeBlock(buffer_.data(), size);
  }

  // The samples the plug-in wrote, at most the program's buffer size.
  void readAudio(HelperPipe& pipe) {
    const int32_t id = pipe.readInt();
    const int32_t start = pipe.readInt();
    const int32_t length = pipe.readInt();
    const uint32_t size = checkedSize(pipe.readInt());
    const auto found = files_.find(id);
    if (found == files_.end() || length <= 0 || found->second.blockAlign <= 0) {
      pipe.writeBlock(nullptr, 0);
      return;
    }
    const int64_t align = found->second.blockAlign;
    // Room for all the plug-in may write, whatever the program's size says.
    const int64_t room = int64_t{length} * align;
    if (room > kMaxBlockBytes) HelperPipe::lost("a sound block beyond the limit");
    buffer_.assign(static_cast<std::size_t>(std::max<int64_t>(room, size)), 0);
    const int32_t written =
        table_.fnReadAudio(found->second.handle, start, length, buffer_.data());
    const int64_t samples = std::min<int64_t>(std::max(written, 0), length);
    const auto bytes = static_cast<uint32_t>(std::min<int64_t>(samples * align, size));
    pipe.writeBlock(buffer_.data(), bytes);
  }

  static uint32_t checkedSize(int32_t size) {
    if (size < 0 || size > kMaxBlockBytes) HelperPipe::lost("a buffer size beyond the limit");
    return static_cast<uint32_t>(size);
  }

  int32_t nextId() {
    do {
      ++lastId_;
      if (lastId_ <= 0) lastId_ = 1;
    } while (files_.count(lastId_) != 0);
    return lastId_;
  }

  VelumoInputTable table_{};
  std::map<int32_t, OpenFile> files_;
  int32_t lastId_ = 0;
  std::vector<uint8_t> buffer_;
};

}  // namespace

int main(int argc, char** argv) {
  ReaderSession session;
  return PluginHost::runHelper(argc, argv, session);
}
