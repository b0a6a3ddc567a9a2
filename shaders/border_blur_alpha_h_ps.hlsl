// Horizontal box sum of the alpha.
#define ALPHA_AXIS 0
#include "border_blur_alpha.hlsli"
