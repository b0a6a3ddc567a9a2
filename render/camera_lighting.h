#pragma once
// The lighting composition that closes a camera range whose frame has lights: the kept
// normals of the opaque surface and of the transparent layer are lit by the frame's light
// list, and the light multiplies what was drawn there (colour only; alpha stays).
#include <array>
#include <span>

#include "effect/output_draw_constants.h"
#include "system/xmath.h"

namespace Media {
class RenderBuffer;
struct LightSource;
}  // namespace Media

namespace Render {

// The lighting constants of a frame's light list: at most the first eight lights, their
// count, and the ambient term (the ambient lights' colours plus the product of every used
// light's unlit share).
Effect::OutputDraw::LightConstants makeFrameLightConstants(
    std::span<const Media::LightSource> lights);

// `rays` are the unit rays from the camera's image-plane corners towards its eye, in the
// order top-left, top-right, bottom-right, bottom-left (CameraGeometry::cornerRays). Uses
// at most the first eight lights. Nothing happens for a frame without lights or texture.
// Leaves no render target and no input bound.
void drawCameraQuads(Media::RenderBuffer& frame, const std::array<XMath::Vector, 4>& rays);

}  // namespace Render
