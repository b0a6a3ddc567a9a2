// The text input's reactions to edits: the per-character switch changes which items the
// setting window shows, and with "オブジェクトの長さを自動調節" the object lasts as long as its
// text takes to appear.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "builtin/input/text_input.h"
#include "builtin/input/text_input_layout.h"
#include "edit/update_section.h"
#include "effect/effect_event_param.h"
#include "effect/media_input_host.h"
#include "effect/movement_registry.h"

namespace Effect {

bool TextInput::editEvent(EffectEventParam& event) {
  switch (event.kind) {
    case EffectEventParam::ItemChanged:
      if (event.item() == &perCharacter) {
        if (event.scope) event.scope->rebuildEffectSetting = true;
        return true;
      }
      cachedName_.reset();
      return fitObjectLength(event);
    case EffectEventParam::StartCut:
    case EffectEventParam::EndCut:
      return fitObjectLength(event);
    default:
      return false;
  }
}

bool TextInput::fitObjectLength(EffectEventParam& event) {
  // Only a speed that stays the same over a single section says how long the text takes.
  if (!autoLength.value || displaySpeed.movement != defaultMovement()) return false;
  MediaInputHost* host = mediaInputHost();
  if (!host || !event.object) return false;
  if (!host->objectFrames(*event.object).midpoints.empty()) return false;

  Layout layout;
  prepareLayout(layout, nullptr);
  const double seconds = layout.draw.time;
  const MediaTime::Timing timing = host->objectTiming(*event.object);
  if (!(seconds > 0.0) || !timing.isUsable()) return false;
  // At least one frame, and no more than a frame number can hold.
  const double frames =
      std::clamp(std::round(seconds * timing.rate / timing.scale), 1.0,
                 static_cast<double>(std::numeric_limits<int32_t>::max()));

  const bool cut = event.kind == EffectEventParam::StartCut || event.kind == EffectEventParam::EndCut;
  if (!cut) host->recordObjectUpdate(event);
  host->markChanged(event, true);
  host->resizeObject(event, static_cast<int32_t>(frames), event.kind == EffectEventParam::StartCut);
  return true;
}

}  // namespace Effect
