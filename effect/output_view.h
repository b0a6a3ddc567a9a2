#pragma once
// The view and transform state of one object: where and how it is drawn. The render engine
// starts every object with a reset view; the effects before the output effect move it, and
// the output effect draws with it.
#include <memory>

#include "effect/outer_types.h"

namespace Effect {

struct OutputView {
  float x = 0.0f, y = 0.0f, z = 0.0f;           // position, scene pixels
  float rotationX = 0.0f, rotationY = 0.0f, rotationZ = 0.0f;  // degrees
  float scaleX = 1.0f, scaleY = 1.0f, scaleZ = 1.0f;          // 1.0 = 100 %
  float centerX = 0.0f, centerY = 0.0f, centerZ = 0.0f;       // pivot in image pixels
  float opacity = 1.0f;                                       // 0..1
  float glossiness = 0.7f;  // read by the lit 3-D drawing path
  int blendMode = 0;        // 0..23
  int samplerState = -1;    // an entry of the shared sampler state list; -1 the default
  bool culling = false;
  int billboard = 0;  // 3 turns the object to face the camera
  // The frame being drawn; its size gives the default view. Not owned.
  Media::RenderBuffer* target = nullptr;
  // The objects whose camera control and group control govern this one, or empty. The
  // group link is declared last so that it is released first.
  std::shared_ptr<Edit::Object> cameraControl;
  std::shared_ptr<Edit::Object> groupControl;
};

}  // namespace Effect
