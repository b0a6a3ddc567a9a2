#include "effect/effect_item_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "effect/edit_access.h"
#include "effect/effect_context.h"
#include "effect/movement_base.h"
#include "effect/movement_registry.h"
#include "effect/text_conversion.h"
#include "system/exception.h"
#include "system/interpolation.h"
#include "system/text.h"

namespace Effect {

namespace {

constexpr const char* kFromStringPlace = "Effect::EffectItemNumber::fromString";

System::Exception invalidParameter() {
  return System::makeException(kFromStringPlace, "invalid effect parameter.");
}

std::size_t countFields(std::string_view text, char separator) {
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), separator)) + 1;
}

// Calls `action` with every field of `text` split at `separator`, in order.
template <class Action>
void forEachField(std::string_view text, char separator, Action&& action) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    action(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) return;
    start = end + 1;
  }
}

// The group at `index` of a text split at "|", or nothing when the text has fewer groups.
bool findGroup(std::string_view text, std::size_t index, std::string_view& group) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t bar = text.find('|', start);
    if (bar == std::string_view::npos) return false;
    start = bar + 1;
  }
  const std::size_t end = text.find('|', start);
  group = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
  return true;
}

// A group of numbers separated by ",". Too many numbers are refused before any is kept.
std::vector<double> readNumberList(std::string_view group) {
  const std::size_t count = countFields(group, ',');
  if (count > EffectItemNumber::kMaxListCount) throw invalidParameter();
  std::vector<double> numbers;
  numbers.reserve(count);
  forEachField(group, ',', [&](std::string_view field) { numbers.push_back(readDouble(field)); });
  return numbers;
}

// Params and easing-curve numbers as "%f" with trailing zeros removed. A number that is
// not finite (a script may have set one) is written as 0 so that the file stays readable.
void appendNumberList(std::string& text, const std::vector<double>& numbers) {
  text += '|';
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += ',';
    text += System::formatNumber(std::isfinite(numbers[i]) ? numbers[i] : 0.0);
  }
}

// The number of decimals a scale that is a power of ten stands for, or -1.
int powerOfTenDigits(int scale) {
  int digits = 0;
  int64_t power = 1;
  while (power < scale) {
    power *= 10;
    ++digits;
  }
  return power == scale ? digits : -1;
}

// Frames are 32-bit: an instant outside them is brought to the nearest one, and an instant
// that is not a number counts as the object's start.
double sanitizeTime(double time, int start) {
  if (std::isnan(time)) return start;
  return std::clamp(time, static_cast<double>(std::numeric_limits<int>::min()),
                    static_cast<double>(std::numeric_limits<int>::max()));
}

}  // namespace

EffectItemNumber::EffectItemNumber(EffectItemList& items, std::string_view itemName,
                                   double defaultDisplay, double minimumDisplay,
                                   double maximumDisplay, double step)
    : EffectItem(items, ItemType::Number, itemName) {
  int stepScale = roundToInt(1.0 / step);
  if (stepScale < 1) {
    stepScale = 1;
    step = 1.0;
  }
  scale = stepScale;
  defaultValue = roundToInt(defaultDisplay / step);
  minimum = roundToInt(minimumDisplay / step);
  maximum = roundToInt(maximumDisplay / step);
  movement = defaultMovement();
  setMovement(*movement);
}

bool EffectItemNumber::keepsValuePerPoint() const {
  return movement->valueCount < 0 && !(flags & FlagIgnoreMidpoints);
}

void EffectItemNumber::setMovement(const MovementBase& newMovement) {
  movement = &newMovement;
  if (newMovement.valueCount >= 0)
    values.resize(static_cast<std::size_t>(std::max(newMovement.valueCount, 1)), defaultValue);
  else if (values.empty())
    values.push_back(defaultValue);
}

void EffectItemNumber::resizeValues(int pointCount) {
  int target;
  if (movement->valueCount >= 0)
    target = movement->valueCount;
  else if (flags & FlagIgnoreMidpoints)
    target = 2;
  else
    target = pointCount;
  const std::size_t count = static_cast<std::size_t>(std::max(target, 1));
  if (values.empty()) values.push_back(defaultValue);
  const int last = values.back();
  if (values.size() > count) {
    // Removing the second-to-last value until the count fits keeps the first count - 1
    // values and the last.
    values[count - 1] = last;
    values.resize(count);
  } else {
    values.resize(count, last);
  }
}

