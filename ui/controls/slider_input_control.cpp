#include "ui/controls/slider_input_control.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "system/setting_service.h"
#include "ui/controls/bar_part_mouse.h"
#include "ui/controls/control_paint.h"
#include "ui/controls/inner_container.h"
#include "ui/virtual_key.h"

namespace Control {
namespace {

// The step buttons' icons: lines as fractions of the button, 0.15 of its height wide.
constexpr float kMinusLines[] = {0.15f, 0.5f, 0.7f, 0.5f, 0.15f};
constexpr float kPlusLines[] = {0.6f, 0.32f, 0.6f, 0.68f, 0.15f,  //
                                0.28f, 0.5f, 0.92f, 0.5f, 0.15f};

// The widest text a value shows: without room for it beside them, the buttons give way.
constexpr std::string_view kWidestValue = "-999999.000";

constexpr int32_t kGripWidth = 4;
constexpr int32_t kCursorWidth = 4;

// Rounded to the nearest integer, halves away from zero, kept inside the int range.
int32_t roundUnits(double value) {
  constexpr double low = std::numeric_limits<int32_t>::min();
  constexpr double high = std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(std::clamp(std::round(value), low, high));
}

// The next smaller step of the 1-2.5-5 series: half of an even step, a fifth of an odd one.
int32_t smallerStep(int32_t step) { return step % 2 == 0 ? step / 2 : step / 5; }

int32_t screenWidth() {
  const auto* settings = Setting::SettingService::instance();
  return std::max(1, settings ? settings->system.screenWidth : 1920);
}

}  // namespace

SliderInputControl::MoveSetting SliderInputControl::moveSetting;

SliderInputControl::SliderButton::SliderButton(SliderInputControl& owner,
                                               Window::WindowControlContainer& container)
    : ButtonControl(container, 0, 0, 0, 0), owner_(owner) {}

void SliderInputControl::SliderButton::procMouseMove(int32_t, int32_t) {
  if (mouseService) mouseService->setCursor(Window::MouseCursor::Program129);
}

void SliderInputControl::SliderButton::procLButtonDown(int32_t x, int32_t y) {
  owner_.beginChange();
  if (mouseService && mouseService->pressedTarget()) {
    mouseService->beginDrag(x, y,
                            owner_.hidePointerWhileDragging ? Window::MouseCursor::Hidden
                                                            : Window::MouseCursor::PickColor);
  }
  startValue = owner_.value;
  startX = x;
  baseDx_ = 0;
  shiftAtStart = mouseService && mouseService->isKeyDown(Window::VirtualKey::kShift);
  redraw();
}

void SliderInputControl::SliderButton::procMouseDrag(int32_t dx, int32_t) {
  const bool shift = mouseService && mouseService->isKeyDown(Window::VirtualKey::kShift);
  if (shift != shiftAtStart) {
    // Shift pressed or let go: the drag starts again here, so that the value does not jump
    // when the speed changes.
    shiftAtStart = shift;
    startValue = owner_.value;
    startX += dx - baseDx_;
    baseDx_ = dx;
  }
  const int32_t moved = dx - baseDx_;
  int64_t newValue;
  if (shift) {
    newValue = static_cast<int64_t>(startValue) + static_cast<int64_t>(moved) * owner_.coarseStep;
  } else {
    const int32_t units = roundUnits(static_cast<double>(moved) * owner_.unitsPerPixel);
    newValue = static_cast<int64_t>(startValue) + units - units % owner_.fineStep;
  }
  owner_.setFromUser(newValue);
}

bool SliderInputControl::SliderButton::procDragKey(int32_t key) {
  int32_t nudge;
  if (key == Window::VirtualKey::kLeft)
    nudge = -1;
  else if (key == Window::VirtualKey::kRight)
    nudge = 1;
  else
    return false;
  // The drag's start moves with the value, so that the pointer goes on from the nudged value.
  startValue += nudge;
  owner_.setFromUser(static_cast<int64_t>(owner_.value) + nudge);
  return true;
}

void SliderInputControl::SliderButton::procCaptureCancel() {
  owner_.endChange();
  redraw();
}

void SliderInputControl::SliderButton::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  if (!enabled) {
    scope.fillClip(*brushes.Grouping.get());
    return;
  }
  scope.fillClip(dragging  ? *brushes.ButtonBodySelect.get()
                 : hovered ? *brushes.ButtonBodyHover.get()
                           : *brushes.ButtonBody.get());
  const int32_t width = scope.width();
  const int32_t height = scope.height();
  Media::RenderTarget& target = scope.target();
  if (dragging || hovered) {
    if (owner_.valueCursor && owner_.minimum < owner_.maximum && width > 8) {
      const int32_t x = roundUnits(static_cast<double>(owner_.value - owner_.minimum) *
                                   (width - kCursorWidth) / (owner_.maximum - owner_.minimum));
      target.fillRectangle(x, 0, x + kCursorWidth, height, *brushes.SliderCursor.get());
    }
  } else if (width > 8) {
    const Media::Brush& border = *brushes.Border.get();
    if (owner_.leftGrip) {
      target.fillRectangle(0, 0, 2, height, border);
      target.fillRectangle(3, 0, kGripWidth, height, border);
    }
    if (owner_.rightGrip) {
      target.fillRectangle(width - kGripWidth, 0, width - 3, height, border);
      target.fillRectangle(width - 2, 0, width, height, border);
    }
  }
  const bool showZeroText = owner_.value == 0 && !owner_.zeroText.empty();
  const MeasuredText shown = measureText(*owner_.font, showZeroText ? owner_.zeroText : owner_.text);
  scope.drawLayout(shown.layout.get(), (width - shown.width) / 2, (height - shown.height) / 2,
                   *brushes.Text.get());
}

