#pragma once
// The scene's edit camera: where the preview's scene camera stands and what it looks at.
// Only the six coordinates are stored in the project file; the further values belong to
// the preview's camera handling.
#include <array>
#include <string>
#include <string_view>

namespace Edit {

class CameraView {
 public:
  // Eye x, y, z, then 1.
  std::array<float, 4> eye{0.0f, 0.0f, -1024.0f, 1.0f};
  // Target x, y, z, then 1.
  std::array<float, 4> target{0.0f, 0.0f, 0.0f, 1.0f};
  std::array<float, 6> extra{0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1024.0f};

  // Empty for the default position; otherwise the six coordinates (eye, then target) as
  // "%f" texts joined by ",".
  std::string toString() const;
  // Reads six comma-separated coordinates in turn; a part that is not a finite number ends
  // the reading (the values already read stay). Any other number of parts changes nothing.
  void fromString(std::string_view text);
};

}  // namespace Edit
