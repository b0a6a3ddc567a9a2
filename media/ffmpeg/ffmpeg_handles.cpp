#include "media/ffmpeg/ffmpeg_handles.h"

extern "C" {
#include <libavutil/error.h>
#include <libavutil/log.h>
}

#include <cerrno>
#include <cstdarg>
#include <mutex>
#include <string>

#include "system/log.h"

namespace Media::Ffmpeg {

namespace {

// errno values come back from FFmpeg negated; its own codes are tags far outside that range.
constexpr int kLargestErrno = 4095;

void logLibraryLine(void* object, int level, const char* format, va_list args) {
  if (level > AV_LOG_ERROR) return;
  char line[1024];
  int printPrefix = 1;
  const int length = av_log_format_line2(object, level, format, args, line, sizeof line,
                                         &printPrefix);
  if (length <= 0) return;
  std::string text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (!text.empty()) System::Log::write(System::Log::WARN, "FFmpeg", text);
}

}  // namespace

Frame makeFrame(std::string_view place) {
  Frame frame(av_frame_alloc());
  if (!frame) throw makeError("av_frame_alloc", place, AVERROR(ENOMEM));
  return frame;
}

Packet makePacket(std::string_view place) {
  Packet packet(av_packet_alloc());
  if (!packet) throw makeError("av_packet_alloc", place, AVERROR(ENOMEM));
  return packet;
}

System::Exception makeError(std::string_view call, std::string_view place, int error) {
  if (error < 0 && -error <= kLargestErrno) return System::makeErrnoException(call, place, -error);
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(error, text, sizeof text);
  const std::string message = std::string(call) + "() failed.";
  return System::makeFormattedException(place, message, "%s", text);
}

void routeLibraryLog() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_callback(logLibraryLine); });
}

}  // namespace Media::Ffmpeg
