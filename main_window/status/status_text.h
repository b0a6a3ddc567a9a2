#pragma once
// The texts the status bar and the window caption are made of, computed from plain values so
// that each rule can be checked on its own.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Component::StatusText {

// The status variables are held in small fixed buffers: longer texts are cut to this many
// characters (only times of a million hours or sizes of many digits get there).
inline constexpr std::size_t kMaxVariableLength = 15;

// The caption when no project file is named.
inline constexpr const char* kDefaultTitle = "Velumo Kivrun2";

// The text cut to kMaxVariableLength characters.
std::string bounded(std::string text);

// The last component of an (expanded) path: the text after its last separator ("/" or "\"),
// the whole path when it has none.
std::string_view fileNameOf(std::string_view path);
// The file name without its extension (from the last "."); a name without "." is whole.
std::string projectNameOf(std::string_view path);
// The caption: the file name with its extension, or the default title when that is empty.
std::string windowTitleOf(std::string_view path);

// "<width>x<height>".
std::string resolutionText(int32_t width, int32_t height);
// The display value of the frame rate followed by "fps" (29.97fps, 30fps).
std::string frameRateText(int32_t rate, int32_t scale);
// The sampling rate in kHz followed by "khz" (48khz, 44.1khz).
std::string samplingRateText(int32_t samplingRate);
// The time of a frame, "hh:mm:ss.cc"; a rate or scale that is not positive gives time 0.
std::string frameTimeText(int32_t frame, int32_t rate, int32_t scale);
// The frame counted from 1.
std::string frameNumberText(int32_t frame);

}  // namespace Component::StatusText
