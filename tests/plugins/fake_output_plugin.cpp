// A writer plug-in for the tests: instead of a video file it writes, into the save path, a
// text record of what the program handed it, one line per event:
//
//   job <flag> <width> <height> <rate> <scale> <frames> <audio rate> <channels> <samples>
//   video <frame> <first four bytes> <last byte of the first row>   (or "video <frame> null")
//   audio <start> <length> <read> <first left sample as an integer>
//   progress <position> <total>
//   abort
//   end
//
// What it asks for depends on words in the save path's file name:
//
//   (none)      read-ahead depths 0 and 8; every frame as 24-bit RGB and the whole sound
//               in 16-bit PCM runs of one frame's length, with the progress after each frame
//   yuy2        the frames as "YUY2"
//   badformat   one frame as an unknown code and one run of sound in format 2
//   crash       writes through a null pointer (anywhere in the path)
//
// It checks the abort question before each frame and stops ("abort") when it is asked to.
// The environment variable VELUMO_FAKE_PLUGIN, read when the table is asked for, leaves out
// fnConfigure and fnGetConfigText when it holds "noconfigure".
//
// Only the plug-in interface and the C and C++ libraries are used: the same source builds
// the plug-ins of the helper programs, also for 32-bit processes.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <string>

#include "fake_plugin_support.h"
#include "media/plugin/plugin_abi.h"

namespace {

using FakePlugin::fourCc;

std::atomic<int> gConfigureCalls{0};

// UTF-16 to UTF-8 (unpaired surrogates become U+FFFD).
std::string narrow(const char16_t* text) {
  std::string out;
  for (const char16_t* p = text; *p; ++p) {
    uint32_t code = *p;
    if (code >= 0xD800 && code < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (p[1] - 0xDC00);
      ++p;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

bool nameHas(const std::string& path, const char* word) {
  const size_t slash = path.find_last_of('/');
  return path.find(word, slash == std::string::npos ? 0 : slash) != std::string::npos;
}

void recordVideo(FILE* out, const VelumoOutputJobInfo& info, int32_t frame, uint32_t format) {
  const uint8_t* bytes = static_cast<const uint8_t*>(info.getVideo(frame, format));
  if (!bytes) {
    fprintf(out, "video %d null\n", frame);
    return;
  }
  const int32_t bits = format == 0 ? 24 : 16;
  const int32_t stride = (info.width * bits / 8 + 3) & ~3;
  fprintf(out, "video %d %u %u %u %u %u\n", frame, bytes[0], bytes[1], bytes[2], bytes[3],
          bytes[stride - 1]);
}

void recordAudio(FILE* out, const VelumoOutputJobInfo& info, int32_t start, int32_t length,
                 uint32_t format) {
  int32_t read = -1;
  const void* samples = info.getAudio(start, length, &read, format);
  long first = 0;
  if (samples && read > 0) {
    if (format == 1)
      first = static_cast<const int16_t*>(samples)[0];
    else
      first = static_cast<long>(static_cast<const float*>(samples)[0] * 32768.0f);
  }
  fprintf(out, "audio %d %d %d %ld\n", start, length, read, first);
}

// Whether the UTF-16 text holds the ASCII word, without allocating anything (a crash
// abandons what the plug-in holds).
bool textHas(const char16_t* text, const char* word) {
  for (const char16_t* start = text; *start; ++start) {
    size_t i = 0;
    while (word[i] && start[i] == static_cast<char16_t>(word[i])) ++i;
    if (!word[i]) return true;
  }
  return false;
}

bool fakeOutput(VelumoOutputJobInfo* info) {
  if (textHas(info->savePath, "crash")) {
    volatile int* volatile target = nullptr;
    *target = info->frameCount;
  }
  const std::string path = narrow(info->savePath);
  FILE* out = fopen(path.c_str(), "w");
  if (!out) return false;
  fprintf(out, "job %d %d %d %d %d %d %d %d %d\n", info->flag, info->width, info->height,
          info->rate, info->scale, info->frameCount, info->audioRate, info->audioChannels,
          info->audioSampleCount);
  if (nameHas(path, "badformat")) {
    recordVideo(out, *info, 0, fourCc('B', 'A', 'D', '!'));
    recordAudio(out, *info, 0, 100, 2);
  } else {
    info->setBufferSize(0, 8);
    const uint32_t format = nameHas(path, "yuy2") ? fourCc('Y', 'U', 'Y', '2') : 0;
    const int32_t run = info->rate > 0 ? info->audioRate * info->scale / info->rate : 1600;
    bool aborted = false;
    for (int32_t frame = 0; frame < info->frameCount; ++frame) {
      if (info->isAbort()) {
        aborted = true;
        fprintf(out, "abort\n");
        break;
      }
      recordVideo(out, *info, frame, format);
      info->reportProgress(frame + 1, info->frameCount);
      fprintf(out, "progress %d %d\n", frame + 1, info->frameCount);
    }
    for (int32_t start = 0; !aborted && start < info->audioSampleCount; start += run)
      recordAudio(out, *info, start, run, 1);
  }
  fprintf(out, "end\n");
  return fclose(out) == 0;
}

bool fakeConfigure(void*, void*) {
  ++gConfigureCalls;
  return true;
}

const char16_t* fakeConfigText(void) { return u"fake settings ✓"; }

VelumoOutputTable gTable;

}  // namespace

FAKE_EXPORT VelumoOutputTable* VelumoOutputPluginTable(void) {
  const char* switches = getenv("VELUMO_FAKE_PLUGIN");
  const bool configurable = !(switches && strstr(switches, "noconfigure"));
  gTable.flags = VELUMO_OUTPUT_VIDEO | VELUMO_OUTPUT_AUDIO;
  gTable.name = u"Fake Writer";
  gTable.fileFilter = u"FakeFile (*.fakeout)\0*.fakeout\0\0";
  gTable.information = u"Fake writer for the tests";
  gTable.fnOutput = fakeOutput;
  gTable.fnConfigure = configurable ? fakeConfigure : nullptr;
  gTable.fnGetConfigText = configurable ? fakeConfigText : nullptr;
  return &gTable;
}

FAKE_EXPORT int fakeOutputConfigureCalls(void) { return gConfigureCalls.load(); }
