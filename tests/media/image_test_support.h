#pragma once
// What the image tests share: a running image service, a folder for their files, and
// short ways to read a pixel and the text of a failure.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "gpu/image/image_buffer.h"
#include "media/image/image_service.h"
#include "system/service_holder.h"
#include "system/temp_folder.h"

namespace ImageTestSupport {

using Pixel = std::array<int, 4>;

inline Pixel pixelAt(const Media::ImageBuffer& image, uint32_t x, uint32_t y) {
  const uint8_t* p = image.row(y) + x * 4;
  return {p[0], p[1], p[2], p[3]};
}

// Whether every channel is within `tolerance` of the expected value.
inline bool near(const Pixel& actual, const Pixel& expected, int tolerance) {
  for (int i = 0; i < 4; ++i)
    if (std::abs(actual[i] - expected[i]) > tolerance) return false;
  return true;
}

// The text of the exception `action` throws; empty when it throws none.
template <class Action>
std::string failureOf(Action&& action) {
  try {
    action();
  } catch (const std::exception& exception) {
    return exception.what();
  }
  return {};
}

class ImageFixture : public ::testing::Test {
 protected:
  Media::ImageService& service() { return Media::ImageService::Get(); }
  std::string write(const std::string& name, const std::string& bytes) {
    return folder_.writeFile(name, bytes);
  }
  std::shared_ptr<Media::ImageBuffer> load(const std::string& name, const std::string& bytes) {
    return service().loadFromFile(write(name, bytes));
  }

  System::ServiceHolder<Media::ImageService> holder_;
  TestSupport::TempFolder folder_{"velumo-image"};
};

}  // namespace ImageTestSupport
