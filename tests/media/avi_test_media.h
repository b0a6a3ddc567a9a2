#pragma once
// Frames and sound with known values for the AVI reader's tests: uncompressed bitmap frames
// whose every pixel tells its frame and place, and interleaved PCM whose samples tell their
// position. No test framework is needed.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "media/avi_test_writer.h"

namespace AviTest {

// The colour of pixel (x, y) (top row 0) of frame `frame`, as B, G, R.
struct Bgr {
  uint8_t b, g, r;
};
inline Bgr pixelOf(int frame, int x, int y) {
  return {static_cast<uint8_t>(10 * x + frame), static_cast<uint8_t>(20 * y + frame),
          static_cast<uint8_t>(7 * frame + 1)};
}

// One uncompressed frame of 24 or 32 bits: rows bottom-up, each padded to 4 bytes.
inline std::string rgbFrame(int frame, int width, int height, int bitCount) {
  const int bytes = bitCount / 8;
  const int stride = (width * bytes + 3) & ~3;
  std::string data(static_cast<std::size_t>(stride) * height, '\0');
  for (int y = 0; y < height; ++y) {
    char* row = data.data() + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const Bgr p = pixelOf(frame, x, y);
      row[x * bytes + 0] = static_cast<char>(p.b);
      row[x * bytes + 1] = static_cast<char>(p.g);
      row[x * bytes + 2] = static_cast<char>(p.r);
      if (bytes == 4) row[x * bytes + 3] = static_cast<char>(0x80 + frame);
    }
  }
  return data;
}

// A video stream of `count` uncompressed frames.
inline VideoStream rgbVideo(int count, int width, int height, int bitCount) {
  VideoStream video;
  video.width = width;
  video.height = height;
  video.bitCount = static_cast<uint16_t>(bitCount);
  for (int f = 0; f < count; ++f) video.frames.push_back(rgbFrame(f, width, height, bitCount));
  return video;
}

// Sample `index` of channel `channel` in the test's 16-bit sound: distinct in every place.
inline int16_t sampleOf(int64_t index, int channel) {
  return static_cast<int16_t>((index * 7 + channel * 1000) % 30000 - 15000);
}

// `count` sample frames of 16-bit stereo from sample frame `first` on, interleaved.
inline std::string pcm16Stereo(int64_t first, int64_t count) {
  std::string data(static_cast<std::size_t>(count) * 4, '\0');
  for (int64_t i = 0; i < count; ++i)
    for (int c = 0; c < 2; ++c) {
      const int16_t value = sampleOf(first + i, c);
      std::memcpy(data.data() + (i * 2 + c) * 2, &value, 2);
    }
  return data;
}

// The sound of `total` sample frames cut into chunks of `perChunk` sample frames.
inline std::vector<std::string> pcm16StereoChunks(int64_t total, int64_t perChunk) {
  std::vector<std::string> chunks;
  for (int64_t first = 0; first < total; first += perChunk)
    chunks.push_back(pcm16Stereo(first, std::min(perChunk, total - first)));
  return chunks;
}

}  // namespace AviTest
