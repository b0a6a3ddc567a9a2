#pragma once
// Whether an object's quad is drawn at no more than one texel per pixel everywhere, found
// once per draw on the CPU, so that the draw can take the flat shader's single-sample variant
// instead of testing every pixel's footprint on the GPU; and whether every pixel centre falls
// on a texel centre, where a filtered sample is the texel itself.
#include <cstdint>

namespace Render {

// `projection` holds the rows the 3-D vertex shaders dot with (x, y, z, 1); the quad spans
// (-halfWidth, -halfHeight) to (halfWidth, halfHeight) in the plane z = 0, with texture
// coordinates 0 to 1 over a texture of textureWidth x textureHeight, drawn into a target of
// targetWidth x targetHeight. True only when the quad keeps its depth across the screen (no
// perspective foreshortening, so the footprint is the same at every pixel), lies in front of
// the eye, and each pixel covers at most one texel along each axis, with margin left below the
// threshold at which the flat shader starts taking several samples.
bool mapsAtMostOneTexel(const float projection[16], float halfWidth, float halfHeight,
                        uint32_t textureWidth, uint32_t textureHeight, int32_t targetWidth,
                        int32_t targetHeight);

// The same arguments. True only when the quad keeps its depth across the screen, lies in front
// of the eye, runs along the screen's axes at one texel per pixel (mirrored or not) and has its
// corners on pixel corners, all within a thousandth of a pixel: then every pixel centre inside
// the quad samples a texel centre, and none samples beyond the texture's edge.
bool landsOnTexelCentres(const float projection[16], float halfWidth, float halfHeight,
                         uint32_t textureWidth, uint32_t textureHeight, int32_t targetWidth,
                         int32_t targetHeight);

}  // namespace Render
