#pragma once
// The 32-bit failure codes of the image service, in the imaging facility's numbering, so
// that a message reads the same whichever library (libpng, TurboJPEG, FFmpeg) failed.
// Failures that come from the operating system carry its own code instead.
#include <cstdint>

namespace Media::ImagingCode {

inline constexpr int32_t kPropertyNotFound = static_cast<int32_t>(0x88982F40);
// No decoder knows the content, no encoder the container.
inline constexpr int32_t kComponentNotFound = static_cast<int32_t>(0x88982F50);
// Zero-sized, or larger than the decoder accepts.
inline constexpr int32_t kImageSizeOutOfRange = static_cast<int32_t>(0x88982F51);
// Damaged or truncated pixel data.
inline constexpr int32_t kBadImage = static_cast<int32_t>(0x88982F60);
// A header that cannot be parsed.
inline constexpr int32_t kBadHeader = static_cast<int32_t>(0x88982F61);
inline constexpr int32_t kStreamWrite = static_cast<int32_t>(0x88982F71);
inline constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057);
inline constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);

}  // namespace Media::ImagingCode
