#include "gpu/gl/gl_object.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <utility>

#include "gpu/gl/gl_error.h"
#include "gpu/gpu_test_support.h"

namespace {

using Media::Gl::Object;
using Media::Gl::ObjectType;
using TestSupport::GpuTest;

Object makeBuffer(Media::Direct3DService& service) {
  service.context();
  return Object::create(ObjectType::Buffer, service.device().id());
}

TEST_F(GpuTest, AnObjectIsDeletedOnceByItsLastOwner) {
  Object first = makeBuffer(service());
  const GLuint name = first.name();
  ASSERT_NE(name, 0u);
  ASSERT_TRUE(glIsBuffer(name));

  Object second = std::move(first);
  EXPECT_EQ(first.name(), 0u);
  EXPECT_FALSE(first);
  EXPECT_EQ(second.name(), name);
  first.reset();
  EXPECT_TRUE(glIsBuffer(name)) << "the moved-from owner deleted the name";

  second.reset();
  EXPECT_FALSE(glIsBuffer(name));
  EXPECT_FALSE(second);
}

TEST_F(GpuTest, AssigningOverAnObjectDeletesWhatItHeld) {
  Object kept = makeBuffer(service());
  Object replaced = makeBuffer(service());
  const GLuint keptName = kept.name();
  const GLuint replacedName = replaced.name();
  replaced.markWritten();

  replaced = std::move(kept);
  EXPECT_FALSE(glIsBuffer(replacedName));
  EXPECT_EQ(replaced.name(), keptName);
  EXPECT_EQ(replaced.fence(), nullptr) << "the fence went with the old name";
  EXPECT_EQ(kept.name(), 0u);
  EXPECT_TRUE(glIsBuffer(keptName));
}

// The owners check their set-up after making the name; a failed check unwinds the owner.
TEST_F(GpuTest, AnObjectIsDeletedWhenItsSetUpFails) {
  service().context();
  GLuint name = 0;
  Media::Gl::clearErrors();
  EXPECT_THROW(
      {
        Object texture = Object::create(ObjectType::Texture, service().device().id());
        name = texture.name();
        glTextureStorage2D(name, 1, GL_RGBA8, 0, 0);  // no size: GL_INVALID_VALUE
        Media::Gl::checkError("glTextureStorage2D", "test");
      },
      System::Exception);
  ASSERT_NE(name, 0u);
  EXPECT_FALSE(glIsTexture(name));
}

// Names are shared by every context of the device: a thread that drops the last owner
// deletes the name for all of them.
TEST_F(GpuTest, AnObjectDroppedOnAnotherThreadIsDeletedForEveryContext) {
  Object buffer = makeBuffer(service());
  const GLuint name = buffer.name();
  std::thread worker([moved = std::move(buffer)]() mutable { moved.reset(); });
  worker.join();
  EXPECT_FALSE(glIsBuffer(name));
}

}  // namespace
