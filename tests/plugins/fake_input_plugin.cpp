// A reader plug-in for the tests: it reads no file, but makes up media from the opened
// file's name (the name before its last dot), so that one library plays every part:
//
//   good        video 64 x 48 24-bit RGB, 10 frames at 30/1; audio 16-bit PCM stereo 8000 Hz,
//               20000 samples
//   yuy2        video 64 x 48 "YUY2"
//   audiofloat  audio only, 32-bit float stereo 8000 Hz, 20000 samples
//   shortaudio  as audiofloat, but each read writes half the samples asked for
//   badformat   video with compression 0 and 16 bits
//   huge        video of 100000 x 100000 pixels
//   hugeaudio   audio at 2147483647 Hz
//   badtag      audio with format tag 2
//   nullformat  video without a frame format
//   wildformat  video whose frame format points to an unmapped address
//   noflags     neither video nor audio
//   badinfo     fnGetInfo answers false
//   refuse      fnOpen answers null
//   shortvideo  as good, but each frame read writes only the DIB's first (bottom) 24 rows
//   crashvideo  as good, but fnReadVideo writes through a null pointer
//
// Frame f of "good" has, in the DIB's byte order, blue = f, green = the DIB row (0 at the
// bottom of the picture) and red = the column. Sample s has s mod 30000 on the left and its
// negation on the right (float: the same over 32768).
//
// The environment variable VELUMO_FAKE_PLUGIN, read when the table is asked for, changes the
// table: "noconfigure" leaves fnConfigure out, "concurrent" sets flag 16.
//
// Only the plug-in interface and the C and C++ libraries are used: the same source builds
// the plug-ins of the helper programs, also for 32-bit processes.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>

#include "fake_plugin_support.h"
#include "media/plugin/plugin_abi.h"

