#pragma once
// The text of a media input's information tooltip, and the names it gives pixel and sample
// formats.
#include <string>

#include "effect/media_input_source.h"

namespace Effect {

// "RGB32bit" for 87, "RGB24bit" 88, "YUY2" 107, "YCC6" 13, "RGBA64bit(RU64)" 11,
// "RGBA64bit(RF64)" 10; an empty text for any other code.
const char* pixelFormatName(int code);
// "PCM" for 1, "PCM(float)" for 3; an empty text for any other code.
const char* sampleFormatName(int code);

// The path, the total time, a line for each stream the file has, and the reader's name.
std::string mediaInfoText(const std::string& path, double lengthSeconds,
                          const MediaInputFile& file);

}  // namespace Effect
