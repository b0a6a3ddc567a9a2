#pragma once
// The numbers of the pipe protocol between this program and its plug-in helper programs
// (pipe32vli for readers, pipe32vlo for writers), shared by both sides. Header only, with no
// program library behind it: the helpers, which may be 32-bit programs, include it too.
//
// Every message starts with an int32 command. Host to helper, both helpers:
//   0 quit         nothing; no reply: the helper ends
//   1 load         string file name (bare, in the plug-in folder) ->
//                  int32 kind flags (1 video, 2 audio, 4 settings dialog), string name,
//                  string file filter (label and pattern texts, each ended by a NUL),
//                  string information. A helper that cannot load the plug-in ends instead.
//   2 settings     int32 owner window (low 32 bits), int32 the shared lock's descriptor in
//                  the helper -> int32 (not used); the helper takes the lock before it replies
//                  and gives it back when its dialog closes
// Reader helper:
//   10 open        string path -> int32 handle (0: not opened, nothing follows), int32 kind
//                  flags; with 1: int32 frame count, pixel format, width, height, rate, scale;
//                  with 2: int64 sample count, int32 format tag, bits, channels, sampling rate
//   11 close       int32 handle; no reply
//   12 read video  int32 handle, frame, the host's buffer size -> block: the frame as a DIB
//   13 read audio  int32 handle, start sample, length, the host's buffer size -> block:
//                  interleaved samples (what it lacks of the length is silence)
// Writer helper:
//   10 output      string path, int32 width, height, rate, scale, frame count, audio rate,
//                  audio sample count (low 32 bits); then the helper's requests until 20
// Requests of the writer helper while 10 runs (helper to host):
//   20 finished    int32 result (non-zero: success); no reply, the output ends
//   21 get video   int32 frame (from the export's first), int32 pixel format -> block: the
//                  frame as a DIB (an empty block when it could not be had)
//   22 get audio   int32 start (from the export's first sample), int32 length -> int32
//                  sample count, block: 16-bit PCM stereo (count 0 and an empty block when it
//                  could not be had)
//   23 abort?      -> int32 1 when the export is to stop, else 0
//   24 progress    int32 position, int32 total; no reply
#include <cstdint>

namespace Plugin {

enum class PipeCommand : int32_t {
  Quit = 0,
  LoadPlugin = 1,
  ShowConfig = 2,
  OpenFile = 10,
  CloseFile = 11,
  ReadVideo = 12,
  ReadAudio = 13,
  OutputFile = 10,
  Finished = 20,
  GetVideo = 21,
  GetAudio = 22,
  AbortQuery = 23,
  Progress = 24,
};

// Kind flags of the load reply.
inline constexpr int32_t kPipeKindVideo = 1;
inline constexpr int32_t kPipeKindAudio = 2;
inline constexpr int32_t kPipeKindSettings = 4;

// The longest string either side accepts, in UTF-16 units.
inline constexpr uint32_t kPipeMaxStringUnits = 4096;

}  // namespace Plugin
