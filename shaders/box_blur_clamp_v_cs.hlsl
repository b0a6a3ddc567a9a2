// Vertical box pass of the blur: the window centred on the pixel, edge texels repeated.
#define BOX_AXIS int2(0, 1)
#define BOX_FIRST -1
#define BOX_LAST 1
#define BOX_CLAMP 1
#include "box_blur_walk.hlsli"
