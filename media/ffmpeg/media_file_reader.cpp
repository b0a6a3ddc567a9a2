#include "media/ffmpeg/media_file_reader.h"

#include "gpu/image/image_buffer.h"
#include "media/audio/audio_buffer.h"
#include "media/ffmpeg/media_source_reader.h"

namespace Plugin {

MediaFileReader::MediaFileReader()
    : InputPlugin("Media Foundation file reader",
                  {{"Mp4File (*.mp4)", "*.mp4"},
                   {"MpgFile (*.mpg)", "*.mpg"},
                   {"WavFile (*.wav)", "*.wav"},
                   {"Mp3File (*.mp3)", "*.mp3"}},
                  "", kReaderVideo | kReaderAudio) {}

std::shared_ptr<InputFile> MediaFileReader::openFile(const std::string& path) {
  auto file = std::make_shared<InputMediaFile>();
  if (!file->open(path)) return {};
  return file;
}

MediaFileReader::InputMediaFile::InputMediaFile() = default;
MediaFileReader::InputMediaFile::~InputMediaFile() = default;

bool MediaFileReader::InputMediaFile::open(const std::string& path) {
  auto reader = std::make_unique<Media::MediaSourceReader>();
  if (!reader->open(path)) return false;
  if (reader->hasVideo() && reader->selectVideoStream()) {
    const auto& info = reader->videoInfo();
    description_.kinds |= kKindVideo;
    description_.frameCount = info.frameCount;
    description_.rate = info.rate;
    description_.scale = info.scale;
    description_.pixelFormat = info.pixelFormat;
    description_.width = info.width;
    description_.height = info.height;
    video_ = std::move(reader);
    // Audio decodes through a demuxer of its own, so that both can read at once.
    reader = std::make_unique<Media::MediaSourceReader>();
    if (!reader->open(path)) return false;
  }
  if (reader->hasAudio() && reader->selectAudioStream()) {
    const auto& info = reader->audioInfo();
    description_.kinds |= kKindAudio;
    description_.audioSampleCount = info.sampleCount;
    description_.audioFormatTag = info.formatTag;
    description_.bitsPerSample = info.bitsPerSample;
    description_.channels = info.channels;
    description_.samplingRate = info.samplingRate;
    audio_ = std::move(reader);
  }
  return true;
}

std::shared_ptr<Media::ImageBuffer> MediaFileReader::InputMediaFile::readVideo(int32_t frame) {
  return video_ ? video_->readVideo(frame) : nullptr;
}

std::shared_ptr<Media::AudioBlockBuffer> MediaFileReader::InputMediaFile::readAudio(
    int32_t block) {
  return audio_ ? audio_->readAudio(block) : nullptr;
}

}  // namespace Plugin
