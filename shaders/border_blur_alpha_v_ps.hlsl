// Vertical box sum of the alpha.
#define ALPHA_AXIS 1
#include "border_blur_alpha.hlsli"
