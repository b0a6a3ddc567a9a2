#pragma once
// This program's readers of the helper programs' replies (the numbers and the message
// layouts are in pipe_commands.h). Each reads one whole reply from the pipe; what the reply
// says is then checked before anything is sized or opened from it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "media/input/input_file.h"
#include "media/plugin/pipe_commands.h"
#include "system/file.h"
#include "system/pipe.h"

namespace Plugin {

// What a helper says about the plug-in it loaded.
struct PipePluginInfo {
  int32_t kinds = 0;  // kPipeKindVideo | kPipeKindAudio | kPipeKindSettings
  std::string name;
  System::Filter filter;
  std::string information;
};

// The reply of an open: the helper's handle of the file (0: not opened) and the
// description, which is filled only for a handle that is not 0.
struct PipeOpenReply {
  int32_t handle = 0;
  MediaDescription description;
};

// Limits of what a described file may be: the sizes the program can hold a frame or a second
// of sound of.
namespace PipeLimits {
inline constexpr int32_t kMaxFrameSide = 16384;
inline constexpr int64_t kMaxFramePixels = int64_t{8192} * 8192;
inline constexpr int32_t kMaxSamplingRate = 768000;
}  // namespace PipeLimits

// The kind flags (only the three known bits are kept), name, file filter and information.
// A string longer than 4096 units throws the pipe's readString error.
PipePluginInfo readLoadReply(System::Pipe& pipe);

// A file filter as the plug-ins write it: label and pattern texts, each ended by a NUL; an
// empty label (a second NUL) ends the list, and a label without its pattern is dropped.
System::Filter parseFileFilter(std::u16string_view list);

// The handle, then the kind flags and the fields they announce; kind bits other than video
// and audio are dropped. Every field is read before anything is judged, so that the stream
// stays in step whatever the values are.
PipeOpenReply readOpenReply(System::Pipe& pipe);

// Why the description cannot be used, or nothing when it can: a video needs frames, one of
// the six pixel formats, a size within the limits and a positive rate and scale; audio needs
// a sample count of at least 0, a rate within the limits, and PCM 16-bit stereo or float
// 32-bit mono or stereo (the forms a block can be converted from).
std::optional<std::string> checkDescription(const MediaDescription& description);

// Bytes of the frame a reader's file delivers (the DIB of its pixel format and size), and of
// one second of its sound.
uint32_t videoBlockBytes(const MediaDescription& description);
uint32_t audioBlockBytes(const MediaDescription& description);

}  // namespace Plugin
