#pragma once
// The 21 blend states of the program, by number. Entry 0 is the premultiplied "over" that
// objects are drawn with, entry 3 no blending (the default of the shader draws); entries 4
// to 6 mix by the pixel shader's second output (dual-source blending). Each state is made
// at its first use and kept as long as the list.
#include <array>
#include <mutex>
#include <cstddef>
#include <memory>

#include "gpu/com_resource.h"
#include "gpu/shader/pipeline_state.h"

namespace Media {
template <>
struct ComResourceTraits<BlendState> {
  static constexpr const char* name = "struct ID3D11BlendState";
  using Deleter = std::default_delete<BlendState>;
};
}  // namespace Media

namespace Shader {

class BlendStateList {
 public:
  static constexpr std::size_t kCount = 21;

  BlendStateList();
  BlendStateList(const BlendStateList&) = delete;
  BlendStateList& operator=(const BlendStateList&) = delete;
  // Releases every created state and destroys every generator, last entry first.
  ~BlendStateList();

  // The state of an entry, made on first use. An index beyond the list throws.
  Media::BlendState* get(std::size_t index);
  Media::ComResource<Media::BlendState>& entry(std::size_t index);

  // The description an entry is made from.
  static const Media::BlendDescription& description(std::size_t index);

 private:
  // The quad draws of every render thread share the list: an entry is made once, under
  // the lock, never twice with one copy freed under a thread that is binding it.
  std::mutex mutex_;
  std::array<Media::ComResource<Media::BlendState>, kCount> entries_;
};

}  // namespace Shader
