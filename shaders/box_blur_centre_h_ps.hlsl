// Horizontal box pass of the blur: the window centred on the pixel, transparent outside.
#define BOX_AXIS int2(1, 0)
#define BOX_FIRST -1
#define BOX_LAST 1
#define BOX_CLAMP 0
#include "box_blur_pass.hlsli"
