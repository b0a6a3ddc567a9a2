#include "media/plugin/external_media_info.h"

#include "media/plugin/plugin_formats.h"
#include "system/format.h"

namespace Plugin {
namespace {

bool describeVideo(const ReportedMedia& report, MediaDescription& description,
                   std::string& reason) {
  const VelumoInputMediaInfo& info = report.info;
  if (!report.video) {
    reason = "no video format.";
    return false;
  }
  const VelumoBitmapInfoHeader& header = *report.video;
  if (info.rate <= 0 || info.scale <= 0 || info.frameCount < 0) {
    reason = System::formatString(
        "invalid video rate or length. [rate = %d, scale = %d, frames = %d]", info.rate,
        info.scale, info.frameCount);
    return false;
  }
  const int32_t format = pixelFormatOfDib(header.compression, header.bitCount);
  if (format == 0) {
    reason = System::formatString("unsupported video format. [compression = 0x%08X, bits = %u]",
                                  header.compression, static_cast<unsigned>(header.bitCount));
    return false;
  }
  if (header.width <= 0 || header.height <= 0 || header.width > kMaxPluginFrameSide ||
      header.height > kMaxPluginFrameSide ||
      int64_t{header.width} * header.height > kMaxPluginFramePixels) {
    reason = System::formatString("invalid video size. [%d x %d]", header.width, header.height);
    return false;
  }
  description.kinds |= kKindVideo;
  description.frameCount = info.frameCount;
  description.rate = info.rate;
  description.scale = info.scale;
  description.width = header.width;
  description.height = header.height;
  description.pixelFormat = format;
  return true;
}

bool describeAudio(const ReportedMedia& report, MediaDescription& description,
                   std::string& reason) {
  if (!report.audio) {
    reason = "no audio format.";
    return false;
  }
  const VelumoWaveFormat& wave = *report.audio;
  const int32_t tag = wave.formatTag;
  const int32_t bits = wave.bitsPerSample;
  const int32_t channels = wave.channels;
  // The forms the program's audio conversion takes.
  const bool pcmStereo = tag == kAudioTagPcm && bits == 16 && channels == 2;
  const bool floatMonoOrStereo =
      tag == kAudioTagFloat && bits == 32 && (channels == 1 || channels == 2);
  const bool convertible = pcmStereo || floatMonoOrStereo;
  if (!convertible) {
    reason = System::formatString(
        "unsupported audio format. [tag = %d, bits = %d, channels = %d]", tag, bits, channels);
    return false;
  }
  const uint32_t rate = wave.samplesPerSec;
  if (rate == 0 || rate > static_cast<uint32_t>(kMaxPluginSamplingRate) ||
      report.info.audioSampleCount < 0) {
    reason = System::formatString("invalid audio rate or length. [rate = %u, samples = %d]", rate,
                                  report.info.audioSampleCount);
    return false;
  }
  description.kinds |= kKindAudio;
  description.audioSampleCount = report.info.audioSampleCount;
  description.audioFormatTag = tag;
  description.bitsPerSample = bits;
  description.channels = channels;
  description.samplingRate = static_cast<int32_t>(rate);
  return true;
}

}  // namespace

std::optional<MediaDescription> describeReportedMedia(const ReportedMedia& report,
                                                      std::string& reason) {
  MediaDescription description;
  if ((report.info.flag & kKindVideo) && !describeVideo(report, description, reason))
    return std::nullopt;
  if ((report.info.flag & kKindAudio) && !describeAudio(report, description, reason))
    return std::nullopt;
  return description;
}

}  // namespace Plugin
