#pragma once
// The light records the camera lights append to the frame's light list, computed from the
// lights' values at the frame (kept apart from the effects so the numbers can be checked
// without a frame).
#include "gpu/render_buffer.h"

namespace Effect::CameraLightRecord {

// A parallel light: the unit direction towards it from latitude, longitude and tilt in
// degrees (all 0: from the -z side, where the default camera stands); brightness in
// percent; colour 0xRRGGBB. The colour is scaled by the brightness and the fourth component
// is the share left unlit, 1 - brightness, never below 0.
Media::LightSource parallel(float latitude, float longitude, float tilt, float brightness,
                            uint32_t rgb);
// An ambient light: the colour scaled by the brightness, nothing left unlit.
Media::LightSource ambient(float brightness, uint32_t rgb);

}  // namespace Effect::CameraLightRecord
