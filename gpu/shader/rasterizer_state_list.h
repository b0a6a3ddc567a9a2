#pragma once
// The 3 rasterizer states of the program, by number: 0 solid without culling (the
// full-target quads), 1 solid with back faces culled, 2 wireframe. Made at first use.
#include <array>
#include <mutex>
#include <cstddef>
#include <memory>

#include "gpu/com_resource.h"
#include "gpu/shader/pipeline_state.h"

namespace Media {
template <>
struct ComResourceTraits<RasterizerState> {
  static constexpr const char* name = "struct ID3D11RasterizerState";
  using Deleter = std::default_delete<RasterizerState>;
};
}  // namespace Media

namespace Shader {

class RasterizerStateList {
 public:
  static constexpr std::size_t kCount = 3;

  RasterizerStateList();
  RasterizerStateList(const RasterizerStateList&) = delete;
  RasterizerStateList& operator=(const RasterizerStateList&) = delete;
  // Releases every created state and destroys every generator, last entry first.
  ~RasterizerStateList();

  Media::RasterizerState* get(std::size_t index);
  Media::ComResource<Media::RasterizerState>& entry(std::size_t index);
  static const Media::RasterizerDescription& description(std::size_t index);

 private:
  // The quad draws of every render thread share the list: an entry is made once, under
  // the lock, never twice with one copy freed under a thread that is binding it.
  std::mutex mutex_;
  std::array<Media::ComResource<Media::RasterizerState>, kCount> entries_;
};

}  // namespace Shader
