#pragma once
// What a reader plug-in says about an opened file, checked and turned into the program's
// media description.
//
// A plug-in may report anything; the description sizes the read buffers, so every value is
// checked before it is used: a file whose video or audio the program cannot take fails to
// open instead of failing (or allocating without bound) on every read.
#include <cstdint>
#include <optional>
#include <string>

#include "media/input/input_file.h"
#include "media/plugin/plugin_abi.h"

namespace Plugin {

// The largest frame a plug-in may report: a side of 16384 pixels and 64 Mi pixels in all.
inline constexpr int32_t kMaxPluginFrameSide = 16384;
inline constexpr int64_t kMaxPluginFramePixels = int64_t{8192} * 8192;
inline constexpr int32_t kMaxPluginSamplingRate = 768000;

// The reader's report as the plug-in filled it in, with copies of the two formats it points
// to (absent when it pointed nowhere).
struct ReportedMedia {
  VelumoInputMediaInfo info{};
  std::optional<VelumoBitmapInfoHeader> video;
  std::optional<VelumoWaveFormat> audio;
};

// The description of the report, or nothing with `reason` set when the file cannot be
// taken: video (flag 1) needs a positive rate and scale, a frame count of 0 or more, a frame
// format of the accepted table (compression 0 with 24 or 32 bits, or one of the four packed
// codes) and a size within the limits; audio (flag 2) needs a sample count of 0 or more, a
// sampling rate within the limit and 16-bit PCM stereo or 32-bit float mono or stereo. A
// report with neither flag gives a description without kinds.
std::optional<MediaDescription> describeReportedMedia(const ReportedMedia& report,
                                                      std::string& reason);

}  // namespace Plugin
