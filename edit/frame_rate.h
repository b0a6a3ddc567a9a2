#pragma once
// Frame rates as numbers (frames per second) and as the rate / scale pair a scene stores.
//
// The [FrameRate] section of system.conf names the pairs of the usual rates ("29.97" is
// 30000/1001); a number it does not name becomes the exact decimal fraction of at most six
// decimals, reduced by tens only (29.97 gives 2997/100). Both directions read the settings
// store without changing it, so they may run on any thread while no dialog edits the file.
#include <cstdint>

namespace Edit {

// The pair of `fps`, stored in rate and scale. A rate that is not a number, zero, negative or
// beyond the 32-bit range gives no pair: false, and rate and scale are left as they were.
bool frameRateFromValue(int32_t& rate, int32_t& scale, double fps);
// The number of the pair: the [FrameRate] entry that names it, else rate / scale. A pair
// that is not a frame rate (zero or negative rate or scale) gives 0.
double frameRateToValue(int32_t rate, int32_t scale);

}  // namespace Edit