void EffectItemNumber::updateMovementFlags(const ObjectFrames& object) {
  const int pointCount = static_cast<int>(object.midpoints.size()) + 2;
  int newFlags = flags & ~kFlagMask;
  if (movement->accelerate == MovementBase::OfferedOn) newFlags |= FlagAccelerate;
  if (movement->decelerate == MovementBase::OfferedOn) newFlags |= FlagDecelerate;
  if (movement->ignoreMidpoints >= MovementBase::OfferedOn) newFlags |= FlagIgnoreMidpoints;
  const bool changed = newFlags != flags;
  flags = newFlags;
  if (changed) resizeValues(pointCount);
  timeControl = movement->defaultTimeControl;
  params = movement->defaultParams;
}

const std::vector<double>& EffectItemNumber::getMovementParams() {
  if (params.size() != movement->defaultParams.size()) params = movement->defaultParams;
  return params;
}

void EffectItemNumber::copyTrackSettings(EffectItemNumber& destination) const {
  if (&destination == this) return;
  destination.movement = movement;
  destination.timeControl = timeControl;
  destination.params = params;
  destination.flags = flags;
  destination.values.resize(values.size(), 0);
}

int EffectItemNumber::clampValueIndex(int index) const {
  if (values.empty())
    throw System::makeException("Effect::EffectItemNumber::clampValueIndex",
                                "item value index out of range.");
  if (index <= 0) return 0;
  const int last = static_cast<int>(values.size()) - 1;
  return index >= last ? last : index;
}

double EffectItemNumber::getDisplayValue(int index) const {
  return values[static_cast<std::size_t>(clampValueIndex(index))] / static_cast<double>(scale);
}

int EffectItemNumber::clampStep(double stepValue) const {
  // Not a number counts as 0, as rounding gives it; anything past the range, however far,
  // takes the nearest end of it.
  if (std::isnan(stepValue)) stepValue = 0.0;
  if (stepValue > maximum) return maximum;
  if (stepValue < minimum) return minimum;
  return static_cast<int>(stepValue);
}

int EffectItemNumber::toStepValue(double value) const {
  return clampStep(std::round(scale * value));
}

void EffectItemNumber::setValue(double value, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= values.size()) return;
  values[static_cast<std::size_t>(index)] = toStepValue(value);
}

int EffectItemNumber::valueIndexForPoint(int midpointCount, int pointIndex) const {
  if (values.empty()) return -1;
  const int64_t count = static_cast<int64_t>(values.size());
  if (count < 2 || pointIndex <= 0) return 0;
  if (pointIndex >= midpointCount + 1) return static_cast<int>(count - 1);
  if (count == int64_t{midpointCount} + 2) return pointIndex;
  return -1;
}

void EffectItemNumber::setCurrentValue(const ObjectFrames& object, int pointIndex, double value) {
  const int stepValue = toStepValue(value);
  if (pointIndex == kEveryPoint) {
    std::fill(values.begin(), values.end(), stepValue);
    return;
  }
  const int midpoints = static_cast<int>(object.midpoints.size());
  const int index = valueIndexForPoint(midpoints, pointIndex);
  if (index >= 0) values[static_cast<std::size_t>(index)] = stepValue;
}

bool EffectItemNumber::addValue(const ObjectFrames& object, int pointIndex, double delta) {
  double stepDelta = std::round(scale * delta);
  if (std::isnan(stepDelta)) stepDelta = 0.0;
  const auto add = [&](int& value) {
    const int changed = clampStep(value + stepDelta);
    const bool differs = changed != value;
    value = changed;
    return differs;
  };
  if (pointIndex == kEveryPoint) {
    bool any = false;
    for (int& value : values) any = add(value) || any;
    return any;
  }
  const int midpoints = static_cast<int>(object.midpoints.size());
  const int index = valueIndexForPoint(midpoints, pointIndex);
  return index >= 0 && add(values[static_cast<std::size_t>(index)]);
}

void EffectItemNumber::insertSectionValue(int pointIndex, const SectionValueMap* recorded) {
  if (!keepsValuePerPoint()) return;
  const auto next = [](int index) {
    return index < std::numeric_limits<int>::max() ? index + 1 : index;
  };
  int value = defaultValue;
  int position = clampValueIndex(next(pointIndex));
  if (recorded) {
    const auto found = recorded->find(this);
    if (found != recorded->end()) {
      value = roundToInt(scale * found->second.value);
      if (found->second.pointIndex != -1)
        position = clampValueIndex(next(found->second.pointIndex));
    }
  }
  values.insert(values.begin() + position, value);
}

void EffectItemNumber::setSectionValue(int pointIndex, const SectionValueMap* recorded) {
  if (!keepsValuePerPoint()) return;
  int value = defaultValue;
  if (recorded) {
    const auto found = recorded->find(this);
    if (found != recorded->end()) value = roundToInt(scale * found->second.value);
  }
  values[static_cast<std::size_t>(clampValueIndex(pointIndex))] = value;
}