SliderInputControl::SliderInputControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                       int32_t height)
    : WindowControlRenderTarget(parent, x, y, 0, height),
      minimumWidthForButtons(Resource::FontResource::getTextWidth(
          textFormat(Resource::ResourceService::kEditControl), kWidestValue)),
      value(std::numeric_limits<int32_t>::max()),
      font(&textFormat(Resource::ResourceService::kEditControl)),
      partContainer(innerContainer(*this)),
      minusButton(partContainer, IconShape{.lines = kMinusLines}),
      plusButton(partContainer, IconShape{.lines = kPlusLines}),
      dragField(*this, partContainer) {
  for (RepeatClickButtonControl* button : {&minusButton, &plusButton}) {
    button->pressCallback = [this](ButtonControl&) { beginChange(); };
    button->releaseCallback = [this](ButtonControl&) { endChange(); };
  }
  minusButton.clickCallback = [this](ButtonControl&) { setFromUser(value - int64_t{1}); };
  plusButton.clickCallback = [this](ButtonControl&) { setFromUser(value + int64_t{1}); };
  partContainer.updateLayout();
  procMove();
}

void SliderInputControl::setRange(double valueIn, double minimumValue, double maximumValue,
                                  double step) {
  // A step that is not a positive number, or above 1, counts as 1: the scale must be a
  // whole number of units per 1.0 to divide by.
  const bool usable = std::isfinite(step) && step > 0.0 && step <= 1.0;
  const double unit = usable ? step : 1.0;
  defaultValue = roundUnits(valueIn / unit);
  minimum = roundUnits(minimumValue / unit);
  maximum = roundUnits(maximumValue / unit);
  scale = std::max(1, roundUnits(1.0 / unit));
  digits = static_cast<int32_t>(std::floor(std::log10(static_cast<double>(scale)) + 1e-9));
  setValue(valueIn);
  updateMoveSpeed();
}

