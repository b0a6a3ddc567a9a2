#include "media/plugin/input_pipe32.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/image/dib_convert.h"
#include "media/input/read_buffers.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin {
namespace InputPipe32Process {
namespace {

constexpr const char* kHelperProgram = "pipe32vli";
constexpr const char* kLogPlace = "Exception";

}  // namespace

ControlSection::ControlSection(std::unique_ptr<PipeHelperLink> link)
    : PipeControlSection(std::move(link), "Plugin::InputPipe32Process::ControlSection") {}

int32_t ControlSection::openFile(const std::string& path, MediaDescription& description) {
  try {
    const std::u16string units = pipeText(path, "openFile");
    pipe().writeInt(static_cast<int32_t>(PipeCommand::OpenFile));
    pipe().writeString(units);
    const PipeOpenReply reply = readOpenReply(pipe());
    if (reply.handle == 0) return 0;
    if (const auto problem = checkDescription(reply.description)) {
      // The helper holds the file open until it is told otherwise.
      pipe().writeInt(static_cast<int32_t>(PipeCommand::CloseFile));
      pipe().writeInt(reply.handle);
      throw System::makeException(place("openFile"), "invalid media description.", *problem);
    }
    description = reply.description;
    return reply.handle;
  } catch (const std::exception&) {
    System::Log::error(kLogPlace, "file load failed.");
    endIfBroken();
    return 0;
  }
}

void ControlSection::closeFile(int32_t handle) {
  // The helper is gone with all its files.
  if (ended()) return;
  try {
    pipe().writeInt(static_cast<int32_t>(PipeCommand::CloseFile));
    pipe().writeInt(handle);
  } catch (const std::exception&) {
    System::Log::error(kLogPlace, "file close failed.");
    endIfBroken();
  }
}

std::shared_ptr<Media::ImageBuffer> ControlSection::readVideo(
    int32_t handle, int32_t frame, const MediaDescription& description) {
  try {
    auto& shared = Media::inputReadBuffers().video;
    std::lock_guard lock(shared.mutex);
    Media::getBitmapInfoHeader(shared.header, description.pixelFormat, description.width,
                               description.height);
    const uint32_t size = shared.header.sizeImage;
    shared.data.allocMemory(size);
    const int32_t command[] = {static_cast<int32_t>(PipeCommand::ReadVideo), handle, frame,
                               static_cast<int32_t>(size)};
    pipe().write(command, sizeof command);
    const uint32_t received = pipe().readBlock(shared.data.data(), size);
    // The whole buffer is converted: a short frame must not show an earlier one's bytes.
    std::memset(shared.data.data() + received, 0, size - received);
    auto image = Media::ImageBuffer::makeShared(description.pixelFormat,
                                                static_cast<uint32_t>(description.width),
                                                static_cast<uint32_t>(description.height));
    Media::copyFromDib(*image, shared.header, shared.data.data(), size);
    return image;
  } catch (const std::exception&) {
    System::Log::error(kLogPlace, "read video failed.");
    endIfBroken();
    return {};
  }
}

std::shared_ptr<Media::AudioBlockBuffer> ControlSection::readAudio(
    int32_t handle, int32_t block, const MediaDescription& description) {
  try {
    auto& shared = Media::inputReadBuffers().audio;
    std::lock_guard lock(shared.mutex);
    Media::RawAudioBlockBuffer& raw = shared.block;
    raw.formatTag = description.audioFormatTag;
    raw.samplingRate = description.samplingRate;
    raw.bitsPerSample = description.bitsPerSample;
    raw.channels = description.channels;
    // Zeroed: what the helper does not send is silence, never an earlier block.
    raw.allocateSecond();
    const int64_t start = int64_t{block} * description.samplingRate;
    if (start <= std::numeric_limits<int32_t>::max()) {
      const uint32_t size = audioBlockBytes(description);
      const int32_t command[] = {static_cast<int32_t>(PipeCommand::ReadAudio), handle,
                                 static_cast<int32_t>(start), description.samplingRate,
                                 static_cast<int32_t>(size)};
      pipe().write(command, sizeof command);
      pipe().readBlock(raw.data.data(), size);
    }
    return std::make_shared<Media::AudioBlockBuffer>(raw);
  } catch (const std::exception&) {
    System::Log::error(kLogPlace, "read audio failed.");
    endIfBroken();
    return {};
  }
}

}  // namespace InputPipe32Process

// --- the reader ---------------------------------------------------------------------------

InputPipe32::InputPipe32(const std::string& fileName)
    : InputPipe32(fileName, makeInstalledHelper(InputPipe32Process::kHelperProgram)) {}

InputPipe32::InputPipe32(const std::string& fileName, std::unique_ptr<PipeHelperLink> helper)
    : InputPipe32(fileName, Loaded::load(fileName, std::move(helper))) {}

InputPipe32::InputPipe32(const std::string& fileName, Loaded loaded)
    : InputPlugin(std::move(loaded.info.name), std::move(loaded.info.filter),
                  std::move(loaded.info.information), loaded.info.kinds),
      fileName_(fileName),
      control_(std::move(loaded.control)) {}

InputPipe32::~InputPipe32() {
  std::lock_guard lock(control_->mutex());
  control_->end();
}

std::shared_ptr<InputFile> InputPipe32::openFile(const std::string& path) {
  MediaDescription description;
  int32_t handle = 0;
  {
    std::lock_guard lock(control_->mutex());
    handle = control_->openFile(path, description);
  }
  if (handle == 0) return nullptr;
  return std::make_shared<InputPipe32File>(control_, handle, description);
}

void InputPipe32::showSetting(void* ownerWindow) {
  if ((kinds() & kReaderSettings) == 0) return;
  std::lock_guard lock(control_->mutex());
  control_->showConfig(ownerWindow);
}

// --- one file -----------------------------------------------------------------------------

InputPipe32::InputPipe32File::InputPipe32File(
    std::shared_ptr<InputPipe32Process::ControlSection> control, int32_t handle,
    const MediaDescription& description)
    : control_(std::move(control)), handle_(handle) {
  description_ = description;
}

InputPipe32::InputPipe32File::~InputPipe32File() {
  std::lock_guard lock(control_->mutex());
  control_->closeFile(handle_);
}

std::shared_ptr<Media::ImageBuffer> InputPipe32::InputPipe32File::readVideo(int32_t frame) {
  if (!description_.hasVideo()) return {};
  const int32_t target = std::clamp(frame, 0, description_.frameCount - 1);
  std::lock_guard lock(control_->mutex());
  return control_->readVideo(handle_, target, description_);
}

std::shared_ptr<Media::AudioBlockBuffer> InputPipe32::InputPipe32File::readAudio(int32_t block) {
  if (!description_.hasAudio()) return {};
  std::lock_guard lock(control_->mutex());
  return control_->readAudio(handle_, std::max(block, 0), description_);
}

}  // namespace Plugin