SectionPosition EffectItemNumber::positionAt(const ObjectFrames& frames, double time) const {
  time = sanitizeTime(time, frames.start);
  if (flags & FlagIgnoreMidpoints) return SectionPosition::wholeObject(frames, time);
  return SectionPosition::calculate(frames, static_cast<int>(time), time);
}

double EffectItemNumber::getValue(const EffectContext& context) const {
  if ((flags & FlagIgnoreMidpoints) && context.object) {
    const SectionPosition whole =
        SectionPosition::wholeObject(context.objectFrames, context.time);
    return movement->getValue(*this, whole, context);
  }
  return movement->getValue(*this, context.sectionPosition, context);
}

double EffectItemNumber::getValueAtFrame(const EffectContext& context, double frame) const {
  if (!context.object) return movement->getValue(*this, context.sectionPosition, context);
  return movement->getValue(*this, positionAt(context.objectFrames, frame), context);
}

double EffectItemNumber::getSectionPosition(const EffectContext& context, double frame) const {
  SectionPosition position = context.sectionPosition;
  if (context.object) position = positionAt(context.objectFrames, frame);
  if (flags & FlagIgnoreMidpoints) return position.objectFraction;
  return position.sectionIndex + position.framesInSection / position.sectionLength;
}

bool EffectItemNumber::isValueEditable(const EffectContext& context) const {
  if (!context.object) return values.size() < 2;
  const ObjectFrames& frames = context.objectFrames;
  const std::size_t midpoints = frames.midpoints.size();
  std::size_t point;
  if (context.frame == frames.end) {
    point = midpoints + 1;
  } else {
    const SectionPosition position =
        SectionPosition::calculate(frames, context.frame, context.frame);
    if (position.framesInSection != 0.0) return values.size() < 2;
    point = static_cast<std::size_t>(position.sectionIndex);
  }
  if (point == 0 || point == midpoints + 1) return true;
  return values.size() <= 1 || values.size() == midpoints + 2;
}

double EffectItemNumber::applyTimeControl(double progress) const {
  const std::size_t count = timeControl.size();
  if (!movement->timeControl || count < 4 || count % 4 != 0) return progress;
  const double* curve = timeControl.data();
  double result;
  if (count == 4) {
    // One segment from (0, 0) to (1, 1) with the inner control points (a, b) and
    // (1 - c, 1 - d).
    const double a = curve[0], b = curve[1], c = curve[2], d = curve[3];
    const double t = System::solveBezierParameter(0.0, a, 1.0 - c, 1.0, progress, 1e-6);
    const double s = 1.0 - t;
    result = 3.0 * t * s * s * b + 3.0 * t * t * s * (1.0 - d) + t * t * t;
  } else {
    // Curve points (x, y) with a handle (dx, dy): the curve leaves a point towards
    // (x + dx, y + dy) and reaches it from (x - dx, y - dy).
    const std::size_t points = count / 4;
    std::size_t k = 1;
    while (k < points && !(progress <= curve[4 * k])) ++k;
    if (k == points) {
      result = curve[4 * (points - 1) + 1];
    } else {
      const double* from = curve + 4 * (k - 1);
      const double* to = curve + 4 * k;
      const double t = System::solveBezierParameter(from[0], from[0] + from[2], to[0] - to[2],
                                                    to[0], progress, 1e-6);
      const double s = 1.0 - t;
      result = s * s * s * from[1] + 3.0 * t * s * s * (from[1] + from[3]) +
               3.0 * t * t * s * (to[1] - to[3]) + t * t * t * to[1];
    }
  }
  return std::isfinite(result) ? result : progress;
}

std::string EffectItemNumber::formatValue(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= values.size())
    throw System::makeException("Effect::EffectItemNumber::clampValueIndex",
                                "item value index out of range.");
  const int64_t value = values[static_cast<std::size_t>(index)];
  const int digits = powerOfTenDigits(scale);
  if (digits < 0) {
    // A step that is not a power of ten (a script's 0.5) has no fixed number of decimals:
    // the display value is written in the shortest form that reads back as the same
    // number, so the stored value survives any number of saves.
    char buffer[64];
    const double display = static_cast<double>(value) / scale;
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, display, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
  }
  std::string text = std::to_string(value < 0 ? -value : value);
  if (digits > 0) {
    const std::size_t width = static_cast<std::size_t>(digits) + 1;
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    text.insert(text.size() - static_cast<std::size_t>(digits), 1, '.');
  }
  if (value < 0) text.insert(0, 1, '-');
  return text;
}

void EffectItemNumber::copyFrom(const EffectItem& other) {
  const auto& source = sameKind<EffectItemNumber>(other);
  values = source.values;
  defaultValue = source.defaultValue;
  minimum = source.minimum;
  maximum = source.maximum;
  scale = source.scale;
  movement = source.movement;
  timeControl = source.timeControl;
  params = source.params;
  flags = source.flags;
}