void SliderInputControl::setValue(double newValue) {
  const int32_t units = limitTo(roundUnits(static_cast<double>(scale) * newValue), minimum,
                                maximum);
  if (units == value) return;
  value = units;
  updateText();
}

void SliderInputControl::updateText() {
  if (value == 0 && !zeroText.empty()) {
    text.clear();
    return;
  }
  const int64_t magnitude = std::abs(static_cast<int64_t>(value));
  std::string digitsText = std::to_string(magnitude);
  if (digits > 0) {
    const auto wanted = static_cast<std::size_t>(digits);
    if (digitsText.size() <= wanted) digitsText.insert(0, wanted - digitsText.size() + 1, '0');
    digitsText.insert(digitsText.size() - wanted, 1, '.');
  }
  text = value < 0 ? "-" + digitsText : digitsText;
}

void SliderInputControl::applyText(std::string_view typed, int32_t offset) {
  beginChange();
  std::string_view number = typed;
  if (!number.empty() && number.front() == '+') number.remove_prefix(1);
  double parsed = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
  int64_t newValue;
  if (error == std::errc() && end != number.data()) {
    newValue = static_cast<int64_t>(offset) + roundUnits(static_cast<double>(scale) * parsed);
  } else if (typed.empty()) {
    newValue = defaultValue;
  } else {
    return;
  }
  newValue = std::clamp<int64_t>(newValue, minimum, std::max(minimum, maximum));
  if (newValue == value) return;
  value = static_cast<int32_t>(newValue);
  updateText();
  if (Callback callback = valueChangedCallback) callback(*this);
}

void SliderInputControl::updateMoveSpeed() {
  double pixels;
  double range;
  if (moveSetting.mode == 0) {
    pixels = 1.0;
    range = scale;
  } else if (moveSetting.mode == 1) {
    pixels = screenWidth();
    range = static_cast<double>(maximum) - minimum;
  } else {
    pixels = std::max(1, visibleRect.width);
    range = static_cast<double>(maximum) - minimum;
  }
  unitsPerPixel = static_cast<float>(std::min(scale * 10.0, range / pixels) * moveSetting.ratio /
                                     100.0);
  fineStep = scale;
  while (fineStep > unitsPerPixel && fineStep > 1) fineStep = std::max(1, smallerStep(fineStep));
  coarseStep = scale;
  while (coarseStep * 10.0f > unitsPerPixel && coarseStep > 1)
    coarseStep = std::max(1, smallerStep(coarseStep));
}

void SliderInputControl::beginChange() {
  if (changing) return;
  changing = true;
  if (Callback callback = changeBeginCallback) callback(*this);
}

void SliderInputControl::endChange() {
  if (!changing) return;
  changing = false;
  if (Callback callback = changeEndCallback) callback(*this);
}

void SliderInputControl::setFromUser(int64_t newValue) {
  newValue = std::clamp<int64_t>(newValue, minimum, std::max(minimum, maximum));
  if (newValue == value) return;
  value = static_cast<int32_t>(newValue);
  updateText();
  dragField.redraw();
  if (Callback callback = valueChangedCallback) callback(*this);
}

void SliderInputControl::procMove() {
  const int32_t half = fullRect.height / 2;
  const bool shown =
      !noStepButtons &&
      (alwaysShowStepButtons ||
       fullRect.width >= static_cast<int32_t>(minimumWidthForButtons) + 2 * half);
  minusButton.visible = plusButton.visible = shown;
  if (shown) {
    minusButton.layoutX = 0;
    minusButton.layoutW = half;
    plusButton.layoutX = -half;
    plusButton.layoutW = half;
    dragField.layoutX = half;
    dragField.layoutW = -half;
  } else {
    dragField.layoutX = 0;
    dragField.layoutW = 0;
  }
  partContainer.updateLayout();
  updateMoveSpeed();
}

void SliderInputControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  for (Window::WindowControl* part : partContainer.children) part->procPaint();
}

}  // namespace Control
