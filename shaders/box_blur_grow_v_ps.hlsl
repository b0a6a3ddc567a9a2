// Vertical box pass of the blur: the window that ends at the pixel (the image grows by 2r).
#define BOX_AXIS int2(0, 1)
#define BOX_FIRST -2
#define BOX_LAST 0
#define BOX_CLAMP 0
#include "box_blur_pass.hlsli"