bool EffectItemNumber::equals(const EffectItem& other) const {
  const auto& source = sameKind<EffectItemNumber>(other);
  // Element by element; a NaN never equals anything.
  return values == source.values && timeControl == source.timeControl && params == source.params &&
         defaultValue == source.defaultValue && minimum == source.minimum &&
         maximum == source.maximum && scale == source.scale && movement == source.movement &&
         flags == source.flags;
}

std::unique_ptr<EffectItem> EffectItemNumber::clone() const {
  return std::make_unique<EffectItemNumber>(*this);
}

std::string EffectItemNumber::toString() const {
  if (movement == defaultMovement()) return formatValue(0);
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += formatValue(static_cast<int>(i));
    text += ',';
  }
  text += movement->name;
  text += ',';
  text += std::to_string(flags);
  // The reader takes the first group after the values as params exactly when the movement
  // has params, so the params group is written exactly then: the params the movement would
  // use (its defaults while the count differs).
  if (!movement->defaultParams.empty())
    appendNumberList(
        text, params.size() == movement->defaultParams.size() ? params : movement->defaultParams);
  if (!timeControl.empty()) appendNumberList(text, timeControl);
  return text;
}

void EffectItemNumber::fromString(std::string_view text) {
  // Everything is read and checked first; the track changes only when the whole text is
  // good, so a failed read leaves it as it was.
  std::string_view firstGroup;
  findGroup(text, 0, firstGroup);
  const std::size_t fieldCount = countFields(firstGroup, ',');

  if (fieldCount < 2) {
    // A single number: a track without movement.
    const int value = toStepValue(readDouble(text));
    movement = defaultMovement();
    timeControl.clear();
    flags = 0;
    resizeValues(1);
    values[0] = value;
    return;
  }

  const std::size_t valueCount = fieldCount - 2;
  if (valueCount == 0 || valueCount > kMaxValueCount) throw invalidParameter();
  const std::size_t flagsComma = firstGroup.rfind(',');
  const std::size_t nameComma = firstGroup.rfind(',', flagsComma - 1);
  const std::string_view movementName =
      firstGroup.substr(nameComma + 1, flagsComma - nameComma - 1);
  const MovementBase* newMovement = MovementRegistry::instance().findMovement(movementName);
  const int newFlags = readInteger(firstGroup.substr(flagsComma + 1)) & kFlagMask;

  // The values the track will keep; the others are still checked to be numbers.
  std::size_t kept;
  if (newMovement->valueCount >= 0)
    kept = static_cast<std::size_t>(std::max(newMovement->valueCount, 1));
  else if (newFlags & FlagIgnoreMidpoints)
    kept = 2;
  else
    kept = valueCount;
  kept = std::min(kept, valueCount);
  std::vector<int> newValues;
  newValues.reserve(kept);
  forEachField(firstGroup.substr(0, nameComma), ',', [&](std::string_view field) {
    const double value = readDouble(field);
    if (newValues.size() < kept) newValues.push_back(toStepValue(value));
  });

  std::vector<double> newParams;
  std::vector<double> newCurve;
  std::string_view group;
  if (findGroup(text, 1, group)) {
    std::size_t next = 1;
    if (!newMovement->defaultParams.empty()) {
      newParams = readNumberList(group);
      next = 2;
    }
    if (newMovement->timeControl && findGroup(text, next, group)) newCurve = readNumberList(group);
  }

  movement = newMovement;
  timeControl = std::move(newCurve);
  params = std::move(newParams);
  flags = newFlags;
  resizeValues(static_cast<int>(valueCount));
  std::copy(newValues.begin(), newValues.end(), values.begin());
}

void EffectItemNumber::loadKvoParameter(std::string_view text, std::string_view, std::string_view,
                                        bool currentForm) {
  if (currentForm) {
    fromString(text);
    return;
  }
  fromString(convertLegacyTrack(text));
}

ControlKind EffectItemNumber::getControlKind() const {
  return visible ? ControlKind::Number : ControlKind::None;
}

EffectItemLayerObject::EffectItemLayerObject(EffectItemList& items, std::string_view itemName,
                                             double defaultDisplay, double minimumDisplay,
                                             double maximumDisplay, double step)
    : EffectItemNumber(items, itemName, defaultDisplay, minimumDisplay, maximumDisplay, step) {}

std::unique_ptr<EffectItem> EffectItemLayerObject::clone() const {
  return std::make_unique<EffectItemNumber>(static_cast<const EffectItemNumber&>(*this));
}

}  // namespace Effect
