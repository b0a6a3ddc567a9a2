#include "render/auxiliary_targets.h"

#include <algorithm>

#include "gpu/direct3d_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource_buffer.h"
#include "gpu/texture_view.h"

namespace Render {

AuxiliaryTargets::AuxiliaryTargets(Media::RenderBuffer& frame, int count) {
  count = std::clamp(count, 0, static_cast<int>(views_.size()));
  Media::ResourceBuffer* const buffers[5] = {
      frame.getOitDepthBuffer1(), frame.getOitColorBuffer1(), frame.getOitDepthBuffer2(),
      count > 3 ? frame.getOitColorBuffer2() : nullptr,
      count > 3 ? frame.getOitColorBuffer3() : nullptr};
  const Media::UnorderedAccessView* bound[5] = {};
  for (int i = 0; i < count; ++i) {
    views_[static_cast<std::size_t>(i)] = buffers[i]->createUnorderedAccessView();
    bound[i] = views_[static_cast<std::size_t>(i)].get();
  }
  Media::Direct3DService::Get().setRenderTargetAndUnorderedAccess(
      frame, static_cast<uint32_t>(count), bound);
}

}  // namespace Render
