// pipe32vlo: runs one writer plug-in ("*.vlo") for the program, which cannot load it into
// its own process. The output command hands the plug-in the export; its calls for frames,
// sound, the abort flag and progress become requests to the program, answered over the
// pipe while the command runs.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "media/plugin/pipe_commands.h"
#include "media/plugin/plugin_abi.h"
#include "media/plugin/plugin_formats.h"
#include "plugin_host/helper_session.h"

namespace {

using PluginHost::HelperPipe;

// The most samples the program hands out for one request.
constexpr int32_t kMaxAudioRequest = 1 << 22;

// Bits per pixel of a frame in the DIB form of each pixel format the program makes.
int32_t dibBits(int32_t pixelFormat) {
  switch (pixelFormat) {
    case 87: return 32;
    case 88: return 24;
    case 107: return 16;
    case 10:
    case 11: return 64;
    case 13: return 48;
    default: return 0;
  }
}

// The export that runs: the plug-in's callbacks are plain functions, so they find it here.
struct Export {
  HelperPipe* pipe = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> frame;
  std::vector<int16_t> pcm = std::vector<int16_t>(2, 0);
  std::vector<float> samples;
};
Export* current = nullptr;

// A frame the program rendered, as a DIB of the asked form; zeros when the program could
// not make it, null for a form it does not make.
void* getVideo(int32_t frame, uint32_t format) {
  Export& run = *current;
  const int32_t pixel = Plugin::pixelFormatOfRequest(format);
  if (pixel == 0) return nullptr;
  const int64_t stride = (int64_t{run.width} * dibBits(pixel) + 31) / 32 * 4;
  const int64_t expected = stride * std::max(run.height, 0);
  const int32_t request[] = {static_cast<int32_t>(Plugin::PipeCommand::GetVideo), frame, pixel};
  run.pipe->write(request, sizeof request);
  const auto size = static_cast<uint32_t>(run.pipe->readInt());
  if (size > expected) HelperPipe::lost("a frame larger than its format");
  run.frame.assign(static_cast<std::size_t>(expected), 0);
  run.pipe->read(run.frame.data(), size);
  return run.frame.data();
}

// Interleaved stereo samples: 16-bit as the program sends them, or converted to float.
void* getAudio(int32_t start, int32_t length, int32_t* read, uint32_t format) {
  Export& run = *current;
  *read = 0;
  if ((format != 1 && format != 3) || length <= 0) return run.pcm.data();
  const int32_t request[] = {static_cast<int32_t>(Plugin::PipeCommand::GetAudio), start,
                             std::min(length, kMaxAudioRequest)};
  run.pipe->write(request, sizeof request);
  const int32_t count = run.pipe->readInt();
  const auto size = static_cast<uint32_t>(run.pipe->readInt());
  if (count < 0 || count > request[2] || size != static_cast<uint32_t>(count) * 4)
    HelperPipe::lost("a sound reply unlike its request");
  run.pcm.resize(static_cast<std::size_t>(count) * 2 + 2);
  run.pipe->read(run.pcm.data(), size);
  *read = count;
  if (format == 1) return run.pcm.data();
  run.samples.resize(run.pcm.size());
  for (std::size_t i = 0; i < static_cast<std::size_t>(count) * 2; ++i)
    run.samples[i] = static_cast<float>(run.pcm[i]) / 32768.0f;
  return run.samples.data();
}

bool isAbort() {
  current->pipe->writeInt(static_cast<int32_t>(Plugin::PipeCommand::AbortQuery));
  return current->pipe->readInt() != 0;
}

void reportProgress(int32_t position, int32_t total) {
  const int32_t request[] = {static_cast<int32_t>(Plugin::PipeCommand::Progress), position,
                             total};
  current->pipe->write(request, sizeof request);
}

// The program keeps its own read-ahead for the export.
void setBufferSize(int32_t, int32_t) {}

class WriterSession final : public PluginHost::HelperSession {
 public:
  void load(HelperPipe& pipe, PluginHost::PluginLibrary& library, const std::string& folder,
            std::u16string_view name) override {
    PluginHost::loadTable(pipe, library, folder, name, "VelumoOutputPluginTable", table_);
  }

  PluginHost::ConfigureFunction configure() const override { return table_.fnConfigure; }

  bool serve(HelperPipe& pipe, int32_t command) override {
    if (static_cast<Plugin::PipeCommand>(command) != Plugin::PipeCommand::OutputFile)
      return false;
    output(pipe);
    return true;
  }

 private:
  void output(HelperPipe& pipe) {
    const std::u16string path = pipe.readString();
    int32_t fields[7] = {};
    pipe.read(fields, sizeof fields);
    if (!table_.fnOutput) HelperPipe::lost("no plug-in is loaded");
    Export run;
    run.pipe = &pipe;
    run.width = fields[0];
    run.height = fields[1];
    if (run.width < 0 || run.height < 0 || int64_t{run.width} * run.height > int64_t{8192} * 8192)
      HelperPipe::lost("an export size beyond the limit");

    VelumoOutputJobInfo info;
    std::memset(&info, 0, sizeof info);
    info.flag = 3;
    info.width = fields[0];
    info.height = fields[1];
    info.rate = fields[2];
    info.scale = fields[3];
    info.frameCount = fields[4];
    info.audioRate = fields[5];
    info.audioChannels = 2;
    info.audioSampleCount = fields[6];
    info.savePath = path.c_str();
    info.getVideo = getVideo;
    info.getAudio = getAudio;
    info.isAbort = isAbort;
    info.reportProgress = reportProgress;
    info.setBufferSize = setBufferSize;

    current = &run;
    const bool result = table_.fnOutput(&info);
    current = nullptr;
    const int32_t finished[] = {static_cast<int32_t>(Plugin::PipeCommand::Finished),
                                result ? 1 : 0};
    pipe.write(finished, sizeof finished);
  }

  VelumoOutputTable table_{};
};

}  // namespace

int main(int argc, char** argv) {
  WriterSession session;
  return PluginHost::runHelper(argc, argv, session);
}
