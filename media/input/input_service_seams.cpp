#include "media/input/input_service_seams.h"

#include "gpu/svg/svg_document.h"
#include "media/input/input_file.h"
#include "media/input/input_plugin.h"
#include "media/input/input_service.h"
#include "system/translate_service.h"

namespace Plugin {

std::optional<Effect::MediaInputFile> InputServiceSource::getInputFile(const std::string& path,
                                                                       int mediaKind) const {
  auto file = service_.getInputFile(path, mediaKind);
  if (!file) return std::nullopt;
  const MediaDescription& d = file->description();
  Effect::MediaInputFile info;
  info.hasVideo = d.hasVideo();
  info.hasAudio = d.hasAudio();
  if (info.hasVideo) {
    info.videoFrames = d.frameCount;
    info.rate = d.rate;
    info.scale = d.scale;
    info.width = d.width;
    info.height = d.height;
    info.pixelFormat = d.pixelFormat;
  }
  if (info.hasAudio) {
    info.audioSamples = d.audioSampleCount;
    info.audioRate = d.samplingRate;
    info.channels = d.channels;
    info.sampleFormat = d.audioFormatTag;
    info.bitsPerSample = d.bitsPerSample;
  }
  if (const InputPlugin* owner = file->owner())
    info.pluginName = Translate::translateText(Translate::TranslateService::TextKind::Name,
                                               owner->name());
  return info;
}

bool InputServiceProbe::isMediaExtension(std::string_view extension) const {
  const std::string key(extension);
  return service_.isVideoExtension(key) || service_.isAudioExtension(key);
}

bool InputServiceProbe::checkSvgFile(const std::string& path) const {
  return Media::SvgDocument::checkFile(path);
}

std::optional<Effect::MediaFileInfo> InputServiceProbe::probeMediaFile(
    const std::string& path) const {
  auto file = service_.getMediaFile(path);
  if (!file) return std::nullopt;
  const MediaDescription& d = file->description();
  Effect::MediaFileInfo info;
  info.hasVideo = d.hasVideo();
  info.hasAudio = d.hasAudio();
  if (info.hasVideo) {
    info.videoFrames = d.frameCount;
    info.width = d.width;
    info.height = d.height;
    info.rate = d.rate;
    info.scale = d.scale;
  }
  if (info.hasAudio) info.audioRate = d.samplingRate;
  return info;
}

}  // namespace Plugin
