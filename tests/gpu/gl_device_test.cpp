#include "gpu/gl/gl_device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <thread>
#include <unistd.h>

#include "gpu/gpu_test_support.h"
#include "gpu/resource_buffer.h"

namespace {

using Media::GlDevice;
using TestSupport::GpuTest;
using testing::HasSubstr;

TEST(GlDeviceTest, EachPlatformGivesAnOpenGl45CoreContext) {
  for (const auto platform : {GlDevice::Platform::Surfaceless, GlDevice::Platform::Device}) {
    SCOPED_TRACE(platform == GlDevice::Platform::Surfaceless ? "surfaceless" : "device");
    GlDevice device("GlDeviceTest", platform);
    EXPECT_EQ(device.platform(), platform);
    device.current();
    GLint major = 0;
    GLint minor = 0;
    GLint profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_GE(major * 10 + minor, 45);
    EXPECT_NE(profile & GL_CONTEXT_CORE_PROFILE_BIT, 0);
    EXPECT_EQ(device.glMajorVersion(), major);
  }
}

// A machine whose GL stops below 4.5 cannot run the program: the start fails with the
// call that stands for device creation. The driver is told to offer 4.3 at most, in a
// process of its own (the display of this process is already open).
TEST(GlDeviceTest, WithoutOpenGl45TheServiceFailsNamingEglCreateContext) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("MESA_GL_VERSION_OVERRIDE", "4.3", 1);
        try {
          System::ServiceHolder<Media::Direct3DService> service;
          std::cerr << "service created";
        } catch (const std::exception& failure) {
          std::cerr << failure.what();
        }
        std::cerr.flush();
        _exit(Media::Direct3DService::instance() == nullptr ? 0 : 1);
      },
      testing::ExitedWithCode(0),
      "eglCreateContext\\(\\) failed\\.\n\n\\[Note\\]\nHRESULT: 0x887A0004\n.*\n\n\\[Place\\]\n"
      "Media::Direct3DService::Direct3DService\\(\\)");
}

TEST_F(GpuTest, EveryThreadHasItsOwnContextThatEndsWithTheThread) {
  GlDevice& device = service().device();
  const uint64_t mine = device.current().id();
  EXPECT_EQ(device.current().id(), mine) << "made current once, then kept";
  EXPECT_EQ(device.contextCount(), 1u);

  uint64_t theirs = 0;
  std::size_t countWhileRunning = 0;
  std::thread worker([&] {
    theirs = device.current().id();
    countWhileRunning = device.contextCount();
  });
  worker.join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(countWhileRunning, 2u);
  EXPECT_EQ(device.contextCount(), 1u);
}

// Images belong to the share group, not to the context of the thread that made them.
TEST_F(GpuTest, AnImageOutlivesTheThreadThatUploadedIt) {
  std::unique_ptr<Media::ResourceBuffer> buffer;
  std::thread worker([&] {
    buffer = std::make_unique<Media::ResourceBuffer>();
    buffer->create(*TestSupport::solidHalfImage(16, 16, {0.5f, 0.25f, 0.125f, 1.0f}));
  });
  worker.join();
  ASSERT_EQ(service().device().contextCount(), 1u);

  const auto image = buffer->readBack();
  EXPECT_TRUE(TestSupport::nearHalf(TestSupport::halfPixel(*image, 15, 15),
                                    {0.5f, 0.25f, 0.125f, 1.0f}));
}

// A thread that outlives the device gets a context of the next device it uses.
TEST(GlDeviceTest, AThreadMovesOnToTheNextDevice) {
  std::optional<System::ServiceHolder<Media::Direct3DService>> service;
  service.emplace();
  Media::Direct3DService::Get().context();
  service.reset();
  service.emplace();
  auto buffer = std::make_unique<Media::ResourceBuffer>(4u, 4u);
  buffer->clear(0.75f);
  EXPECT_TRUE(TestSupport::nearHalf(TestSupport::halfPixel(*buffer->readBack(), 0, 0),
                                    {0.75f, 0.75f, 0.75f, 0.75f}));
  // A buffer that outlives its device is freed without touching the next one.
  service.reset();
  buffer.reset();
}

}  // namespace