namespace {

using FakePlugin::fourCc;

enum class Kind {
  Good, Yuy2, AudioFloat, ShortAudio, BadFormat, Huge, HugeAudio, BadTag, NullFormat,
  WildFormat, NoFlags, BadInfo, Refuse, ShortVideo, CrashVideo
};

struct NamedKind {
  const char* name;
  Kind kind;
};

const NamedKind kKinds[] = {
    {"good", Kind::Good},           {"yuy2", Kind::Yuy2},
    {"audiofloat", Kind::AudioFloat}, {"shortaudio", Kind::ShortAudio},
    {"badformat", Kind::BadFormat}, {"huge", Kind::Huge},
    {"hugeaudio", Kind::HugeAudio}, {"badtag", Kind::BadTag},
    {"nullformat", Kind::NullFormat}, {"wildformat", Kind::WildFormat},
    {"noflags", Kind::NoFlags},     {"badinfo", Kind::BadInfo},
    {"refuse", Kind::Refuse},       {"shortvideo", Kind::ShortVideo},
    {"crashvideo", Kind::CrashVideo},
};

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr int32_t kFrames = 10;
constexpr uint32_t kSamplingRate = 8000;
constexpr int32_t kSamples = 20000;

std::atomic<int> gOpenHandles{0};
std::atomic<int> gConfigureCalls{0};

struct File {
  Kind kind;
  VelumoBitmapInfoHeader video;
  VelumoWaveFormat audio;
};

// The ASCII name between the last separator and the last dot.
bool kindOfPath(const char16_t* path, Kind& kind) {
  char name[64];
  size_t length = 0;
  for (const char16_t* p = path; *p; ++p) {
    if (*p == u'/' || *p == u'\\') {
      length = 0;
    } else if (length + 1 < sizeof name) {
      name[length++] = static_cast<char>(*p < 128 ? *p : '?');
    }
  }
  name[length] = '\0';
  if (char* dot = strrchr(name, '.')) *dot = '\0';
  for (const NamedKind& named : kKinds)
    if (strcmp(named.name, name) == 0) {
      kind = named.kind;
      return true;
    }
  return false;
}

void setVideo(File& file, uint32_t compression, uint16_t bits, int32_t width, int32_t height) {
  file.video = VelumoBitmapInfoHeader{};
  file.video.size = sizeof file.video;
  file.video.width = width;
  file.video.height = height;
  file.video.planes = 1;
  file.video.bitCount = bits;
  file.video.compression = compression;
}

void setAudio(File& file, uint16_t tag, uint16_t bits, uint32_t rate) {
  file.audio = VelumoWaveFormat{};
  file.audio.formatTag = tag;
  file.audio.channels = 2;
  file.audio.samplesPerSec = rate;
  file.audio.bitsPerSample = bits;
  file.audio.blockAlign = static_cast<uint16_t>(2 * bits / 8);
  file.audio.avgBytesPerSec = rate * file.audio.blockAlign;
}

void* fakeOpen(const char16_t* path) {
  Kind kind;
  if (!path || !kindOfPath(path, kind) || kind == Kind::Refuse) return nullptr;
  File* file = static_cast<File*>(calloc(1, sizeof(File)));
  if (!file) return nullptr;
  file->kind = kind;
  ++gOpenHandles;
  return file;
}

bool fakeClose(void* handle) {
  free(handle);
  --gOpenHandles;
  return true;
}

bool fakeGetInfo(void* handle, VelumoInputMediaInfo* info) {
  File& file = *static_cast<File*>(handle);
  info->rate = 30;
  info->scale = 1;
  info->frameCount = kFrames;
  info->audioSampleCount = kSamples;
  int32_t flag = 0;
  switch (file.kind) {
    case Kind::Good:
    case Kind::ShortVideo:
    case Kind::CrashVideo:
      setVideo(file, 0, 24, kWidth, kHeight);
      setAudio(file, 1, 16, kSamplingRate);
      flag = 3;
      break;
    case Kind::Yuy2:
      setVideo(file, fourCc('Y', 'U', 'Y', '2'), 16, kWidth, kHeight);
      flag = 1;
      break;
    case Kind::AudioFloat:
    case Kind::ShortAudio: setAudio(file, 3, 32, kSamplingRate); flag = 2; break;
    case Kind::BadFormat: setVideo(file, 0, 16, kWidth, kHeight); flag = 1; break;
    case Kind::Huge: setVideo(file, 0, 32, 100000, 100000); flag = 1; break;
    case Kind::HugeAudio: setAudio(file, 3, 32, 2147483647u); flag = 2; break;
    case Kind::BadTag: setAudio(file, 2, 16, kSamplingRate); flag = 2; break;
    case Kind::NullFormat: flag = 1; break;
    case Kind::WildFormat: flag = 1; break;
    case Kind::NoFlags: flag = 0; break;
    case Kind::BadInfo: return false;
    case Kind::Refuse: return false;
  }
  info->flag = flag;
  if (flag & 1) {
    info->videoFormat = file.kind == Kind::NullFormat ? nullptr : &file.video;
    if (file.kind == Kind::WildFormat)
      info->videoFormat = reinterpret_cast<VelumoBitmapInfoHeader*>(static_cast<uintptr_t>(16));
    info->videoFormatSize = sizeof file.video;
  }
  if (flag & 2) {
    info->audioFormat = &file.audio;
    info->audioFormatSize = sizeof file.audio;
  }
  return true;
}

int32_t fakeReadVideo(void* handle, int32_t frame, void* buffer) {
  File& file = *static_cast<File*>(handle);
  if (file.kind == Kind::CrashVideo) {
    volatile int* volatile target = nullptr;
    *target = frame;
  }
  uint8_t* bytes = static_cast<uint8_t*>(buffer);
  if (file.kind == Kind::Yuy2) {
    memset(bytes, 0x80, static_cast<size_t>(kWidth) * 2 * kHeight);
    return kWidth * 2 * kHeight;
  }
  const int32_t stride = (kWidth * 3 + 3) & ~3;
  const int32_t rows = file.kind == Kind::ShortVideo ? kHeight / 2 : kHeight;
  for (int32_t row = 0; row < rows; ++row)
    for (int32_t x = 0; x < kWidth; ++x) {
      uint8_t* pixel = bytes + row * stride + x * 3;
      pixel[0] = static_cast<uint8_t>(frame);
      pixel[1] = static_cast<uint8_t>(row);
      pixel[2] = static_cast<uint8_t>(x);
    }
  return stride * rows;
}

int32_t fakeReadAudio(void* handle, int32_t start, int32_t length, void* buffer) {
  File& file = *static_cast<File*>(handle);
  if (start < 0 || length <= 0 || start >= kSamples) return 0;
  int32_t count = length < kSamples - start ? length : kSamples - start;
  if (file.kind == Kind::ShortAudio) count /= 2;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t value = (start + i) % 30000;
    if (file.audio.formatTag == 1) {
      int16_t* pcm = static_cast<int16_t*>(buffer);
      pcm[2 * i] = static_cast<int16_t>(value);
      pcm[2 * i + 1] = static_cast<int16_t>(-value);
    } else {
      float* samples = static_cast<float*>(buffer);
      samples[2 * i] = static_cast<float>(value) / 32768.0f;
      samples[2 * i + 1] = -static_cast<float>(value) / 32768.0f;
    }
  }
  return count;
}

bool fakeConfigure(void*, void*) {
  ++gConfigureCalls;
  return true;
}

bool hasSwitch(const char* name) {
  const char* value = getenv("VELUMO_FAKE_PLUGIN");
  return value && strstr(value, name);
}

VelumoInputTable gTable;

}  // namespace

FAKE_EXPORT VelumoInputTable* VelumoInputPluginTable(void) {
  gTable.flags = VELUMO_INPUT_VIDEO | VELUMO_INPUT_AUDIO |
                 (hasSwitch("concurrent") ? VELUMO_INPUT_CONCURRENT : 0);
  gTable.name = u"Fake Reader";
  gTable.fileFilter = u"FakeFile (*.fake)\0*.fake\0\0";
  gTable.information = u"Fake reader for the tests";
  gTable.fnOpen = fakeOpen;
  gTable.fnClose = fakeClose;
  gTable.fnGetInfo = fakeGetInfo;
  gTable.fnReadVideo = fakeReadVideo;
  gTable.fnReadAudio = fakeReadAudio;
  gTable.fnConfigure = hasSwitch("noconfigure") ? nullptr : fakeConfigure;
  return &gTable;
}

// How many opened handles are not closed yet, and how often the settings were asked for.
FAKE_EXPORT int fakeInputOpenHandles(void) { return gOpenHandles.load(); }
FAKE_EXPORT int fakeInputConfigureCalls(void) { return gConfigureCalls.load(); }
