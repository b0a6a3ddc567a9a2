#include "render/published_group_gains.h"

#include "edit/object.h"
#include "render/control_state.h"

namespace Render {

std::pair<float, float> PublishedGroupGains::gains(const Edit::Object& control,
                                                   const Effect::EffectContext&) const {
  if (control.effects.empty() || !control.effects.front()) return {1.0f, 1.0f};
  const auto* state =
      dynamic_cast<const GroupAudioControlState*>(control.effects.front().get());
  if (!state) return {1.0f, 1.0f};
  return {state->gainLeft, state->gainRight};
}

}  // namespace Render
