#pragma once
// The 32-bit failure codes that every error text of the GPU and drawing layer carries.
//
// Failures of GL, EGL, Cairo, Pango and the shader tools are all reported with the code of
// the same meaning, so that a message reads the same whichever library failed.
#include <cstdint>

namespace Media::Hresult {

inline constexpr int32_t kOutOfMemory = static_cast<int32_t>(0x8007000E);
inline constexpr int32_t kInvalidArgument = static_cast<int32_t>(0x80070057);
inline constexpr int32_t kFail = static_cast<int32_t>(0x80004005);
// What a device that lacks a required feature answers.
inline constexpr int32_t kUnsupported = static_cast<int32_t>(0x887A0004);

}  // namespace Media::Hresult
