#include "output/external_output_callbacks.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

#include "media/image/dib_convert.h"
#include "media/input/read_buffers.h"
#include "media/plugin/plugin_call.h"
#include "media/plugin/plugin_formats.h"
#include "system/exception.h"
#include "system/log.h"

namespace Plugin::ExternalOutputCallbacks {
namespace {

constexpr const char* kGetVideoPlace = "Plugin::ExternalOutputFile::getVideo";
constexpr const char* kGetAudioPlace = "Plugin::ExternalOutputFile::getAudio";

// The export the callbacks serve. A plug-in may call from threads of its own, so it is read
// atomically; it is null outside a save.
std::atomic<OutputFile*> gCurrent{nullptr};

int clampToInt(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

// The frame's DIB in the video write buffer, or zeros when it cannot be had.
void fillFrame(OutputFile& file, int32_t frame, int32_t pixelFormat,
               Media::VideoReadBuffer& shared) {
  try {
    const auto image =
        file.getVideoFrame(clampToInt(int64_t{file.startFrame()} + frame), pixelFormat, true);
    if (!image) throw System::makeException(kGetVideoPlace, "getVideo() failed.");
    Media::copyToDib(*image, shared.header, shared.data.data(), shared.data.size());
  } catch (const std::exception&) {
    // Already in the log.
    if (shared.data.size() > 0) std::memset(shared.data.data(), 0, shared.data.size());
  }
}

void* getVideo(int32_t frame, uint32_t format) {
  PluginCallbackScope scope;
  try {
    OutputFile* file = gCurrent.load();
    if (!file) return nullptr;
    auto& shared = Media::exportReadBuffers().video;
    std::lock_guard lock(shared.mutex);
    // A code outside the table throws "image format not supported." here: without a frame
    // layout there is no buffer to fill, and the plug-in gets a null frame.
    Media::getBitmapInfoHeader(shared.header, pixelFormatOfRequest(format), file->scene().width,
                               file->scene().height);
    shared.data.allocMemory(shared.header.sizeImage);
    fillFrame(*file, frame, pixelFormatOfRequest(format), shared);
    return shared.data.data();
  } catch (...) {
    return nullptr;
  }
}

void* getAudio(int32_t start, int32_t length, int32_t* read, uint32_t format) {
  PluginCallbackScope scope;
  int32_t count = 0;
  void* data = nullptr;
  try {
    auto& shared = Media::exportAudioWriteBuffer();
    std::lock_guard lock(shared.mutex);
    Media::RawAudioBuffer& buffer = shared.buffer;
    // Never a null address, even for no samples.
    buffer.data.allocMemory(System::AlignedBuffer::kAlignment);
    try {
      OutputFile* file = gCurrent.load();
      if (!file) throw System::makeException(kGetAudioPlace, "no output file.");
      if (format != static_cast<uint32_t>(kAudioPcm16) &&
          format != static_cast<uint32_t>(kAudioFloat32))
        throw System::makeFormattedException(kGetAudioPlace, "invalid video format.",
                                             "format = %u", format);
      // Nothing lies before the scene's first sample.
      const int64_t first = file->startSample() + start;
      if (first < 0)
        throw System::makeFormattedException(kGetAudioPlace, "getAudio() failed.",
                                             "start = %d", start);
      const auto wanted = static_cast<uint32_t>(std::clamp(length, 0, kMaxAudioRequest));
      file->getAudioSamples(buffer, first, wanted, static_cast<int32_t>(format));
    } catch (const std::exception&) {
      // Already in the log.
      buffer.sampleCount = 0;
      buffer.data.allocMemory(0);
    }
    count = buffer.sampleCount;
    data = buffer.data.data();
  } catch (...) {
    count = 0;
    data = nullptr;
  }
  if (read) *read = count;
  return data;
}

bool isAbort() {
  PluginCallbackScope scope;
  OutputFile* file = gCurrent.load();
  return !file || file->isAborted();
}

void reportProgress(int32_t position, int32_t total) {
  PluginCallbackScope scope;
  OutputFile* file = gCurrent.load();
  if (!file) return;
  file->progress().position = static_cast<uint32_t>(std::max(position, 0));
  file->progress().total = static_cast<uint32_t>(std::max(total, 0));
}

void setBufferSize(int32_t videoDepth, int32_t audioDepth) {
  PluginCallbackScope scope;
  OutputFile* file = gCurrent.load();
  if (!file) return;
  try {
    file->setVideoBufferSize(videoDepth);
    file->setAudioBufferSize(audioDepth);
  } catch (...) {
    // The depths stay as they were.
  }
}

}  // namespace

CurrentOutput::CurrentOutput(OutputFile& file) : file_(file) {
  OutputFile* expected = nullptr;
  if (!gCurrent.compare_exchange_strong(expected, &file))
    throw System::makeException("Plugin::ExternalOutputFile::save", "output plugin is busy.");
}

CurrentOutput::~CurrentOutput() {
  OutputFile* expected = &file_;
  gCurrent.compare_exchange_strong(expected, nullptr);
}

void setCallbacks(VelumoOutputJobInfo& info) {
  info.getVideo = getVideo;
  info.getAudio = getAudio;
  info.isAbort = isAbort;
  info.reportProgress = reportProgress;
  info.setBufferSize = setBufferSize;
}

}  // namespace Plugin::ExternalOutputCallbacks
