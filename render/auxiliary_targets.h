#pragma once
// The frame bound as render target with its first 3-D buffers as unordered-access views 1
// and up: 3 for drawing with depth (depth 1, colour 1, depth 2), 5 for the lit path (colour 2
// and 3 as well). The views live, and stay bound, as long as the object.
#include <array>
#include <memory>

namespace Media {
class RenderBuffer;
class UnorderedAccessView;
}  // namespace Media

namespace Render {

class AuxiliaryTargets {
 public:
  AuxiliaryTargets(Media::RenderBuffer& frame, int count);
  AuxiliaryTargets(const AuxiliaryTargets&) = delete;
  AuxiliaryTargets& operator=(const AuxiliaryTargets&) = delete;

 private:
  std::array<std::shared_ptr<const Media::UnorderedAccessView>, 5> views_;
};

}  // namespace Render
