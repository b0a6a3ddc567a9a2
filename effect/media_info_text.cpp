#include "effect/media_info_text.h"

#include "system/text.h"

namespace Effect {

const char* pixelFormatName(int code) {
  switch (code) {
    case 87: return "RGB32bit";
    case 88: return "RGB24bit";
    case 107: return "YUY2";
    case 13: return "YCC6";
    case 11: return "RGBA64bit(RU64)";
    case 10: return "RGBA64bit(RF64)";
    default: return "";
  }
}

const char* sampleFormatName(int code) {
  switch (code) {
    case 1: return "PCM";
    case 3: return "PCM(float)";
    default: return "";
  }
}

std::string mediaInfoText(const std::string& path, double lengthSeconds,
                          const MediaInputFile& file) {
  // Built by concatenation: a path may hold '%', and the numbers are written the same in
  // every locale.
  std::string text = path + "\nTotalTime: " + System::formatTimeSeconds(lengthSeconds) + "\n";
  if (file.hasVideo) {
    const double fps =
        file.scale > 0 ? static_cast<double>(file.rate) / static_cast<double>(file.scale) : 0.0;
    text += "Video: " + std::to_string(file.width) + " x " + std::to_string(file.height) +
            " / " + System::formatNumber(fps) + "fps / " + pixelFormatName(file.pixelFormat) +
            "\n";
  }
  if (file.hasAudio) {
    text += "Audio: " + System::formatNumber(file.audioRate / 1000.0) + "khz / " +
            std::to_string(file.channels) + "ch / " + sampleFormatName(file.sampleFormat) +
            std::to_string(file.bitsPerSample) + "bit\n";
  }
  return text + "Plugin: " + file.pluginName;
}

}  // namespace Effect
