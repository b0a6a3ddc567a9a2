// Feeds arbitrary texts to a number item's track reader, as project files that users share
// may hold them. A text either reads, or fails with its error and leaves the track as it
// was. A track that read writes a text that reads back into a fresh track as the same text
// and values, and its values, wherever they are evaluated, are finite numbers.
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect_context.h"
#include "effect/effect_item_number.h"
#include "effect/movement_base.h"
#include "effect/movement_registry.h"
#include "effect/effect_test_support.h"
#include "effect/section_position.h"
#include "system/log.h"

namespace {

using namespace Effect;

// Kinds with time control and with params, so that every group of a track text is read.
class FuzzMove : public MovementBase {
 public:
  FuzzMove(const char* name, std::vector<double> params) : MovementBase(name, -1) {
    timeControl = true;
    defaultParams = std::move(params);
  }
  double getValue(const EffectItemNumber& track, const SectionPosition& position,
                  const EffectContext&) const override {
    return track.getDisplayValue(position.sectionIndex) *
           track.applyTimeControl(position.objectFraction);
  }
};

struct Config {
  double defaultValue, minimum, maximum, step;
};
const Config kConfigs[] = {
    {1.5, -10, 10, 0.01},        {100, -2000, 2000, 1}, {0.5, -100, 100, 0.5},
    {0, -1000, 1000, 1.0 / 3.0}, {0.25, -5, 5, 0.001},  {0, 0, 0, 0.05},
};

std::unique_ptr<EffectItemNumber> makeTrack(EffectItemList& items, const Config& config) {
  return std::make_unique<EffectItemNumber>(items, "X", config.defaultValue, config.minimum,
                                            config.maximum, config.step);
}

bool read(EffectItemNumber& track, std::string_view text) {
  try {
    track.fromString(text);
    return true;
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  } catch (const std::runtime_error&) {  // "invalid effect parameter.", "not found movement."
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    System::Log::setOutput(System::Log::discardOutput);
    auto& registry = MovementRegistry::instance();
    registry.registerMovement(std::make_shared<FuzzMove>("時間制御", std::vector<double>{}));
    registry.registerMovement(std::make_shared<FuzzMove>("設定付き", std::vector<double>{15, 2}));
    return true;
  }();
  (void)ready;
  if (size == 0) return 0;
  const Config& config = kConfigs[data[0] % std::size(kConfigs)];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  EffectItemList items;
  const auto track = makeTrack(items, config);
  const auto before = track->clone();
  if (!read(*track, text)) {
    if (!track->equals(*before)) __builtin_trap();
    return 0;
  }

  const std::string written = track->toString();
  const auto fresh = makeTrack(items, config);
  if (!read(*fresh, written)) __builtin_trap();
  if (fresh->toString() != written || fresh->values != track->values) __builtin_trap();

  // Evaluated anywhere in or around the object, the track gives finite values.
  EffectContext context;
  TestSupport::setFakeObject(context, TestSupport::makeObject(0, 40, {10, 20, 30}));
  for (double frame : {-5.0, 0.0, 9.5, 20.0, 33.25, 40.0, 1e9}) {
    if (!std::isfinite(track->getValueAtFrame(context, frame))) __builtin_trap();
    if (!std::isfinite(track->applyTimeControl(frame / 40.0))) __builtin_trap();
  }
  return 0;
}
