#pragma once
// The two encoders of saveToFile, PNG (libpng) and JPEG (TurboJPEG): the pixel layout each
// writes and the writing of one picture into an open file.
#include <cstdint>
#include <cstdio>
#include <string>

#include "media/image/format_guid.h"

namespace Media {

struct PixelLayout;

// Packed rows in one of the encoder's layouts.
struct EncoderPicture {
  const uint8_t* pixels;
  uint32_t width;
  uint32_t height;
  std::size_t stride;  // bytes from one row to the next
  const PixelLayout& layout;
};

struct StillEncoder {
  FormatGuid container;
  // The layout the encoder writes, by whether the caller's pixels have alpha.
  FormatGuid opaqueChoice;
  FormatGuid alphaChoice;
  // Whether the encoder takes the "ImageQuality" option.
  bool takesQuality;
  // Writes the file's whole contents; empty on success, else the library's reason.
  std::string (*write)(std::FILE* file, const EncoderPicture& picture, float quality);
};

// The encoder of a container, or nullptr.
const StillEncoder* findEncoder(const FormatGuid& container);


// The quality a JPEG is written with when the caller gives none.
inline constexpr float kDefaultJpegQuality = 0.9f;

}  // namespace Media
