// The timeline zoom steps and the edit camera's text form.
#include <gtest/gtest.h>

#include "edit/camera_view.h"
#include "edit/frame_zoom.h"

namespace {

TEST(FrameZoom, ShiftWalksTheStepsAndStopsAtTheEnds) {
  struct Case {
    int32_t current;
    int steps;
    int32_t result;
  };
  const Case cases[] = {
      {10000, 1, 15000},
      {10000, -1, 7500},
      {20, -1, 20},
      {100000, 1, 100000},
      {12345, 1, 20},
      {12345, -1, 20},
      {10000, 1000000, 100000},
      {10000, -2147483647 - 1, 20},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Edit::FrameZoom::shift(c.current, c.steps).zoom, c.result)
        << c.current << " by " << c.steps;
  Edit::FrameZoom zoom;
  EXPECT_EQ(zoom.zoom, 10000);
  int32_t odd = 12345;
  zoom.normalizer(odd);
  EXPECT_EQ(odd, 10000);
}

TEST(CameraView, TextFormWritesAllSixCoordinatesOnceOneChanged) {
  Edit::CameraView camera;
  EXPECT_EQ(camera.toString(), "");
  camera.target[1] = 2.5f;
  EXPECT_EQ(camera.toString(), "0.000000,0.000000,-1024.000000,0.000000,2.500000,0.000000");

  Edit::CameraView read;
  read.fromString(camera.toString());
  EXPECT_EQ(read.eye, camera.eye);
  EXPECT_EQ(read.target, camera.target);
}

TEST(CameraView, ReadingStopsAtAPartThatIsNoFiniteNumber) {
  struct Case {
    const char* text;
    std::array<float, 3> eye;
    std::array<float, 3> target;
  };
  const Case cases[] = {
      {"1,2,3,4,5,6", {1, 2, 3}, {4, 5, 6}},
      {"1,2,x,4,5,6", {1, 2, -1024}, {0, 0, 0}},
      {"1,2,3,nan,5,6", {1, 2, 3}, {0, 0, 0}},
      {"1,2,3,4,5", {0, 0, -1024}, {0, 0, 0}},      // five parts: unchanged
      {"1,2,3,4,5,6,7", {0, 0, -1024}, {0, 0, 0}},  // seven parts: unchanged
  };
  for (const Case& c : cases) {
    Edit::CameraView camera;
    camera.fromString(c.text);
    EXPECT_EQ(camera.eye[0], c.eye[0]) << c.text;
    EXPECT_EQ(camera.eye[1], c.eye[1]) << c.text;
    EXPECT_EQ(camera.eye[2], c.eye[2]) << c.text;
    EXPECT_EQ(camera.target[0], c.target[0]) << c.text;
    EXPECT_EQ(camera.target[1], c.target[1]) << c.text;
    EXPECT_EQ(camera.target[2], c.target[2]) << c.text;
    EXPECT_EQ(camera.eye[3], 1.0f);
  }
}

}  // namespace
