#include "output/output_pipe32.h"

#include <algorithm>
#include <limits>

#include "media/image/dib_convert.h"
#include "media/input/read_buffers.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin {
namespace OutputPipe32Process {
namespace {

constexpr const char* kHelperProgram = "pipe32vlo";
// Frames the export renders ahead of the one the helper asks for.
constexpr int kReadAhead = 4;

int32_t toInt32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

ControlSection::ControlSection(std::unique_ptr<PipeHelperLink> link)
    : PipeControlSection(std::move(link), "Plugin::OutputPipe32Process::ControlSection") {}

bool ControlSection::processOutputFile(OutputFile& file) {
  try {
    const ExportScene& scene = file.scene();
    const std::u16string path = pipeText(file.path(), "processOutputFile");
    pipe().writeInt(static_cast<int32_t>(PipeCommand::OutputFile));
    pipe().writeString(path);
    // The sample count crosses as its low 32 bits.
    const int32_t fields[] = {scene.width,        scene.height,
                              scene.rate,         scene.scale,
                              file.frameCount(),  scene.audioRate,
                              static_cast<int32_t>(static_cast<uint32_t>(file.sampleCount()))};
    pipe().write(fields, sizeof fields);

    bool fetchFailed = false;
    for (;;) {
      const int32_t request = pipe().readInt();
      switch (static_cast<PipeCommand>(request)) {
        case PipeCommand::Finished:
          return pipe().readInt() != 0 && !fetchFailed;
        case PipeCommand::GetVideo:
          if (!getVideo(file)) fetchFailed = true;
          break;
        case PipeCommand::GetAudio:
          if (!getAudio(file)) fetchFailed = true;
          break;
        case PipeCommand::AbortQuery:
          pipe().writeInt(file.isAborted() || fetchFailed ? 1 : 0);
          break;
        case PipeCommand::Progress: {
          const int32_t position = pipe().readInt();
          const int32_t total = pipe().readInt();
          file.progress().position = static_cast<uint32_t>(std::max(position, 0));
          file.progress().total = static_cast<uint32_t>(std::max(total, 0));
          break;
        }
        default:
          // Its fields are unknown: nothing after it can be read in step.
          pipe().markBroken();
          throw System::makeFormattedException(place("processOutputFile"),
                                               "invalid pipe command.", "%d", request);
      }
    }
  } catch (const std::exception&) {
    System::Log::error("Exception", "output file failed.");
    endIfBroken();
    return false;
  }
}

bool ControlSection::getVideo(OutputFile& file) {
  auto& shared = Media::exportReadBuffers().video;
  std::lock_guard lock(shared.mutex);
  const int32_t frame = pipe().readInt();
  const int32_t format = pipe().readInt();
  try {
    if (format == 0) throw System::makeException(place("getVideo"), "invalid video format.");
    // A format without a DIB form is refused before anything is rendered.
    Media::getBitmapInfoHeader(shared.header, format, file.scene().width, file.scene().height);
    const auto image =
        file.getVideoFrame(toInt32(int64_t{file.startFrame()} + frame), format, true);
    if (!image) throw System::makeException(place("getVideo"), "getVideo() failed.");
    shared.storeImage(*image);
  } catch (const std::exception&) {
    pipe().writeBlock(nullptr, 0);
    return false;
  }
  pipe().writeBlock(shared.data.data(), shared.header.sizeImage);
  return true;
}

bool ControlSection::getAudio(OutputFile& file) {
  auto& shared = Media::exportAudioWriteBuffer();
  std::lock_guard lock(shared.mutex);
  Media::RawAudioBuffer& buffer = shared.buffer;
  const int32_t start = pipe().readInt();
  const int32_t length = pipe().readInt();
  try {
    if (start < 0 || length < 0)
      throw System::makeFormattedException(place("getAudio"), "invalid audio request.",
                                           "start = %d, length = %d", start, length);
    file.getAudioSamples(buffer, file.startSample() + start,
                         static_cast<uint32_t>(std::min(length, kMaxAudioRequest)),
                         kAudioPcm16);
  } catch (const std::exception&) {
    pipe().writeInt(0);
    pipe().writeBlock(nullptr, 0);
    return false;
  }
  const auto bytes = static_cast<uint32_t>(buffer.sampleCount * buffer.blockAlign());
  pipe().writeInt(buffer.sampleCount);
  pipe().writeBlock(buffer.data.data(), bytes);
  return true;
}

}  // namespace OutputPipe32Process

// --- the writer ---------------------------------------------------------------------------

OutputPipe32::OutputPipe32(const std::string& fileName)
    : OutputPipe32(fileName, makeInstalledHelper(OutputPipe32Process::kHelperProgram)) {}

OutputPipe32::OutputPipe32(const std::string& fileName, std::unique_ptr<PipeHelperLink> helper)
    : OutputPipe32(fileName, Loaded::load(fileName, std::move(helper))) {}

OutputPipe32::OutputPipe32(const std::string& fileName, Loaded loaded)
    : OutputPlugin(std::move(loaded.info.name), std::move(loaded.info.filter),
                   std::move(loaded.info.information), loaded.info.kinds),
      fileName_(fileName),
      control_(std::move(loaded.control)) {}

OutputPipe32::~OutputPipe32() {
  std::lock_guard lock(control_->mutex());
  control_->end();
}

std::shared_ptr<OutputFile> OutputPipe32::openFile() {
  const std::string path = chooseSavePath();
  if (path.empty()) return nullptr;
  return std::make_shared<OutputPipe32File>(path, control_);
}

void OutputPipe32::showSetting() {
  if ((kinds() & kWriterSettings) == 0) return;
  std::lock_guard lock(control_->mutex());
  control_->showConfig(nullptr);
}

std::shared_ptr<OutputPlugin> makeOutputPipe32(const std::string& fileName) {
  return std::make_shared<OutputPipe32>(fileName);
}

// --- one export ---------------------------------------------------------------------------

OutputPipe32File::OutputPipe32File(std::string path,
                                   std::shared_ptr<OutputPipe32Process::ControlSection> control)
    : OutputFile(std::move(path), true), control_(std::move(control)) {}

OutputPipe32File::OutputPipe32File(std::string path,
                                   std::shared_ptr<OutputPipe32Process::ControlSection> control,
                                   const ExportScene& scene,
                                   std::shared_ptr<ExportSource> source, ExportCaches& caches)
    : OutputFile(std::move(path), true, scene, std::move(source), caches),
      control_(std::move(control)) {}

bool OutputPipe32File::save() {
  setVideoBufferSize(OutputPipe32Process::kReadAhead);
  setAudioBufferSize(OutputPipe32Process::kReadAhead);
  std::lock_guard lock(control_->mutex());
  return control_->processOutputFile(*this);
}

}  // namespace Plugin
