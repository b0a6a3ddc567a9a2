#pragma once
// The two encoders of saveToFile, PNG (libpng) and JPEG (TurboJPEG): which pixel layouts
// each takes, which one it picks for a request it does not take, and the writing of one
// picture into an open file.
#include <cstdint>
#include <cstdio>
#include <span>
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
  std::span<const FormatGuid> writable;
  // The encoder's choice for any other request, by whether the caller's pixels have alpha.
  FormatGuid opaqueChoice;
  FormatGuid alphaChoice;
  // Whether the encoder takes the "ImageQuality" option.
  bool takesQuality;
  // Writes the file's whole contents; empty on success, else the library's reason.
  std::string (*write)(std::FILE* file, const EncoderPicture& picture, float quality);
};

// The encoder of a container, or nullptr.
const StillEncoder* findEncoder(const FormatGuid& container);

// The pixel layout the encoder will write for a request: the request itself when the
// encoder takes it, else the encoder's choice.
FormatGuid choosePixelFormat(const StillEncoder& encoder, const FormatGuid& request,
                             bool sourceHasAlpha);

// The quality a JPEG is written with when the caller gives none.
inline constexpr float kDefaultJpegQuality = 0.9f;

}  // namespace Media
