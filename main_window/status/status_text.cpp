#include "main_window/status/status_text.h"

#include "edit/frame_rate.h"
#include "system/text.h"

namespace Component::StatusText {

std::string bounded(std::string text) {
  if (text.size() > kMaxVariableLength) text.resize(kMaxVariableLength);
  return text;
}

std::string_view fileNameOf(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string projectNameOf(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  return std::string(name.substr(0, name.rfind('.')));
}

std::string windowTitleOf(std::string_view path) {
  const std::string_view name = fileNameOf(path);
  return name.empty() ? std::string(kDefaultTitle) : std::string(name);
}

std::string resolutionText(int32_t width, int32_t height) {
  return bounded(std::to_string(width) + "x" + std::to_string(height));
}

std::string frameRateText(int32_t rate, int32_t scale) {
  return bounded(System::formatNumber(Edit::frameRateToValue(rate, scale)) + "fps");
}

std::string samplingRateText(int32_t samplingRate) {
  return bounded(System::formatNumber(samplingRate / 1000.0) + "khz");
}

std::string frameTimeText(int32_t frame, int32_t rate, int32_t scale) {
  // A damaged scene with a zero rate would divide by zero; it shows time 0 instead.
  const double seconds =
      rate > 0 && scale > 0 ? static_cast<double>(frame) * scale / rate : 0.0;
  return bounded(System::formatTime(seconds));
}

std::string frameNumberText(int32_t frame) {
  return bounded(std::to_string(static_cast<int64_t>(frame) + 1));
}

}  // namespace Component::StatusText
