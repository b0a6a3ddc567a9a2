#pragma once
// What both fake plug-ins need: the export marker and the four-character codes of the frame
// formats. C and C++ library headers only, like the plug-ins themselves.
#include <stdint.h>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace FakePlugin {

inline uint32_t fourCc(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

}  // namespace FakePlugin
