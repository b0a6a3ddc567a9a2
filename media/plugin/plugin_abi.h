#pragma once
// The binary interface published to plug-in authors: the tables that a plug-in library
// exports and the records that pass between the program and the plug-in. Plain C types
// only, so the same header serves the program, the helper programs (also when they are
// built for 32-bit processes) and plug-ins written in C.
//
// A reader library exports `VelumoInputPluginTable`, a writer library
// `VelumoOutputPluginTable`; each takes no argument and returns a pointer to its table,
// which the program copies at load time. Texts are NUL-terminated UTF-16 (char16_t; the
// platform's wchar_t is 32 bits wide here). Window handles are opaque pointers.
//
// In a 64-bit process the layouts are fixed (natural alignment, 8-byte pointers): the
// offsets are checked below.
#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

// flags of the input table
#define VELUMO_INPUT_VIDEO 1
#define VELUMO_INPUT_AUDIO 2
// the read functions may run at the same time for different files
#define VELUMO_INPUT_CONCURRENT 16
// flags of the output table
#define VELUMO_OUTPUT_VIDEO 1
#define VELUMO_OUTPUT_AUDIO 2

// BITMAPINFOHEADER: the frame format as a device-independent bitmap.
typedef struct VelumoBitmapInfoHeader {
  uint32_t size;
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t clrUsed;
  uint32_t clrImportant;
} VelumoBitmapInfoHeader;

// WAVEFORMATEX (packed as the wave format is: 18 bytes).
#pragma pack(push, 2)
typedef struct VelumoWaveFormat {
  uint16_t formatTag;
  uint16_t channels;
  uint32_t samplesPerSec;
  uint32_t avgBytesPerSec;
  uint16_t blockAlign;
  uint16_t bitsPerSample;
  uint16_t extraSize;
} VelumoWaveFormat;
#pragma pack(pop)

typedef struct VelumoInputMediaInfo {
  int32_t flag;  // 1 video, 2 audio
  int32_t rate;
  int32_t scale;
  int32_t frameCount;
  VelumoBitmapInfoHeader* videoFormat;
  int32_t videoFormatSize;
  int32_t audioSampleCount;
  VelumoWaveFormat* audioFormat;
  int32_t audioFormatSize;
} VelumoInputMediaInfo;

typedef struct VelumoInputTable {
  int32_t flags;
  const char16_t* name;
  const char16_t* fileFilter;  // label NUL pattern NUL ... NUL
  const char16_t* information;
  void* (*fnOpen)(const char16_t* path);
  bool (*fnClose)(void* handle);
  bool (*fnGetInfo)(void* handle, VelumoInputMediaInfo* info);
  int32_t (*fnReadVideo)(void* handle, int32_t frame, void* buffer);
  int32_t (*fnReadAudio)(void* handle, int32_t start, int32_t length, void* buffer);
  bool (*fnConfigure)(void* owner, void* library);
} VelumoInputTable;

typedef struct VelumoOutputJobInfo {
  int32_t flag;  // always 3
  int32_t width;
  int32_t height;
  int32_t rate;
  int32_t scale;
  int32_t frameCount;
  int32_t audioRate;
  int32_t audioChannels;  // always 2
  int32_t audioSampleCount;
  const char16_t* savePath;
  void* (*getVideo)(int32_t frame, uint32_t format);
  void* (*getAudio)(int32_t start, int32_t length, int32_t* read, uint32_t format);
  bool (*isAbort)(void);
  void (*reportProgress)(int32_t position, int32_t total);
  void (*setBufferSize)(int32_t videoDepth, int32_t audioDepth);
} VelumoOutputJobInfo;

typedef struct VelumoOutputTable {
  int32_t flags;
  const char16_t* name;
  const char16_t* fileFilter;
  const char16_t* information;
  bool (*fnOutput)(VelumoOutputJobInfo* info);
  bool (*fnConfigure)(void* owner, void* library);
  const char16_t* (*fnGetConfigText)(void);
} VelumoOutputTable;

typedef VelumoInputTable* (*VelumoInputPluginTableFunction)(void);
typedef VelumoOutputTable* (*VelumoOutputPluginTableFunction)(void);

#ifdef __cplusplus
}  // extern "C"
#endif

#if defined(__cplusplus) && UINTPTR_MAX == UINT64_MAX
static_assert(sizeof(VelumoBitmapInfoHeader) == 40);
static_assert(sizeof(VelumoWaveFormat) == 18);
static_assert(offsetof(VelumoWaveFormat, bitsPerSample) == 14);
static_assert(sizeof(VelumoInputTable) == 80);
static_assert(offsetof(VelumoInputTable, name) == 8);
static_assert(offsetof(VelumoInputTable, fnOpen) == 32);
static_assert(offsetof(VelumoInputTable, fnConfigure) == 72);
static_assert(sizeof(VelumoInputMediaInfo) == 48);
static_assert(offsetof(VelumoInputMediaInfo, videoFormat) == 16);
static_assert(offsetof(VelumoInputMediaInfo, videoFormatSize) == 24);
static_assert(offsetof(VelumoInputMediaInfo, audioSampleCount) == 28);
static_assert(offsetof(VelumoInputMediaInfo, audioFormat) == 32);
static_assert(offsetof(VelumoInputMediaInfo, audioFormatSize) == 40);
static_assert(sizeof(VelumoOutputTable) == 56);
static_assert(offsetof(VelumoOutputTable, fnOutput) == 32);
static_assert(offsetof(VelumoOutputTable, fnGetConfigText) == 48);
static_assert(sizeof(VelumoOutputJobInfo) == 88);
static_assert(offsetof(VelumoOutputJobInfo, audioSampleCount) == 32);
static_assert(offsetof(VelumoOutputJobInfo, savePath) == 40);
static_assert(offsetof(VelumoOutputJobInfo, getVideo) == 48);
static_assert(offsetof(VelumoOutputJobInfo, setBufferSize) == 80);
#endif
