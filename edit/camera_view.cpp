#include "edit/camera_view.h"

#include <cmath>
#include <vector>

#include "system/ini_file.h"
#include "system/text.h"

namespace Edit {

namespace {

constexpr std::array<float, 6> kDefaultCoordinates{0.0f, 0.0f, -1024.0f, 0.0f, 0.0f, 0.0f};

}  // namespace

std::string CameraView::toString() const {
  const std::array<float, 6> coordinates{eye[0], eye[1], eye[2], target[0], target[1], target[2]};
  if (coordinates == kDefaultCoordinates) return {};
  std::string text;
  for (std::size_t i = 0; i < coordinates.size(); ++i) {
    if (i) text += ',';
    text += System::formatFixed(coordinates[i]);
  }
  return text;
}

void CameraView::fromString(std::string_view text) {
  const std::vector<std::string> parts = System::splitByChar(text, ',');
  if (parts.size() != 6) return;
  float* const destinations[6] = {&eye[0], &eye[1], &eye[2], &target[0], &target[1], &target[2]};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const auto value = System::IniFile::parseFloat(parts[i]);
    if (!value || !std::isfinite(*value)) return;
    *destinations[i] = *value;
  }
}

}  // namespace Edit
